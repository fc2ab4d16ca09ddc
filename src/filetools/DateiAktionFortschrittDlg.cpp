#include "DateiAktionFortschrittDlg.h"

#include <objbase.h>

#include "FileToolsCodes.h"
#include "foundation/ShellLink.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

bool IsAbsolute(const std::wstring& name) {
    return (name.size() >= 3 && name[1] == L':' && name[2] == L'\\') || StartsWith(name, L"\\\\");
}

bool NameTaken(const std::wstring& path) { return FileExists(path) || DirectoryExists(path); }

}  // namespace

TDateiAktionFortschrittDlg::TDateiAktionFortschrittDlg(TComponent* Owner, TDateiRoutinen& Routinen)
    : TPositionsDialog(Owner, L""), Aktion(this), FileLabel(this), ProgressBar(this), CancelBtn(this),
      m_routinen(Routinen) {
    SetCaption(L"Fortschritt beim Verknüpfungen erstellen");
    TDialogLayout lay(*this);
    lay.Place(Aktion, 6, 6, 220, 9);
    lay.Place(FileLabel, 6, 18, 220, 9);
    lay.Place(ProgressBar, 6, 30, 220, 10);
    CancelBtn.SetCaption(L"Abbrechen");
    CancelBtn.Cancel = true;
    lay.Place(CancelBtn, 91, 46, 50, 14);
    lay.SetClientSize(*this, 232, 66);
    ProgressBar.Step = 1;
    OnActivate = bind(this, &TDateiAktionFortschrittDlg::FormActivate);
    CancelBtn.OnClick = bind(this, &TDateiAktionFortschrittDlg::CancelBtnClick);
}

TDateiAktionFortschrittDlg::~TDateiAktionFortschrittDlg() { *m_alive = false; }

void TDateiAktionFortschrittDlg::SetLinkJob(const std::wstring& Source, const std::wstring& TargetFolder,
                                            const TDateiListe& List) {
    m_source = Source;
    m_target = TargetFolder;
    m_list = &List;
    ProgressBar.SetMax(static_cast<int>(List.size()));
    ProgressBar.SetPosition(0);
}

void TDateiAktionFortschrittDlg::CreateLinks(const std::wstring& Source, const std::wstring& TargetFolder,
                                             const TDateiListe& List) {
    SetLinkJob(Source, TargetFolder, List);
    m_stop = false;
    m_pending = true;
    ShowModal();
    m_list = nullptr;
}

void TDateiAktionFortschrittDlg::SetSplitJob(const TEineDatei& Datei, std::int32_t Fragment) {
    m_datei = Datei;
    m_fragment = Fragment;
}

void TDateiAktionFortschrittDlg::SplitFile(const TEineDatei& Datei, std::int32_t Fragment) {
    SetMode(1);
    SetSplitJob(Datei, Fragment);
    m_stop = false;
    m_pending = true;
    ShowModal();
    SetMode(0);
}

void TDateiAktionFortschrittDlg::FormActivate(TObject*) {
    if (!m_pending) return;
    m_pending = false;
    // The job runs from the message loop, not inside the activation.
    std::weak_ptr<bool> alive = m_alive;
    Application->Post([this, alive] {
        if (alive.expired()) return;
        m_running = true;
        if (m_mode == 1)
            RunSplit();
        else
            RunLinks();
        m_running = false;
        Close();
    });
}

void TDateiAktionFortschrittDlg::CancelBtnClick(TObject*) {
    m_stop = true;
    // Without a job under way there is nothing to wait for.
    if (!m_running && !m_pending) Close();
}

std::wstring TDateiAktionFortschrittDlg::LinkTarget(const std::wstring& Source, const std::wstring& RecordName) {
    if (IsAbsolute(RecordName) || Source.empty()) return RecordName;
    return IncludeTrailingBackslash(Source) + RecordName;
}

std::wstring TDateiAktionFortschrittDlg::LinkName(const std::wstring& Folder, const std::wstring& RecordName) {
    std::wstring base = ExtractFileName(ExcludeTrailingBackslash(RecordName));
    base = base.substr(0, base.find(L'.'));
    if (base.empty()) base = L"Verknüpfung";
    std::wstring name = base + L".lnk";
    for (int n = 2; NameTaken(Folder + name); ++n) name = base + L" (" + std::to_wstring(n) + L").lnk";
    return name;
}

void TDateiAktionFortschrittDlg::RunLinks() {
    Fehlercode = fc::LinksErstellen;
    const HRESULT ole = CoInitialize(nullptr);
    if (FAILED(ole) && ole != RPC_E_CHANGED_MODE) {
        MessageDlg(L"Es konnte keine Verknüpfung erstellt werden, da keine Ole-Bibliothek gefunden wurde.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Fehlercode = 0;
        return;
    }
    SetCaption(L"Fortschritt beim Verknüpfungen erstellen");
    Aktion.SetCaption(L"Dateien werden verknüpft...");
    MakeLinks();
    if (SUCCEEDED(ole)) CoUninitialize();
    Fehlercode = 0;
}

void TDateiAktionFortschrittDlg::MakeLinks() {
    Application->ProcessMessages();
    if (m_stop || !m_list) return;
    const std::wstring target = IncludeTrailingBackslash(m_target);
    if (!DirectoryExists(target)) {
        if (MessageDlg(L"Das angegebene Zielverzeichnis existiert nicht! Soll es erstellt werden?",
                       TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}) == mrYes)
            m_routinen.CreateDirectory(ExcludeTrailingBackslash(target));
        if (!DirectoryExists(target)) return;
    }
    for (const auto& record : *m_list) {
        if (m_stop) break;
        const std::wstring name = LinkName(target, record->Name);
        ProgressBar.StepIt();
        FileLabel.SetFileName(SystemLower(target + name));
        if (!CreateShellLink(LinkTarget(m_source, record->Name), target + name, L"Verknüpfung mit " + record->Name))
            MessageDlg(L"Mit der Datei " + SystemLower(record->Name) + L" konnte keine Verknüpfung erstellt werden!",
                       TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Application->ProcessMessages();
    }
}

// ---- Split

namespace {

constexpr std::size_t kBlock = 102400;

class THandle {
public:
    explicit THandle(HANDLE h = INVALID_HANDLE_VALUE) : m_h(h) {}
    ~THandle() { Close(); }
    THandle(const THandle&) = delete;
    THandle& operator=(const THandle&) = delete;
    HANDLE Get() const { return m_h; }
    bool Valid() const { return m_h != INVALID_HANDLE_VALUE; }
    void Close() {
        if (Valid())
            CloseHandle(m_h);
        m_h = INVALID_HANDLE_VALUE;
    }

private:
    HANDLE m_h;
};

std::wstring MitZaehler(const std::wstring& fullName, int counter) {
    const size_t nameStart = fullName.find_last_of(L"\\:") + 1;
    const size_t dot = fullName.rfind(L'.');
    const std::wstring number = std::to_wstring(counter);
    if (dot == std::wstring::npos || dot < nameStart)
        return fullName + number;
    return fullName.substr(0, dot) + number + fullName.substr(dot);
}

std::vector<std::wstring> NamenIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    const HANDLE find = FindFirstFileW((folder + L"*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE)
        return names;
    do names.push_back(found.cFileName);
    while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
}

}  // namespace

std::int64_t TDateiAktionFortschrittDlg::Teile(std::int64_t Size, std::int32_t Fragment) {
    if (Fragment < 1 || Size < 0)
        return 0;
    return Size / Fragment + (Size % Fragment ? 1 : 0);
}

std::wstring TDateiAktionFortschrittDlg::TeilBasis(const std::wstring& FullName, const std::vector<std::wstring>& Names) {
    // Only a name longer than "<base>." counts: the source itself is no piece.
    auto taken = [&](const std::wstring& base) {
        const std::wstring prefix = SystemLower(ExtractFileName(base)) + L".";
        return std::any_of(Names.begin(), Names.end(), [&](const std::wstring& name) {
            return name.size() > prefix.size() && StartsWith(SystemLower(name), prefix);
        });
    };
    std::wstring base = FullName;
    for (int counter = 1; taken(base); ++counter) base = MitZaehler(FullName, counter);
    return base;
}

void TDateiAktionFortschrittDlg::Fortschritt() {
    const DWORD now = GetTickCount();
    if (now - m_letzteAnzeige < 20)
        return;
    m_letzteAnzeige = now;
    ProgressBar.SetPosition(m_schritte);
    FileLabel.SetFileName(SystemLower(m_teil));
    Application->ProcessMessages();
}

bool TDateiAktionFortschrittDlg::TeilSchreiben(HANDLE Quelle, const std::wstring& Name, std::int64_t Bytes,
                                               std::vector<char>& Puffer, bool& Fehler) {
    THandle piece(CreateFileW(Name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!piece.Valid()) {
        Fehler = true;
        return false;
    }
    m_teil = Name;
    Fortschritt();
    bool whole = true;
    while (Bytes > 0) {
        if (m_stop) {
            whole = false;
            break;
        }
        const DWORD want = static_cast<DWORD>(std::min<std::int64_t>(Bytes, kBlock));
        DWORD read = 0, written = 0;
        // The source may have shrunk since the size was taken: a piece is whole or gone.
        if (!ReadFile(Quelle, Puffer.data(), want, &read, nullptr) || read != want ||
            !WriteFile(piece.Get(), Puffer.data(), read, &written, nullptr) || written != read) {
            Fehler = true;
            whole = false;
            break;
        }
        Bytes -= read;
        ++m_schritte;
        Fortschritt();
        if (OnBlockGeschrieben)
            OnBlockGeschrieben();
    }
    piece.Close();
    if (!whole)
        DeleteFileW(Name.c_str());
    return whole;
}

void TDateiAktionFortschrittDlg::RunSplit() {
    Fehlercode = fc::DateiTeilen;
    SetCaption(L"Fortschritt beim Datei teilen");
    Aktion.SetCaption(L"Datei wird aufgeteilt...");
    const std::int64_t teile = Teile(m_datei.Size, m_fragment);
    if (teile < 1) {
        Fehlercode = 0;
        return;
    }
    if (teile >= 1000) {
        MessageDlg(L"Die Datei ist zu groß oder die Fragmentgröße zu klein um in weniger als 1000 Teile zerlegt zu "
                   L"werden.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Fehlercode = 0;
        return;
    }
    const std::wstring base = TeilBasis(m_datei.Name, NamenIn(ExtractFilePath(m_datei.Name)));
    const std::int64_t blocksProTeil = (m_fragment + static_cast<std::int64_t>(kBlock) - 1) / kBlock;
    ProgressBar.SetMax(static_cast<int>(std::min<std::int64_t>(teile * blocksProTeil, 0x7FFFFFFF)));
    ProgressBar.SetPosition(0);
    m_schritte = 0;
    m_letzteAnzeige = GetTickCount();
    THandle quelle(CreateFileW(m_datei.Name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!quelle.Valid()) {
        MessageDlg(L"Beim Einlesen der zu teilenden Datei ist ein Fehler aufgetreten.", TMsgDlgType::mtWarning,
                   {TMsgDlgBtn::mbOK});
        Fehlercode = 0;
        return;
    }
    std::vector<char> puffer(kBlock);
    bool fehler = false;
    std::int64_t rest = m_datei.Size;
    for (std::int64_t i = 0; i < teile; ++i) {
        if (m_stop)
            break;
        const std::int64_t bytes = std::min<std::int64_t>(rest, m_fragment);
        if (!TeilSchreiben(quelle.Get(), base + L"." + std::to_wstring(i), bytes, puffer, fehler))
            break;
        rest -= bytes;
    }
    ProgressBar.SetPosition(m_schritte);
    FileLabel.SetFileName(SystemLower(m_teil));
    if (fehler && !m_stop)
        MessageDlg(L"Beim Teilen der Datei\r\n\"" + SystemLower(m_datei.Name) + L"\"\r\nist ein Fehler aufgetreten.",
                   TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
    Fehlercode = 0;
}

}  // namespace velmora
