// Drives of the types that take no archive, made by scratchdrive and judged by
// the routines' own drive type: a CD-ROM drive is refused before any packer
// runs, an empty floppy drive asks for its disk.

#include <gtest/gtest.h>

#include "PackerFixture.h"
#include "filetools/DateiRoutinen.h"

using namespace velmora;
using namespace velmora::archive;

namespace {

class ScratchDrive : public ::testing::Test, protected packrectest::TOperationsUnderTest {
protected:
    ScratchDrive() : TOperationsUnderTest(L"scratchcd") {}
    // Runs scratchdrive with Words, waited for.
    void Drive(std::initializer_list<std::wstring> words) {
        TAppExec run(nullptr);
        run.ExeName = packrectest::WinePath(VELMORA_SCRATCHDRIVE_EXE);
        for (const auto& w : words) run.ExeParams.Add(w);
        run.Wait = true;
        run.Execute();
    }
};

TEST_F(ScratchDrive, ACdRomDriveTakesNoArchive) {
    routines.DriveType = [](const std::wstring& root) { return static_cast<unsigned>(GetDriveTypeW(root.c_str())); };
    routines.Packer.ArjPath = rec.Install(L"arj.exe");
    Drive({L"r", L"/tmp", L"cdrom"});
    const unsigned type = GetDriveTypeW(L"R:\\");
    routines.AddToArchive(L"R:\\t.arj", {L"a.txt"}, ftArj, L"", false, false, 5, false, true, false, 0);
    Drive({L"r"});
    ASSERT_EQ(type, unsigned{DRIVE_CDROM});
    EXPECT_TRUE(rec.Runs().empty());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text, L"Das ausgewählte Laufwerk ist ein CD-ROM-Laufwerk.\rEs ist leider nicht möglich, "
                                     L"darauf ein Archiv anzulegen");
}

// A floppy drive without a medium (its folder is missing) asks before any run;
// Abort starts nothing.
TEST_F(ScratchDrive, AnEmptyFloppyDriveAsksForItsDisk) {
    routines.DriveType = [](const std::wstring& root) { return static_cast<unsigned>(GetDriveTypeW(root.c_str())); };
    TFileOperator op(nullptr);
    TDateiRoutinen files(op);
    routines.DateiRoutinen = &files;
    routines.Packer.ArjPath = rec.Install(L"arj.exe");
    Drive({L"r", L"/tmp/velmora-no-floppy-disk", L"floppy"});
    const unsigned type = GetDriveTypeW(L"R:\\");
    boxes.Answer(gui::mrAbort);
    routines.AddToArchive(L"R:\\t.arj", {L"a.txt"}, ftArj, L"", false, false, 5, false, true, false, 0);
    Drive({L"r"});
    ASSERT_EQ(type, unsigned{DRIVE_REMOVABLE});
    EXPECT_TRUE(rec.Runs().empty());
    ASSERT_EQ(boxes.Calls().size(), 1u);
    EXPECT_EQ(boxes.Calls()[0].Text,
              L"Auf das Laufwerk R:\\ kann nicht zugegriffen werden!\rVermutlich ist kein Datenträger eingelegt.");
}

}  // namespace
