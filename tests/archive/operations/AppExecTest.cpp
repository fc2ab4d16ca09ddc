// TAppExec starting the recording packer: waiting, not waiting, the command
// line's room, and programs it must refuse to run.

#include <gtest/gtest.h>

#include "PackRec.h"
#include "foundation/AppExec.h"
#include "platform/gui/Testing.h"

using namespace velmora;
using packrectest::Exists;
using packrectest::TPackRec;

namespace {

std::wstring Failure(TAppExec& exec) {
    try {
        exec.Execute();
    } catch (const EAppExecWinExec& e) {
        return e.Message();
    }
    return L"started";
}

TEST(AppExec, WorkingFolderLosesItsTrailingBackslashButADriveRootKeepsIt) {
    TAppExec exec(nullptr);
    exec.SetExePath(L"C:\\");
    EXPECT_EQ(exec.ExePath(), L"C:\\");
    exec.SetExePath(L"C:\\Packer\\");
    EXPECT_EQ(exec.ExePath(), L"C:\\Packer");
}

TEST(AppExec, WaitReturnsOnlyAfterTheProgramEnded) {
    TPackRec rec;
    TAppExec exec(nullptr);
    exec.ExeName = rec.Install(L"arj.exe");
    exec.ExeParams.Add(L"a");
    exec.SetExePath(rec.Folder.Path());
    exec.Wait = true;
    exec.WindowState = gui::TWindowState::wsMinimized;
    SetEnvironmentVariableW(L"PACKREC_SLEEP", L"1000");
    SetEnvironmentVariableW(L"PACKREC_WRITE", L"done.txt");
    exec.Execute();
    EXPECT_TRUE(Exists(rec.Folder.Path() + L"done.txt"));
    EXPECT_EQ(exec.ErrNo(), 0);
    // The program path holds a blank: it reached the program whole.
    const auto runs = rec.Runs();
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].Args, std::vector<std::wstring>{L"a"});
    EXPECT_EQ(runs[0].Show, SW_SHOWMINIMIZED);
}

TEST(AppExec, WithoutWaitReturnsWhileTheProgramStillRuns) {
    TPackRec rec;
    TAppExec exec(nullptr);
    exec.ExeName = rec.Install(L"lha.exe");
    exec.SetExePath(rec.Folder.Path());
    SetEnvironmentVariableW(L"PACKREC_SLEEP", L"1000");
    SetEnvironmentVariableW(L"PACKREC_WRITE", L"done.txt");
    exec.Execute();
    EXPECT_FALSE(Exists(rec.Folder.Path() + L"done.txt"));
    // Let it end before its folder goes.
    EXPECT_TRUE(gui::WaitUntil([&] { return !rec.Runs().empty(); }, 30000));
}

TEST(AppExec, FailedStartsSayWhy) {
    TPackRec rec;
    TAppExec exec(nullptr);
    exec.ExeName = rec.Bin() + L"fehlt.exe";
    EXPECT_EQ(Failure(exec), L"Datei wurde nicht gefunden");
    EXPECT_EQ(exec.ErrNo(), 2);

    exec.ExeName = rec.Folder.MakeFile(L"liesmich.txt", 100);
    exec.Wait = true;
    EXPECT_EQ(Failure(exec), L"Das Programm konnte nicht gestartet werden (Fehler 193).");
}

TEST(AppExec, ACommandLineBeyondItsRoomStartsNothing) {
    TPackRec rec;
    TAppExec exec(nullptr);
    exec.ExeName = rec.Install(L"zip.exe");
    exec.ExeParams.Add(std::wstring(600, L'x'));
    exec.Wait = true;
    EXPECT_EQ(Failure(exec), L"Das Programm konnte nicht gestartet werden (Fehler 206).");
    EXPECT_TRUE(rec.Runs().empty());
}

TEST(AppExec, ProgramsOfTheHostSystemNeverRun) {
    TPackRec rec;
    TAppExec exec(nullptr);
    exec.SetExePath(rec.Folder.Path());
    exec.Wait = true;
    const std::wstring marker = rec.Folder.Path() + L"ran.txt";
    const std::wstring script = rec.Folder.Path() + L"skript.exe";
    {
        HANDLE h = CreateFileW(script.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        const char text[] = "#!/bin/sh\ntouch ran.txt\n";
        DWORD put = 0;
        WriteFile(h, text, sizeof text - 1, &put, nullptr);
        CloseHandle(h);
    }
    // Named without ".exe": the file the system would run is still found.
    exec.ExeName = rec.Folder.Path() + L"skript";
    EXPECT_EQ(Failure(exec), L"Das Programm konnte nicht gestartet werden (Fehler 193).");

    const std::wstring elf = rec.Folder.Path() + L"elf.exe";
    ASSERT_TRUE(CopyFileW(L"Z:\\bin\\true", elf.c_str(), FALSE));
    exec.ExeName = elf;
    EXPECT_EQ(Failure(exec), L"Das Programm konnte nicht gestartet werden (Fehler 193).");
    EXPECT_FALSE(Exists(marker));
}

}  // namespace
