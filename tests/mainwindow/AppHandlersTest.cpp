// The main window's application handlers and timers: exceptions with the
// routine number, hints in the status line, the recycle folders, help and info.

#include <gtest/gtest.h>

#include <windows.h>

#include "LogPane.h"
#include "MainWindowFixture.h"
#include "foundation/Fehlercode.h"
#include "foundation/ShellRoutinen.h"
#include "mainwindow/MainForm.h"
#include "platform/gui/Application.h"
#include "platform/gui/Testing.h"
#include "platform/gui/Timer.h"
#include "platform/rtl/Exceptions.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::gui;
using velmora::test::TPaneLog;

namespace {

class AppHandlersTest : public test::MainWindowTest {
protected:
    THauptform& StartPanes() {
        THauptform& form = Make();
        test::UseLogPanes(form, m_log);
        Start();
        m_log.Lines.clear();
        return form;
    }
    TPaneLog m_log;
};

// "C:\Recycled" while alive: made before the window, removed with what it holds.
struct TRecycleFolder {
    TRecycleFolder() { CreateDirectoryW(Path.c_str(), nullptr); }
    ~TRecycleFolder() {
        for (int i = 0; i < 50; ++i)
            DeleteFileW(File(i).c_str());
        RemoveDirectoryW(Path.c_str());
    }
    std::wstring File(int i) const { return Path + L"\\DC" + std::to_wstring(i) + L".txt"; }
    const std::wstring Path = L"C:\\Recycled";
};

}  // namespace

TEST_F(AppHandlersTest, AnExceptionShowsTheRoutineNumberAndTheComponentAndResetsTheNumber) {
    THauptform& form = StartPanes();
    TTimer timer(&form);
    timer.SetName(L"Pruefuhr");
    timer.SetInterval(10);
    std::uint16_t code = 102;
    bool fired = false;
    timer.OnTimer = [&](TObject*) {
        timer.SetEnabled(false);
        fired = true;
        Fehlercode = code;
        throw Exception(L"Zugriffsverletzung");
    };
    m_boxes.Answer(mrOk);
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return fired && !m_boxes.Calls().empty(); }));
    ASSERT_EQ(m_boxes.Calls().size(), 1u);
    EXPECT_EQ(m_boxes.Calls()[0].Text, L"Es ist ein Ausnahmefehler aufgetreten. Fehlercode: 102 (Pruefuhr)");
    EXPECT_EQ(m_boxes.Calls()[0].Type, TMsgDlgType::mtError);
    EXPECT_EQ(m_boxes.Calls()[0].HelpContext, 64);
    EXPECT_EQ(Fehlercode, 0);

    // With no numbered routine running, the number is 0.
    code = 0;
    fired = false;
    timer.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return fired && m_boxes.Calls().size() == 2; }));
    EXPECT_EQ(m_boxes.Calls()[1].Text, L"Es ist ein Ausnahmefehler aufgetreten. Fehlercode: 0 (Pruefuhr)");
    EXPECT_TRUE(form.Visible()) << "the program goes on";
}

TEST_F(AppHandlersTest, TheApplicationsHandlersGoBackWhenTheWindowIsFreed) {
    int previous = 0;
    Application->OnHint = [&](TObject*) { ++previous; };
    StartPanes();
    Application->SetHint(L"Kopieren|Kopiert die markierten Dateien");
    EXPECT_EQ(previous, 0);
    m_form->Free();
    m_form = nullptr;
    Application->SetHint(L"Verschieben|Verschiebt die markierten Dateien");
    EXPECT_EQ(previous, 1);
    Application->OnHint = nullptr;
}

TEST_F(AppHandlersTest, HintsReachTheStatusLineButNotWhileAShellMenuIsOpen) {
    THauptform& form = StartPanes();
    // The application hands on the long part of a control's or menu item's hint.
    Application->SetHint(L"Kopiert die markierten Dateien");
    EXPECT_TRUE(form.HauptStatusZeile.SimplePanel());
    EXPECT_EQ(form.HauptStatusZeile.SimpleText(), L"Kopiert die markierten Dateien");
    Application->SetHint(L"");
    EXPECT_FALSE(form.HauptStatusZeile.SimplePanel());
    KontextmenueOffen = true;
    Application->SetHint(L"Öffnet die Datei");
    EXPECT_FALSE(form.HauptStatusZeile.SimplePanel());
    KontextmenueOffen = false;
}

TEST_F(AppHandlersTest, FiftyFilesInTheRecycleFolderGiveOneRefreshPerPane) {
    TRecycleFolder recycled;
    THauptform& form = StartPanes();
    ASSERT_EQ(form.RecycleMonitors.size(), 1u);
    EXPECT_TRUE(SameTextAscii(form.RecycleMonitors[0]->Directory(), L"C:\\Recycled"));
    for (int i = 0; i < 50; ++i) {
        HANDLE h = CreateFileW(recycled.File(i).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE);
        CloseHandle(h);
    }
    ASSERT_TRUE(WaitUntil([&] { return m_log.Count(L"#2 RecycleBinChanged") >= 1; }, 10000));
    // A report of the burst that came late would start the debounce again: a
    // timer of the same interval, started now, ends after any such report's
    // refresh would have been asked for.
    TTimer interval(nullptr);
    interval.SetInterval(form.Papierkorbtimer.Interval());
    bool passed = false;
    interval.OnTimer = [&](TObject*) {
        interval.SetEnabled(false);
        passed = true;
    };
    interval.SetEnabled(true);
    ASSERT_TRUE(WaitUntil([&] { return passed && !form.Papierkorbtimer.Enabled(); }, 10000));
    EXPECT_EQ(m_log.Lines, (std::vector<std::wstring>{L"#1 RecycleBinChanged", L"#2 RecycleBinChanged"}));
    ASSERT_TRUE(CloseWindow());
    EXPECT_TRUE(form.RecycleMonitors.empty());
}

TEST_F(AppHandlersTest, WithoutARecycleFolderThereIsNoMonitor) {
    THauptform& form = StartPanes();
    ASSERT_FALSE(DirectoryExists(L"C:\\Recycled"));
    EXPECT_TRUE(form.RecycleMonitors.empty());
    EXPECT_FALSE(form.Papierkorbtimer.Enabled());
    EXPECT_FALSE(form.ArcTimer.Enabled());
    EXPECT_FALSE(form.MRUFileListTimer.Enabled());
}

TEST_F(AppHandlersTest, HelpTopicsAskForTheContentsAndIndex) {
    THauptform& form = StartPanes();
    THelpRecorder help;
    form.Hilfethemen1Click(nullptr);
    ASSERT_EQ(help.Calls().size(), 1u);
    EXPECT_EQ(help.Calls()[0].Command, static_cast<UINT>(HELP_FINDER));
    EXPECT_TRUE(help.Calls()[0].File.ends_with(L"\\Velmora.hlp"));
}

TEST_F(AppHandlersTest, TheAboutBoxIsKeptFromItsFirstShowing) {
    THauptform& form = StartPanes();
    TModalScript script;
    script.Step([](TForm& f) { f.SetModalResult(mrOk); });
    script.Step([](TForm& f) { f.SetModalResult(mrOk); });
    form.InfoClick(nullptr);
    TForm* about = form.AboutBox;
    ASSERT_NE(about, nullptr);
    form.InfoClick(nullptr);
    EXPECT_EQ(form.AboutBox, about);
    EXPECT_FALSE(script.Failed());
    EXPECT_EQ(script.FormsSeen(), 2);
}

namespace {
BOOL CALLBACK TellActivated(HWND window, LPARAM) {
    SendMessageW(window, WM_ACTIVATEAPP, TRUE, 0);
    return TRUE;
}
}  // namespace

TEST_F(AppHandlersTest, ActivationKeepsTheActivePaneOnTop) {
    THauptform& form = StartPanes();
    // The topmost pane among the frame's children.
    auto top = [&] {
        for (HWND w = GetWindow(form.LeftPane->Handle(), GW_HWNDFIRST); w; w = GetWindow(w, GW_HWNDNEXT))
            if (w == form.LeftPane->Handle() || w == form.RightPane->Handle())
                return w;
        return HWND{};
    };
    // The system tells every top-level window of the thread that the program became active.
    auto activateApp = [] { EnumThreadWindows(GetCurrentThreadId(), TellActivated, 0); };
    for (TDMChildForm* active : {form.LeftPane, form.RightPane}) {
        TDMChildForm* other = active == form.LeftPane ? form.RightPane : form.LeftPane;
        active->BringToFront();
        ASSERT_EQ(form.ActiveMDIChild(), active);
        // Another program's window order put the other pane on top, without activating it.
        SetWindowPos(other->Handle(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        ASSERT_EQ(top(), other->Handle());
        activateApp();
        EXPECT_EQ(top(), active->Handle());
        EXPECT_EQ(form.ActiveMDIChild(), active);
    }
}
