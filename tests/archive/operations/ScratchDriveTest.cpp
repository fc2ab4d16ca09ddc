// An archive on a drive the system reports as CD-ROM drive is refused before
// any packer runs: a drive of that type made by scratchdrive, judged by the
// routines' own drive type.

#include <gtest/gtest.h>

#include "PackerFixture.h"

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

}  // namespace
