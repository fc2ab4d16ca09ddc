#include <gtest/gtest.h>

#include "foundation/controls/FileLbl.h"

using namespace velmora;

namespace {

// Every character is 8 pixels wide.
class TFixedWidthLabel : public TFileLabel {
public:
    using TFileLabel::TFileLabel;

protected:
    int TextWidth(const std::wstring& text) override { return 8 * static_cast<int>(text.size()); }
};

const std::wstring kPath = L"c:\\eins\\zwei\\drei\\datei.txt";  // 27 characters, 216 pixels

std::wstring CaptionAt(const std::wstring& fileName, int width, TDirection direction = TDirection::drFromLeft) {
    TFixedWidthLabel label(nullptr);
    label.SetDirection(direction);
    label.SetWidth(width);
    label.SetFileName(fileName);
    return label.Caption();
}

}  // namespace

TEST(FileLabel, ShortensToTheWidthOfTheLabel) {
    struct Case {
        const wchar_t* fileName;
        int width;
        TDirection direction;
        const wchar_t* caption;
    } cases[] = {
        {kPath.c_str(), 216, TDirection::drFromLeft, L"c:\\eins\\zwei\\drei\\datei.txt"},
        // Slightly too narrow: one middle folder fits, next to the dots.
        {kPath.c_str(), 200, TDirection::drFromLeft, L"c:\\...\\drei\\datei.txt"},
        {kPath.c_str(), 200, TDirection::drFromRight, L"c:\\eins\\...\\datei.txt"},
        {kPath.c_str(), 168, TDirection::drFromLeft, L"c:\\...\\drei\\datei.txt"},
        {kPath.c_str(), 167, TDirection::drFromLeft, L"c:\\...\\datei.txt"},
        {kPath.c_str(), 167, TDirection::drFromRight, L"c:\\...\\datei.txt"},
        // No room for the drive: the dots and the last component.
        {kPath.c_str(), 105, TDirection::drFromLeft, L"...\\datei.txt"},
        // Not even for the dots: the last component alone, clipped when painted.
        {kPath.c_str(), 104, TDirection::drFromLeft, L"datei.txt"},
        {kPath.c_str(), 40, TDirection::drFromRight, L"datei.txt"},
        // Without a drive nothing stands before the dots.
        {L"eins\\zwei\\drei\\datei.txt", 150, TDirection::drFromLeft, L"...\\drei\\datei.txt"},
        {L"eins\\zwei\\drei\\datei.txt", 150, TDirection::drFromRight, L"eins\\...\\datei.txt"},
        // A one-letter first component is no drive.
        {L"c\\eins\\zwei\\datei.txt", 150, TDirection::drFromLeft, L"...\\zwei\\datei.txt"},
        // A folder with its trailing separator has an empty last component.
        {L"c:\\eins\\zwei\\", 80, TDirection::drFromLeft, L"c:\\...\\"},
        {L"", 0, TDirection::drFromLeft, L""},
        // The prompt of the command line.
        {L"c:\\windows\\system\\viewers>", 150, TDirection::drFromLeft, L"c:\\...\\viewers>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CaptionAt(c.fileName, c.width, c.direction), c.caption) << c.fileName << " in " << c.width;
}

TEST(FileLabel, FollowsEveryChangeOfSizeDirectionAndSeparator) {
    TFixedWidthLabel label(nullptr);
    EXPECT_FALSE(label.AutoSize());
    label.SetWidth(200);
    label.SetFileName(kPath);
    EXPECT_EQ(label.Caption(), L"c:\\...\\drei\\datei.txt");
    label.SetWidth(216);
    EXPECT_EQ(label.Caption(), kPath);
    label.SetWidth(200);
    label.SetDirection(TDirection::drFromRight);
    EXPECT_EQ(label.Caption(), L"c:\\eins\\...\\datei.txt");
    label.SetFileName(L"c:/eins/zwei/drei/datei.txt");
    EXPECT_EQ(label.Caption(), L"c:/eins/zwei/drei/datei.txt");  // one component, wider than the label
    label.SetSeparator(L"/");
    EXPECT_EQ(label.Caption(), L"c:/eins/.../datei.txt");
    EXPECT_EQ(label.FileName(), L"c:/eins/zwei/drei/datei.txt");
}

TEST(FileLabel, AnEmptySeparatorGivesOneComponent) {
    TFixedWidthLabel label(nullptr);
    label.SetWidth(100);
    label.SetSeparator(L"");
    label.SetFileName(kPath);
    EXPECT_EQ(label.Caption(), kPath);
    label.SetFileName(L"abcdefghijklmnop:");
    EXPECT_EQ(label.Caption(), L"abcdefghijklmnop:");
}
