// The exit tools over the prefix's Startup folder, with empty stand-ins for the
// two companion programs and the starts recorded.

#include <gtest/gtest.h>

#include <windows.h>

#include "filetools/DateiAktionFortschrittDlg.h"
#include "filetools/DateiRoutinen.h"
#include "filetools/ExittoolsDialog.h"
#include "foundation/FileOperator.h"
#include "foundation/ShellLink.h"
#include "foundation/TestFiles.h"
#include "platform/gui/Testing.h"
#include "platform/rtl/FileSystem.h"
#include "platform/rtl/Strings.h"

using namespace velmora;
using namespace velmora::test;
using namespace velmora::gui;

namespace {

void Klick(TControl& c) { MouseClick(ScreenPoint(c, 6, c.Height() / 2)); }

class ExittoolsTest : public ::testing::Test {
protected:
    void SetUp() override {
        OleInitialize(nullptr);
        autostart = AutostartOrdner();
        ASSERT_FALSE(autostart.empty());
        ForceDirectories(autostart);
        Aufraeumen();
        morrick = programme.MakeFile(L"Morrick.exe");
        tessaly = programme.MakeFile(L"Tessaly.exe");
        kontext.ProgramFolder = programme.Path();
        kontext.ShellStart = [this](const std::wstring& file, const std::wstring& verb) -> INT_PTR {
            starts.push_back(verb + L" " + file);
            return 42;
        };
        kontext.Routinen = &routinen;
        routinen.SetLinkErsteller(linkJob);
        dlg = Create<TExittoolsDlg>(Application, kontext);
    }
    void TearDown() override {
        dlg->Free();
        linkJob->Free();
        Aufraeumen();
        OleUninitialize();
    }
    void Aufraeumen() {
        for (const wchar_t* link : {L"Morrick.lnk", L"Tessaly.lnk"}) DeleteFileW((autostart + link).c_str());
    }
    std::wstring Link(const wchar_t* name) { return autostart + name; }
    static std::wstring Ziel(const std::wstring& link) {
        std::wstring target;
        ReadShellLink(link, target);
        return AsciiLower(LongPathName(target));
    }
    // Shows the dialog, runs Step in it and closes it with OK.
    void MitOK(std::function<void()> step) {
        TModalScript script(15000);
        script.Step([&](TForm&) {
            step();
            dlg->OKBtn.Click();
        });
        EXPECT_EQ(dlg->ShowModal(), mrOk);
        EXPECT_FALSE(script.Failed());
    }

    TTempFolder programme{L"exittools"};
    std::wstring autostart, morrick, tessaly;
    std::vector<std::wstring> starts;
    TDateiDialogKontext kontext;
    TFileOperator fileOperator{nullptr};
    TDateiRoutinen routinen{fileOperator};
    TDateiAktionFortschrittDlg* linkJob = Create<TDateiAktionFortschrittDlg>(Application, routinen);
    TMessageBoxRecorder boxes;
    TExittoolsDlg* dlg = nullptr;
};

}  // namespace

TEST_F(ExittoolsTest, TickingMakesTheShortcutAndStartsTheProgramOnceUntickingDeletesOnlyTheShortcut) {
    // Morrick's window is there already: it is not started a second time.
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Windows herunterfahren";
    RegisterClassW(&wc);
    HWND fenster = CreateWindowW(wc.lpszClassName, L"", 0, 0, 0, 10, 10, nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(fenster, nullptr);
    MitOK([&] {
        EXPECT_FALSE(dlg->Morrick.Checked());
        EXPECT_FALSE(dlg->Tessaly.Checked());
        Klick(dlg->Morrick);
        Klick(dlg->Tessaly);
    });
    DestroyWindow(fenster);
    EXPECT_EQ(Ziel(Link(L"Morrick.lnk")), AsciiLower(morrick));
    EXPECT_EQ(Ziel(Link(L"Tessaly.lnk")), AsciiLower(tessaly));
    EXPECT_EQ(starts, std::vector<std::wstring>{L"open " + tessaly});
    EXPECT_TRUE(boxes.Calls().empty());

    // Ticked with its shortcut there, Tessaly is left alone.
    MitOK([&] {
        EXPECT_TRUE(dlg->Morrick.Checked());
        EXPECT_TRUE(dlg->Tessaly.Checked());
        Klick(dlg->Morrick);
    });
    EXPECT_FALSE(FileExists(Link(L"Morrick.lnk")));
    EXPECT_TRUE(FileExists(Link(L"Tessaly.lnk")));
    EXPECT_TRUE(FileExists(morrick));
    EXPECT_EQ(starts.size(), 1u);
}

TEST_F(ExittoolsTest, AMissingProgramGivesItsBoxAndNoShortcut) {
    DeleteFileW(tessaly.c_str());
    MitOK([&] { Klick(dlg->Tessaly); });
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Die Datei \"Tessaly.exe\" konnte nicht gefunden werden.\rBitte stellen Sie "
                                     L"sicher, daß sie sich im Velmora-Programmverzeichnis befindet.");
    EXPECT_FALSE(FileExists(Link(L"Tessaly.lnk")));
    EXPECT_TRUE(starts.empty());
}
