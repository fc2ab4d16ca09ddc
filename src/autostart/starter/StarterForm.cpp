#include "StarterForm.h"

#include "autostart/starter/SysIcons.h"
#include "platform/gui/Dialogs.h"
#include "platform/gui/Layout.h"

namespace velmora::starter {

using namespace gui;

void ShowStartError(const std::wstring& text) { MessageDlg(text, TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}); }

TForm1::TForm1(TComponent* owner, TShellStart shellStart, TErrorBox errorBox)
    : TForm(owner),
      Beschreibung(this), Label1(this), Countdown(this), Label3(this), Image1(this),
      Button1(this), Button2(this), Button3(this), Button4(this), Timer(this),
      m_sequence(*this, std::move(shellStart), std::move(errorBox)) {
    SetCaption(L"Autostarter");
    BorderStyle = TBorderStyle::bsDialog;
    BorderIcons = 0;
    SetFormStyle(TFormStyle::fsStayOnTop);
    Position = TPosition::poScreenCenter;

    Beschreibung.Alignment = TAlignment::taLeftJustify;
    Beschreibung.SetBevelOuter(TBevelCut::bvLowered);
    Beschreibung.SetColor(clWindow);
    Label1.SetCaption(L"Noch");
    Countdown.SetColor(clBlack);
    Countdown.SetBevelInner(TBevelCut::bvLowered);
    Countdown.SetBevelWidth(2);
    Countdown.LoadNumbers(GetModuleHandleW(nullptr), L"DIGITS");
    Countdown.SetNumberWidth(16);
    Countdown.SetFormatWidth(2);
    Label3.SetCaption(L"Sekunden bis das Programm (nicht) gestartet wird...");
    Image1.Center = true;
    Button1.SetCaption(L"&Starten");
    Button2.SetCaption(L"&Nicht starten");
    Button3.SetCaption(L"Dieses und &alle weiteren starten");
    Button4.SetCaption(L"&Kein weiteres mehr starten");
    Timer.SetEnabled(false);
    Timer.SetInterval(1000);
    LayoutControls();

    OnCreate = bind(this, &TForm1::FormCreate);
    OnShow = bind(this, &TForm1::FormShow);
    OnClose = bind(this, &TForm1::FormClose);
    Timer.OnTimer = bind(this, &TForm1::TimerTimer);
    Button1.OnClick = bind(this, &TForm1::Button1Click);
    Button2.OnClick = bind(this, &TForm1::Button2Click);
    Button3.OnClick = bind(this, &TForm1::Button3Click);
    Button4.OnClick = bind(this, &TForm1::Button4Click);
}

void TForm1::LayoutControls() {
    TDialogLayout l(*this);
    for (TControl* c : std::initializer_list<TControl*>{&Beschreibung, &Label1, &Countdown, &Label3, &Image1, &Button1,
                                                        &Button2, &Button3, &Button4})
        c->SetParent(this);
    l.Place(Beschreibung, 6, 6, 252, 14);
    l.Place(Label1, 6, 36, 22, 10);
    // The display keeps its own pixel size: two 16-pixel cells inside the bevels.
    Countdown.SetBounds(l.X(30), l.Y(28), 45, 33);
    l.Place(Label3, 6, 56, 200, 10);
    Image1.SetBounds(l.X(258) - 64, l.Y(24), 64, 64);
    l.Row(6, 72, 14, {{&Button1, 124}, {&Button2, 124}});
    l.Row(6, 90, 14, {{&Button3, 124}, {&Button4, 124}});
    l.SetClientSize(*this, 264, 110);
}

void TForm1::FormCreate(TObject*) { m_systemImages = LargeSystemImageList(); }

void TForm1::FormShow(TObject*) { m_sequence.Begin(LoadAutostartList()); }

void TForm1::TimerTimer(TObject*) { m_sequence.Tick(); }
void TForm1::Button1Click(TObject*) { m_sequence.Starten(); }
void TForm1::Button2Click(TObject*) { m_sequence.NichtStarten(); }
void TForm1::Button3Click(TObject*) { m_sequence.AlleStarten(); }
void TForm1::Button4Click(TObject*) { m_sequence.KeinWeiteres(); }

void TForm1::FormClose(TObject*, TCloseAction&) {
    Timer.SetEnabled(false);
    m_sequence.StartChosen();
}

void TForm1::ShowEntry(const TEintrag& entry, const std::wstring& countdownCaption) {
    Beschreibung.SetCaption(L" " + entry.Beschreibung);
    Label3.SetCaption(countdownCaption);
    auto icon = std::make_unique<TIcon>();
    if (m_systemImages) icon->Assign(ImageList_GetIcon(m_systemImages, GetSysIconIndex(entry.Dateiname), ILD_NORMAL));
    Image1.Picture.SetGraphic(std::move(icon));
    if (Button1.CanFocus()) Button1.SetFocus();
}

void TForm1::ShowCountdown(int seconds) { Countdown.SetValue(seconds); }
void TForm1::SetTimerRunning(bool running) { Timer.SetEnabled(running); }
void TForm1::CloseWindow() { Close(); }

}  // namespace velmora::starter
