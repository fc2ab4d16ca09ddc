#include "AttributDialog.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "DateiRoutinen.h"
#include "FileToolsCodes.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"
#include "platform/rtl/LocaleTexts.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

std::wstring WithoutBlanks(const std::wstring& text) {
    std::wstring result;
    for (wchar_t c : text)
        if (c != L' ') result += c;
    return result;
}

// The parts of Text between Separator, each a number of at most MaxDigits digits.
std::optional<std::vector<int>> Numbers(const std::wstring& text, const std::wstring& separator) {
    std::vector<int> numbers;
    for (const std::wstring& part : SplitString(text, separator)) {
        if (part.empty() || part.size() > 4) return std::nullopt;
        for (wchar_t c : part)
            if (c < L'0' || c > L'9') return std::nullopt;
        numbers.push_back(static_cast<int>(StrToInt(part)));
    }
    return numbers;
}

TCheckBoxState StateOf(const TDateiListe& liste, std::int32_t bit) {
    size_t with = 0;
    for (const auto& record : liste)
        if (record->Attr & bit) ++with;
    if (with == 0) return TCheckBoxState::cbUnchecked;
    return with == liste.size() ? TCheckBoxState::cbChecked : TCheckBoxState::cbGrayed;
}

int TriState(TCheckBoxState state) {
    return state == TCheckBoxState::cbChecked ? 1 : state == TCheckBoxState::cbUnchecked ? 0 : 2;
}

}  // namespace

std::optional<TDateTime> MaskenDatum(const std::wstring& Text) {
    const std::wstring text = WithoutBlanks(Text);
    auto numbers = Numbers(text, LocaleDateSeparator());
    if (!numbers || numbers->size() != 3) return std::nullopt;
    const auto date = TryStrToDateTime(text);
    // A file's date holds only the years 1980 to 2107: any other is no date
    // for a file, and would silently become another.
    if (!date) return std::nullopt;
    const int year = DecodeDateTime(*date).year;
    if (year < 1980 || year > 2107) return std::nullopt;
    return date;
}

std::optional<TDateTime> MaskenZeit(const std::wstring& Text) {
    auto numbers = Numbers(WithoutBlanks(Text), LocaleTimeSeparator());
    if (!numbers || numbers->size() < 2 || numbers->size() > 3) return std::nullopt;
    const int hour = (*numbers)[0], minute = (*numbers)[1], second = numbers->size() == 3 ? (*numbers)[2] : 0;
    if (hour > 23 || minute > 59 || second > 59) return std::nullopt;
    return (hour * 3600 + minute * 60 + second) / 86400.0;
}

TAttributDialog::TAttributDialog(TComponent* Owner)
    : TPositionsDialog(Owner, L"Attr"), GroupBox1(this), GroupBox2(this), Archive(this), ReadOnly(this),
      Hidden(this), SysFile(this), DatumAendern(this), ZeitAendern(this), Datum(this), Zeit(this), OKBtn(this),
      CancelBtn(this), HilfeBtn(this) {
    SetCaption(L"Dateieigenschaften verändern");
    TDialogLayout lay(*this);
    GroupBox1.SetCaption(L"Attribute");
    lay.Place(GroupBox1, 6, 4, 100, 70);
    Archive.SetCaption(L"&Archiv");
    ReadOnly.SetCaption(L"&Schreibgeschützt");
    Hidden.SetCaption(L"&Versteckt");
    SysFile.SetCaption(L"S&ystem");
    for (TCheckBox* box : {&Archive, &ReadOnly, &Hidden, &SysFile}) {
        box->AllowGrayed = true;
        box->SetParent(&GroupBox1);
    }
    lay.Column(8, 12, 86, {{&Archive, 10}, {&ReadOnly, 10}, {&Hidden, 10}, {&SysFile, 10}}, 4);
    GroupBox2.SetCaption(L"Datum und Uhrzeit");
    lay.Place(GroupBox2, 112, 4, 130, 70);
    for (TWinControl* control : std::initializer_list<TWinControl*>{&DatumAendern, &Datum, &ZeitAendern, &Zeit})
        control->SetParent(&GroupBox2);
    DatumAendern.SetCaption(L"&Datum ändern:");
    lay.Place(DatumAendern, 6, 14, 64, 10);
    Datum.SetEditMask(L"!90/90/9900;1; ");
    lay.Place(Datum, 72, 13, 52, 12);
    ZeitAendern.SetCaption(L"&Zeit ändern:");
    lay.Place(ZeitAendern, 6, 36, 64, 10);
    Zeit.SetEditMask(L"!90:00:00;1; ");
    lay.Place(Zeit, 72, 35, 52, 12);
    SetUpButtons(OKBtn, CancelBtn, HilfeBtn);
    lay.Row(86, 80, 14, {{&OKBtn, 50}, {&CancelBtn, 50}, {&HilfeBtn, 50}});
    lay.SetClientSize(*this, 248, 100);
    SetHelpContextAll(17);
    OKBtn.OnClick = bind(this, &TAttributDialog::OKBtnClick);
    OnShow = bind(this, &TAttributDialog::FormShow);
    OnClose = bind(this, &TAttributDialog::FormClose);
    Datum.OnChange = bind(this, &TAttributDialog::DatumChange);
    Zeit.OnChange = bind(this, &TAttributDialog::ZeitChange);
    Datum.OnExit = bind(this, &TAttributDialog::DatumExit);
    Zeit.OnExit = bind(this, &TAttributDialog::ZeitExit);
}

void TAttributDialog::SetDateien(const TDateiListe& Liste, TDateTime Jetzt) {
    Fehlercode = fc::AttributSetDateien;
    TCheckBox* boxes[] = {&Archive, &ReadOnly, &Hidden, &SysFile};
    const std::int32_t bits[] = {32, 1, 2, 4};
    for (int i = 0; i < 4; ++i) {
        m_start[i] = StateOf(Liste, bits[i]);
        boxes[i]->SetState(m_start[i]);
    }
    const TDateTime stamp = Liste.size() == 1 ? Liste[0]->Time : Jetzt;
    Datum.SetText(LocaleDateText(stamp));
    Zeit.SetText(LocaleTimeText(stamp));
    DatumAendern.SetChecked(false);
    ZeitAendern.SetChecked(false);
    m_ordnerDabei = std::any_of(Liste.begin(), Liste.end(), [](const auto& record) { return record->Attr & 16; });
    Fehlercode = 0;
}

void TAttributDialog::Anwenden(const TDateiListe& Liste, TDateiRoutinen& Routinen) const {
    Fehlercode = fc::AttributAnwenden;
    const TCheckBoxState now[] = {Archive.State(), ReadOnly.State(), Hidden.State(), SysFile.State()};
    const bool unchanged = std::equal(std::begin(now), std::end(now), std::begin(m_start));
    const auto datum = MaskenDatum(Datum.Text());
    const auto zeit = MaskenZeit(Zeit.Text());
    for (const auto& record : Liste) {
        if (record->Attr & 8) continue;
        if (!(Liste.size() == 1 && unchanged))
            Routinen.SetAttributes(record->Name, TriState(now[0]), TriState(now[3]), TriState(now[2]),
                                   TriState(now[1]));
        if ((record->Attr & 16) || !(DatumAendern.Checked() || ZeitAendern.Checked())) continue;
        const double ownDay = std::trunc(record->Time);
        const double day = DatumAendern.Checked() && datum ? std::trunc(*datum) : ownDay;
        const double time = ZeitAendern.Checked() && zeit ? *zeit : std::fabs(record->Time - ownDay);
        Routinen.SetFileDate(record->Name, day >= 0 ? day + time : day - time);
    }
    Fehlercode = 0;
}

bool TAttributDialog::TexteGueltig() {
    if (!MaskenDatum(Datum.Text())) {
        MessageDlg(Datum.Text() + L" ist kein gültiges Datum!", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Datum.SetFocus();
        return false;
    }
    if (!MaskenZeit(Zeit.Text())) {
        MessageDlg(Zeit.Text() + L" ist keine gültige Zeitangabe!", TMsgDlgType::mtError, {TMsgDlgBtn::mbOK});
        Zeit.SetFocus();
        return false;
    }
    return true;
}

void TAttributDialog::OKBtnClick(TObject*) { m_ok = true; }

void TAttributDialog::FormShow(TObject*) { m_ok = false; }

void TAttributDialog::FormClose(TObject*, TCloseAction& Action) {
    Fehlercode = fc::AttributFormClose;
    if (m_ok) {
        m_ok = false;
        m_checking = true;
        if (!TexteGueltig())
            Action = TCloseAction::caNone;
        else if (m_ordnerDabei && (DatumAendern.Checked() || ZeitAendern.Checked()))
            // Folders keep their date: said once, not per folder.
            MessageDlg(L"Verzeichnisse behalten ihr Datum; Datum und Uhrzeit werden nur bei Dateien geändert.",
                       TMsgDlgType::mtInformation, {TMsgDlgBtn::mbOK});
        m_checking = false;
    }
    Fehlercode = 0;
}

void TAttributDialog::DatumChange(TObject*) { DatumAendern.SetChecked(true); }

void TAttributDialog::ZeitChange(TObject*) { ZeitAendern.SetChecked(true); }

void TAttributDialog::DatumExit(TObject*) {
    // The box of a bad text and the focus it puts back leave the edits again:
    // those exits do not check once more.
    if (m_checking || !Visible()) return;
    m_checking = true;
    TexteGueltig();
    m_checking = false;
}

void TAttributDialog::ZeitExit(TObject* Sender) { DatumExit(Sender); }

}  // namespace velmora
