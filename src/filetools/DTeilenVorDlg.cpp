#include "DTeilenVorDlg.h"

#include "DateiRoutinen.h"
#include "DatumGroesseTest.h"
#include "FileToolsCodes.h"
#include "platform/gui/Application.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/gui/OpenDialog.h"
#include "platform/rtl/PathNames.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

TDateiTeilenvorbereitenDlg::TDateiTeilenvorbereitenDlg(TComponent* Owner, const TDateiDialogKontext& Kontext)
    : TPositionsDialog(Owner, L"DTeilen"), Label1(this), DateiLabel(this), GroesseLabel(this), ParameterLabel(this),
      Quellverzeichnis(this), Datei(this), DateiSuchenBtn2(this), SammelkorbBtn(this), Groesse(this), OKBtn(this),
      CancelBtn(this), HilfeBtn(this), m_kontext(Kontext) {
    SetCaption(L"Datei teilen");
    TDialogLayout lay(*this);
    ParameterLabel.SetCaption(L"Parameter");
    lay.Place(ParameterLabel, 6, 6, 100, 9);
    Label1.SetCaption(L"Aktueller Ordner:");
    lay.Place(Label1, 6, 20, 64, 9);
    lay.Place(Quellverzeichnis, 72, 20, 170, 9);
    DateiLabel.SetCaption(L"&Teilen:");
    DateiLabel.SetFocusControl(&Datei);
    lay.Place(DateiLabel, 6, 36, 40, 9);
    Datei.Hint = L"Die zu teilende Datei";
    lay.Place(Datei, 48, 34, 118, 60);
    DateiSuchenBtn2.SetCaption(L"...");
    DateiSuchenBtn2.Hint = L"Datei auswählen";
    lay.Place(DateiSuchenBtn2, 168, 33, 18, 14);
    SammelkorbBtn.SetCaption(L"&Sammelkorb...");
    SammelkorbBtn.Hint = L"Datei aus dem Sammelkorb übernehmen";
    lay.Place(SammelkorbBtn, 188, 33, 54, 14);
    GroesseLabel.SetCaption(L"&Größe der einzelnen Fragmente in Bytes:");
    GroesseLabel.SetFocusControl(&Groesse);
    lay.Place(GroesseLabel, 6, 56, 150, 9);
    Groesse.MinValue = 0;
    Groesse.MaxValue = 999999999;
    Groesse.Increment = 10;
    Groesse.SetMaxLength(9);
    Groesse.Alignment = TAlignment::taRightJustify;
    Groesse.Hint = L"Größe jedes Teils in Bytes; das letzte nimmt den Rest";
    lay.Place(Groesse, 160, 54, 82, 12);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(86, 76, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 248, 96);
    SetHelpContextAll(55);
    ShowHint = true;
    Datei.OnKeyPress = bind(this, &TDateiTeilenvorbereitenDlg::DateiKeyPress);
    DateiSuchenBtn2.OnClick = bind(this, &TDateiTeilenvorbereitenDlg::DateiSuchenBtn2Click);
    SammelkorbBtn.OnClick = bind(this, &TDateiTeilenvorbereitenDlg::SammelkorbBtnClick);
    OKBtn.OnClick = bind(this, &TDateiTeilenvorbereitenDlg::OKBtnClick);
    OnShow = bind(this, &TDateiTeilenvorbereitenDlg::FormShow);
    OnClose = bind(this, &TDateiTeilenvorbereitenDlg::FormClose);
}

void TDateiTeilenvorbereitenDlg::FormShow(TObject*) {
    SammelkorbBtn.SetEnabled(m_kontext.Sammelkorb && !m_kontext.Sammelkorb->empty());
    const std::wstring text = Datei.Text();
    Datei.SetItems(NewestFirst(m_kontext.RecentFiles));
    Datei.SetText(text);
    m_ok = false;
}

void TDateiTeilenvorbereitenDlg::OKBtnClick(TObject*) { m_ok = true; }

void TDateiTeilenvorbereitenDlg::DateiKeyPress(TObject*, wchar_t& Key) { KleinGetippt(Key); }

void TDateiTeilenvorbereitenDlg::DateiSuchenBtn2Click(TObject*) {
    TOpenDialog dialog(this);
    dialog.Filter = L"Alle Dateien (*.*)|*.*";
    dialog.FileName = Datei.Text();
    dialog.FileMustExist = true;
    if (dialog.Execute())
        Datei.SetText(SystemLower(dialog.FileName));
}

void TDateiTeilenvorbereitenDlg::SammelkorbBtnClick(TObject*) {
    if (!m_kontext.Sammelkorb || m_kontext.Sammelkorb->empty())
        return;
    if (!m_sammelkorb)
        m_sammelkorb = Create<TSammelkorbInhaltDlg>(this, m_kontext);
    if (m_sammelkorb->ShowModal() != mrOk)
        return;
    TDateiListe chosen;
    m_sammelkorb->AuswahlHolen(chosen);
    if (chosen.size() != 1)
        MessageDlg(L"Bitte nur eine Datei auswählen.", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    else if (chosen[0]->InArchive)
        MessageDlg(L"Die ausgewählte Datei ist Bestandteil eines Archives und kann deshalb nicht geteilt werden.",
                   TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
    else
        Datei.SetText(SystemLower(chosen[0]->Name));
}

void TDateiTeilenvorbereitenDlg::FormClose(TObject*, TCloseAction& Action) {
    Fehlercode = fc::DateiTeilenPruefen;
    if (m_ok && !Pruefen()) {
        m_ok = false;
        Action = TCloseAction::caNone;
    }
    Fehlercode = 0;
}

bool TDateiTeilenvorbereitenDlg::Pruefen() {
    const double groesse = Groesse.CheckValue(Groesse.GetValue());
    if (groesse < 1) {
        MessageDlg(L"Die Fragmentgröße muß mindestens 1 Byte betragen.", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Groesse.SetFocus();
        return false;
    }
    // A name without folder lies in the folder shown; a mask or a folder is no file to split.
    std::wstring name = Trim(Datei.Text());
    WIN32_FIND_DATAW found{};
    HANDLE find = INVALID_HANDLE_VALUE;
    if (!name.empty() && name.find_first_of(L"*?") == std::wstring::npos) {
        TDateiRoutinen::NormalizePath(name, Quellverzeichnis.FileName());
        find = FindFirstFileW(name.c_str(), &found);
    }
    const bool istDatei = find != INVALID_HANDLE_VALUE && !(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
    if (!istDatei) {
        MessageDlg(L"Die ausgewählte Datei existiert nicht. Bitte überprüfen Sie Ihre Eingabe", TMsgDlgType::mtError,
                   {TMsgDlgBtn::mbOK});
        Datei.SetFocus();
        return false;
    }
    const std::int64_t size = (static_cast<std::int64_t>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
    if (size <= static_cast<std::int64_t>(groesse)) {
        MessageDlg(L"Die Größe der ausgewählten Datei ist kleiner oder gleich der gewünschten Fragmentgröße.\r\n"
                   L"Bitte verringern Sie die Fragmentgröße oder wählen Sie eine andere Datei.",
                   TMsgDlgType::mtWarning, {TMsgDlgBtn::mbOK});
        Groesse.SetFocus();
        return false;
    }
    m_ergebnis = TEineDatei{};
    m_ergebnis.Name = name;
    m_ergebnis.Size = size;
    m_ergebnis.Attr = static_cast<std::int32_t>(found.dwFileAttributes);
    m_ergebnis.Time = LokaleDateiZeit(found.ftLastWriteTime);
    m_fragment = static_cast<std::int32_t>(groesse);
    if (m_kontext.AddPathHistory)
        m_kontext.AddPathHistory(name);
    return true;
}

}  // namespace velmora
