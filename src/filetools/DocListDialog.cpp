#include "DocListDialog.h"

#include <shlobj.h>

#include "DateiRoutinen.h"
#include "ExittoolsDialog.h"
#include "FileToolsCodes.h"
#include "foundation/DefaultUserStore.h"
#include "foundation/ShellLink.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/gui/OpenDialog.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

const wchar_t kPellwick[] = L"Pellwick.exe";
const wchar_t kWaechterLink[] = L"Überwachung der Dokumentenliste.lnk";
const wchar_t kAktiv[] = L"DocListActive";

std::wstring Sonderordner(int Csidl) {
    wchar_t path[MAX_PATH] = {};
    if (!SHGetSpecialFolderPathW(nullptr, path, Csidl, FALSE) || !path[0]) return {};
    return IncludeTrailingBackslash(path);
}

std::wstring AusStrRet(STRRET& Ret, PCUITEMID_CHILD Item) {
    switch (Ret.uType) {
    case STRRET_WSTR: {
        std::wstring result = Ret.pOleStr ? Ret.pOleStr : L"";
        CoTaskMemFree(Ret.pOleStr);
        return result;
    }
    case STRRET_OFFSET: return FromLatin1(reinterpret_cast<const char*>(Item) + Ret.uOffset);
    case STRRET_CSTR: return FromLatin1(Ret.cStr);
    }
    return {};
}

template <class T>
struct TCom {
    T* p = nullptr;
    ~TCom() {
        if (p) p->Release();
    }
};

// Handed over in the ANSI form: this Wine reads a wide path as a narrow one and
// links the shortcut to its first letter.
void ZuDenDokumenten(const std::wstring& Datei) {
    const int size = WideCharToMultiByte(CP_ACP, 0, Datei.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return;
    std::string ansi(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, Datei.c_str(), -1, ansi.data(), size, nullptr, nullptr);
    SHAddToRecentDocs(SHARD_PATHA, ansi.c_str());
}

}  // namespace

TDocListDlg::TDocListDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L"DocList"), Label1(this), Dateiliste(this), Button1(this), Button2(this),
      Button3(this), Button4(this), Button5(this), Button6(this), AddMenu(this), StandardOeffnen(this),
      Sammelkorbinhalt(this), CheckBox1(this), OKBtn(this), CancelBtn(this), HilfeBtn(this), Timer(this),
      m_kontext(Kontext), m_icons(this) {
    SetCaption(L"Dokumentenliste bearbeiten");
    m_ole = SUCCEEDED(OleInitialize(nullptr));
    TDialogLayout lay(*this);
    Label1.SetCaption(L"Zuletzt &benutzte Dokumente:");
    Label1.SetFocusControl(&Dateiliste);
    lay.Place(Label1, 6, 6, 160, 10);
    Dateiliste.SetViewStyle(TViewStyle::vsList);
    Dateiliste.MultiSelect = true;
    Dateiliste.ReadOnly = true;
    SHFILEINFOW info{};
    const auto system = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoW(L"C:\\", 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (system) {
        m_icons.SetHandle(system, true);
        Dateiliste.SmallImages = &m_icons;
    }
    lay.Place(Dateiliste, 6, 18, 180, 150);
    struct {
        TButton* Knopf;
        const wchar_t* Text;
        const wchar_t* Hint;
    } const knoepfe[] = {
        {&Button1, L"Dokument(e) hinzuf&ügen", L"Fügt der Liste Dokumente hinzu (rechte Maustaste: Auswahl der Quelle)"},
        {&Button2, L"Dokument(e) &löschen", L"Entfernt die markierten Dokumente aus der Liste"},
        {&Button3, L"Dokument(e) &schützen", L"Schützt die markierten Dokumente davor, aus der Liste zu verschwinden"},
        {&Button4, L"Liste &wiederherstellen", L"Stellt die Liste wieder her, wie sie beim Öffnen des Dialogs war"},
        {&Button5, L"Schutz &aufheben", L"Hebt den Schutz aller Dokumente auf"},
        {&Button6, L"Geschützte &zeigen", L"Markiert die geschützten Dokumente"},
    };
    int y = 18;
    for (const auto& k : knoepfe) {
        k.Knopf->SetCaption(k.Text);
        k.Knopf->Hint = k.Hint;
        k.Knopf->ShowHint = true;
        lay.Place(*k.Knopf, 192, y, 90, 14);
        y += 18;
    }
    StandardOeffnen.SetCaption(L"Standard-&Öffnendialog");
    Sammelkorbinhalt.SetCaption(L"&Sammelkorbinhalt");
    AddMenu.Items().Add(&StandardOeffnen);
    AddMenu.Items().Add(&Sammelkorbinhalt);
    Button1.PopupMenu = &AddMenu;
    CheckBox1.SetCaption(L"Dokumentenliste &deaktivieren");
    lay.Place(CheckBox1, 192, y + 4, 112, 10);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(154, 176, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 310, 196);
    SetHelpContextAll(60);
    Timer.SetEnabled(false);
    Timer.SetInterval(1000);
    m_recent = Sonderordner(CSIDL_RECENT);

    OnShow = bind(this, &TDocListDlg::FormShow);
    Button1.OnClick = bind(this, &TDocListDlg::Button1Click);
    StandardOeffnen.OnClick = bind(this, &TDocListDlg::Button1Click);
    Sammelkorbinhalt.OnClick = bind(this, &TDocListDlg::SammelkorbinhaltClick);
    Timer.OnTimer = bind(this, &TDocListDlg::TimerTimer);
    Button2.OnClick = bind(this, &TDocListDlg::Button2Click);
    Button3.OnClick = bind(this, &TDocListDlg::Button3Click);
    Button4.OnClick = bind(this, &TDocListDlg::Button4Click);
    Button5.OnClick = bind(this, &TDocListDlg::Button5Click);
    Button6.OnClick = bind(this, &TDocListDlg::Button6Click);
    CheckBox1.OnClick = bind(this, &TDocListDlg::CheckBox1Click);
    OKBtn.OnClick = bind(this, &TDocListDlg::OKBtnClick);
    CancelBtn.OnClick = bind(this, &TDocListDlg::Button4Click);
}

TDocListDlg::~TDocListDlg() {
    Dateiliste.Clear();
    if (m_ole) OleUninitialize();
}

std::wstring TDocListDlg::Dokument(const TListItem& Item) {
    return Item.Data ? static_cast<const TEintrag*>(Item.Data)->Ziel : std::wstring();
}

void TDocListDlg::FormShow(TObject*) {
    Fehlercode = fc::DocListFormShow;
    if (m_recent.empty()) {
        MessageDlg(L"Konnte nicht auf Dokumentenliste zugreifen!", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        SetModalResult(mrCancel);
        Fehlercode = 0;
        return;
    }
    m_ersteFuellung = true;
    Fuellen();
    Sammelkorbinhalt.SetEnabled(m_kontext.Sammelkorb && !m_kontext.Sammelkorb->empty());
    m_waechter = FileExists(m_kontext.ProgramFolder + kPellwick);
    Button3.SetEnabled(m_waechter);
    if (!m_waechter)
        MessageDlg(L"Das Programm \"Pellwick.exe\" konnte nicht gefunden werden.\rStellen Sie sicher, daß es sich im "
                   L"Velmora-Programmverzeichnis befindet.",
                   TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
    CheckBox1.SetChecked(RegReadUserValue(DokumentMonitorSchluessel, kAktiv) == L"0");
    GeschuetzteLaden();
    Fehlercode = 0;
}

void TDocListDlg::GeschuetzteLaden() {
    m_geschuetzt.Clear();
    for (int i = 0;; ++i) {
        const std::wstring pfad = RegReadUserValue(DokumentMonitorSchluessel, std::to_wstring(i));
        if (pfad.empty()) break;
        if (FileExists(pfad)) {
            m_geschuetzt.Add(pfad);
            continue;
        }
        MessageDlg(L"Die Datei\r\"" + SystemLower(pfad) +
                       L"\"\rist als geschützt markiert.\rSie existiert jedoch nicht mehr. Der Schutz wird deshalb "
                       L"aufgehoben!",
                   TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
    }
}

// Only the numbered values go: the key's other values ("DocListActive") stay.
void TDocListDlg::GeschuetzteSpeichern() {
    for (int i = 0;; ++i) {
        const std::wstring name = std::to_wstring(i);
        if (RegReadUserValue(DokumentMonitorSchluessel, name).empty()) break;
        RegDeleteUserValue(DokumentMonitorSchluessel, name);
    }
    int n = 0;
    for (const std::wstring& pfad : m_geschuetzt)
        if (FileExists(pfad)) RegWriteUserValue(DokumentMonitorSchluessel, std::to_wstring(n++), pfad);
}

void TDocListDlg::Loeschen(const std::vector<std::wstring>& Dateien) {
    if (Dateien.empty() || !m_kontext.Routinen) return;
    TDateiListe liste;
    for (const std::wstring& datei : Dateien) {
        auto record = std::make_unique<TEineDatei>();
        record->Name = datei;
        liste.push_back(std::move(record));
    }
    m_kontext.Routinen->DeleteFiles(liste, false, true, 1);
}

void TDocListDlg::Fuellen() {
    THourGlass hourglass;
    Dateiliste.Clear();
    m_eintraege.clear();
    if (m_ersteFuellung) m_anfang.Clear();
    TCom<IShellFolder> desktop, recent;
    PIDLIST_ABSOLUTE recentPidl = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop.p)) ||
        FAILED(SHParseDisplayName(m_recent.c_str(), nullptr, &recentPidl, 0, nullptr))) {
        m_ersteFuellung = false;
        return;
    }
    desktop.p->BindToObject(recentPidl, nullptr, IID_IShellFolder, reinterpret_cast<void**>(&recent.p));
    CoTaskMemFree(recentPidl);
    TCom<IEnumIDList> items;
    std::vector<std::wstring> tote;
    if (recent.p && recent.p->EnumObjects(Handle(), SHCONTF_NONFOLDERS, &items.p) == S_OK && items.p) {
        PITEMID_CHILD child = nullptr;
        while (items.p->Next(1, &child, nullptr) == S_OK) {
            STRRET name{}, pfad{};
            std::wstring caption, link;
            if (SUCCEEDED(recent.p->GetDisplayNameOf(child, SHGDN_NORMAL, &name))) caption = AusStrRet(name, child);
            if (SUCCEEDED(recent.p->GetDisplayNameOf(child, SHGDN_FORPARSING, &pfad))) link = AusStrRet(pfad, child);
            CoTaskMemFree(child);
            if (link.empty()) continue;
            auto eintrag = std::make_unique<TEintrag>();
            eintrag->Link = link;
            ReadShellLink(link, eintrag->Ziel);
            if (!eintrag->Ziel.empty()) eintrag->Ziel = LongPathName(eintrag->Ziel);
            if (m_ersteFuellung) {
                if (!eintrag->Ziel.empty() && FileExists(eintrag->Ziel)) {
                    m_anfang.Add(eintrag->Ziel);
                } else {
                    MessageDlg(L"Das mit \"" + ExtractFileName(link) +
                                   L"\" verknüpfte Dokument existiert nicht mehr.\rDie Verknüpfung wird deshalb "
                                   L"gelöscht.",
                               TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
                    tote.push_back(link);
                }
            }
            SHFILEINFOW info{};
            SHGetFileInfoW(link.c_str(), 0, &info, sizeof info, SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
            TListItem* item = Dateiliste.AddItem(caption.empty() ? ExtractFileName(link) : caption, eintrag.get());
            item->SetImageIndex(info.iIcon);
            m_eintraege.push_back(std::move(eintrag));
        }
    }
    m_ersteFuellung = false;
    Loeschen(tote);
    Dateiliste.CustomSort([](TListItem* a, TListItem* b) {
        const std::wstring x = a->Caption(), y = b->Caption();
        return CompareStringW(LOCALE_USER_DEFAULT, 0, x.c_str(), -1, y.c_str(), -1) - CSTR_EQUAL;
    });
}

void TDocListDlg::Button1Click(TObject*) {
    Fehlercode = fc::DocListHinzufuegen;
    TOpenDialog dialog(nullptr);
    dialog.Filter = L"Alle Dateien (*.*)|*.*";
    dialog.AllowMultiSelect = true;
    dialog.FileMustExist = true;
    dialog.PathMustExist = true;
    if (dialog.Execute()) {
        Screen->SetCursor(crHourGlass);
        for (const std::wstring& datei : dialog.Files) ZuDenDokumenten(datei);
        Timer.SetEnabled(true);
    }
    Fehlercode = 0;
}

void TDocListDlg::SammelkorbinhaltClick(TObject*) {
    Fehlercode = fc::DocListHinzufuegen;
    if (!m_kontext.Sammelkorb || m_kontext.Sammelkorb->empty()) return;
    if (!m_korb) m_korb = Create<TSammelkorbInhaltDlg>(this, m_kontext);
    if (m_korb->ShowModal() == mrOk) {
        TDateiListe auswahl;
        m_korb->AuswahlHolen(auswahl);
        bool archiviert = false;
        for (const auto& record : auswahl) {
            if (record->InArchive) archiviert = true;
            else ZuDenDokumenten(record->Name);
        }
        if (archiviert)
            MessageDlg(L"Ihre Auswahl enthält komprimierte Dateien.\rDiese können nicht der Dokumentenlsite "
                       L"hinzugefügt werden.",
                       TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
        Screen->SetCursor(crHourGlass);
        Timer.SetEnabled(true);
    }
    Fehlercode = 0;
}

void TDocListDlg::TimerTimer(TObject*) {
    Timer.SetEnabled(false);
    Screen->SetCursor(crDefault);
    Fuellen();
}

void TDocListDlg::Button2Click(TObject*) {
    Fehlercode = fc::DocListLoeschen;
    std::vector<std::wstring> links;
    for (TListItem* item = Dateiliste.NextSelected(); item; item = Dateiliste.NextSelected(item)) {
        const auto& eintrag = *static_cast<const TEintrag*>(item->Data);
        links.push_back(eintrag.Link);
        for (int n = 0;; ++n) {
            const std::wstring wert = RegReadUserValue(DokumentMonitorSchluessel, std::to_wstring(n));
            if (wert.empty()) break;
            if (SystemLower(wert) != SystemLower(eintrag.Ziel)) continue;
            // The following values move one number down.
            int i = n;
            for (;; ++i) {
                const std::wstring naechster = RegReadUserValue(DokumentMonitorSchluessel, std::to_wstring(i + 1));
                if (naechster.empty()) break;
                RegWriteUserValue(DokumentMonitorSchluessel, std::to_wstring(i), naechster);
            }
            RegDeleteUserValue(DokumentMonitorSchluessel, std::to_wstring(i));
            --n;
        }
        // The held list goes along, or OK would protect the document again.
        for (int i = m_geschuetzt.Count() - 1; i >= 0; --i)
            if (SystemLower(m_geschuetzt[i]) == SystemLower(eintrag.Ziel)) m_geschuetzt.Delete(i);
    }
    Loeschen(links);
    Fuellen();
    Fehlercode = 0;
}

void TDocListDlg::Button3Click(TObject*) {
    if (Dateiliste.SelCount() == 0) return;
    m_geschuetzt.Clear();
    for (TListItem* item = Dateiliste.NextSelected(); item; item = Dateiliste.NextSelected(item))
        m_geschuetzt.Add(Dokument(*item));
}

void TDocListDlg::Button5Click(TObject*) { m_geschuetzt.Clear(); }

void TDocListDlg::Button6Click(TObject*) {
    for (int i = 0; i < Dateiliste.Count(); ++i) {
        TListItem* item = Dateiliste.Items(i);
        item->SetSelected(m_geschuetzt.IndexOf(Dokument(*item), true) >= 0);
    }
}

void TDocListDlg::Button4Click(TObject*) {
    Fehlercode = fc::DocListWiederherstellen;
    GeschuetzteLaden();
    // Only what stands in the Recent folder itself goes.
    if (!m_recent.empty()) {
        std::vector<std::wstring> dateien;
        WIN32_FIND_DATAW found;
        const HANDLE find = FindFirstFileW((m_recent + L"*.*").c_str(), &found);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) dateien.push_back(m_recent + found.cFileName);
            } while (FindNextFileW(find, &found));
            FindClose(find);
        }
        Loeschen(dateien);
        for (const std::wstring& datei : m_anfang) ZuDenDokumenten(datei);
    }
    GeschuetzteSpeichern();
    Fuellen();
    Fehlercode = 0;
}

void TDocListDlg::CheckBox1Click(TObject*) {
    const bool an = !CheckBox1.Checked();
    for (TControl* c : std::initializer_list<TControl*>{&Label1, &Dateiliste, &Button1, &Button2, &Button3, &Button4,
                                                        &Button5, &Button6})
        c->SetEnabled(an);
    // Protecting needs the watcher.
    Button3.SetEnabled(an && m_waechter);
    if (!an)
        for (int i = 0; i < Dateiliste.Count(); ++i) Dateiliste.Items(i)->SetSelected(false);
}

void TDocListDlg::OKBtnClick(TObject*) {
    Fehlercode = fc::DocListOK;
    if (CheckBox1.Checked()) {
        RegWriteUserValue(DokumentMonitorSchluessel, kAktiv, L"0");
        m_geschuetzt.Clear();
    } else {
        RegWriteUserValue(DokumentMonitorSchluessel, kAktiv, L"1");
    }
    GeschuetzteSpeichern();
    WaechterEinrichten();
    Fehlercode = 0;
}

void TDocListDlg::WaechterEinrichten() {
    const std::wstring autostart = AutostartOrdner();
    const std::wstring pellwick = m_kontext.ProgramFolder + kPellwick;
    const bool da = FileExists(pellwick);
    if (da && m_kontext.ShellStart) m_kontext.ShellStart(pellwick, L"open");
    if (autostart.empty() || FileExists(autostart + kWaechterLink)) return;
    if (m_kontext.Routinen && m_kontext.Routinen->IsInStartupFolder(pellwick)) return;
    if (MessageDlg(L"Das Programm zur Überwachung der Dokumentenliste befindet sich nicht in Ihrer "
                   L"Autostartgruppe.\rSoll es hinzugefügt werden?",
                   TMsgDlgType::mtConfirmation, {TMsgDlgBtn::mbYes, TMsgDlgBtn::mbNo}, 85) == mrYes &&
        da)
        CreateShellLink(pellwick, autostart + kWaechterLink, L"");
}

}  // namespace velmora
