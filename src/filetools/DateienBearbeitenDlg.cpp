#include "DateienBearbeitenDlg.h"

#include <windows.h>

#include <algorithm>

#include "FileToolsCodes.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

bool HasWildcard(const std::wstring& name) { return name.find_first_of(L"*?") != std::wstring::npos; }

// Size, date and attributes of a name on disk ("." and ".." never count).
void LookUp(TEineDatei& record) {
    if (HasWildcard(record.Name)) return;
    WIN32_FIND_DATAW data;
    HANDLE find = FindFirstFileW(record.Name.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return;
    FindClose(find);
    const std::wstring found = data.cFileName;
    if (found == L"." || found == L"..") return;
    record.Size = (static_cast<std::int64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    record.Attr = static_cast<std::int32_t>(data.dwFileAttributes & 0x3F);
    FILETIME local;
    WORD dosDate = 0, dosTime = 0;
    if (FileTimeToLocalFileTime(&data.ftLastWriteTime, &local) && FileTimeToDosDateTime(&local, &dosDate, &dosTime))
        if (auto time = DosDateTimeToDateTime((static_cast<std::uint32_t>(dosDate) << 16) | dosTime))
            record.Time = *time;
}

}  // namespace

int ZeilenAnfang(const TStringList& Lines, int Index) {
    int start = 0;
    for (int i = 0; i < Index && i < Lines.Count(); ++i) start += static_cast<int>(Lines[i].size()) + 2;
    return start;
}

TDateienBearbeitenDlg::TDateienBearbeitenDlg(TComponent* Owner)
    : TPositionsDialog(Owner, L"DBearb"), ListLabel(this), Dateiliste(this), StatusLabel(this), OKBtn(this),
      CancelBtn(this) {
    SetCaption(L"Dateiliste bearbeiten");
    TDialogLayout lay(*this);
    lay.Place(ListLabel, 6, 6, 248, 9);
    Dateiliste.ScrollBars = TMemo::TScrollStyle::ssBoth;
    Dateiliste.WordWrap = false;
    lay.Place(Dateiliste, 6, 17, 248, 110);
    lay.Place(StatusLabel, 6, 131, 150, 9);
    SetUpButtons(OKBtn, CancelBtn);
    lay.Row(148, 145, 14, {{&OKBtn, 50}, {&CancelBtn, 50}});
    lay.SetClientSize(*this, 260, 165);
    Dateiliste.OnChange = bind(this, &TDateienBearbeitenDlg::DateilisteChange);
    OKBtn.OnClick = bind(this, &TDateienBearbeitenDlg::OKBtnClick);
    OnShow = bind(this, &TDateienBearbeitenDlg::FormShow);
    OnClose = bind(this, &TDateienBearbeitenDlg::FormClose);
}

void TDateienBearbeitenDlg::SetListe(const std::wstring& Heading, const TDateiListe& Liste) {
    ListLabel.SetCaption(Heading);
    TStringList lines;
    for (const auto& record : Liste) lines.Add(record->Name);
    Dateiliste.SetLines(lines);
    DateilisteChange(this);
}

void TDateienBearbeitenDlg::DateilisteChange(TObject*) {
    StatusLabel.SetCaption(L" Dateien insgesamt: " + std::to_wstring(Dateiliste.Lines().Count()));
}

void TDateienBearbeitenDlg::OKBtnClick(TObject*) { m_ok = true; }

void TDateienBearbeitenDlg::FormShow(TObject*) {
    Fehlercode = fc::DateienBearbeitenFormShow;
    m_ok = false;
    DateilisteChange(this);
    Fehlercode = 0;
}

void TDateienBearbeitenDlg::FormClose(TObject*, TCloseAction& Action) {
    Fehlercode = fc::DateienBearbeitenFormClose;
    if (!m_ok) {
        Fehlercode = 0;
        return;
    }
    m_ok = false;
    THourGlass hourglass;
    TStringList lines = Dateiliste.Lines();
    const TStringList before = lines;
    int missing = -1;
    for (int i = 0; i < lines.Count();) {
        if (Trim(lines[i]).empty()) {
            lines.Delete(i);
            continue;
        }
        if (NamenMuessenExistieren && !FileExists(lines[i]) && !DirectoryExists(lines[i]) && !HasWildcard(lines[i])) {
            missing = i;
            break;
        }
        ++i;
    }
    if (lines.Items() != before.Items()) {
        // A memo reports no change of its own for text put in from outside.
        Dateiliste.SetLines(lines);
        DateilisteChange(this);
    }
    if (missing >= 0) {
        MessageDlg(L"Sie haben eine Datei eingegeben, die nicht existiert!\rBitte überprüfen Sie Ihre Eingabe.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Dateiliste.SetFocus();
        Dateiliste.SetSelStart(ZeilenAnfang(lines, missing));
        Dateiliste.SetSelLength(static_cast<int>(lines[missing].size()));
        Action = TCloseAction::caNone;
    }
    Fehlercode = 0;
}

void TDateienBearbeitenDlg::DateilisteAbgleichen(TDateiListe& Liste, bool NurNamen) {
    Fehlercode = fc::DateilisteAbgleichen;
    THourGlass hourglass;
    std::vector<std::wstring> lines;
    for (const std::wstring& line : Dateiliste.Lines()) lines.push_back(SystemLower(line));
    for (size_t i = Liste.size(); i-- > 0;) {
        const std::wstring name = SystemLower(Liste[i]->Name);
        auto line = std::find(lines.begin(), lines.end(), name);
        if (line != lines.end())
            lines.erase(line);
        else
            Liste.erase(Liste.begin() + static_cast<std::ptrdiff_t>(i));
    }
    for (const std::wstring& line : lines) {
        // A line given twice, or again beside its kept record, makes no second record.
        bool known = false;
        for (const auto& record : Liste) known = known || SystemLower(record->Name) == line;
        if (known) continue;
        auto record = std::make_unique<TEineDatei>();
        record->Name = line;
        if (!NurNamen) LookUp(*record);
        Liste.push_back(std::move(record));
    }
    Fehlercode = 0;
}

}  // namespace velmora
