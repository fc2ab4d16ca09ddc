#include <gtest/gtest.h>

#include <string>

#include "platform/gui/Graphics.h"

using namespace velmora::gui;

namespace {

const char* const kMissing =
    " is missing: Wine's fonts come from the package fonts-wine (tools/setup.sh), and tools/wine-prefix.sh "
    "copies them into the prefix's windows\\Fonts";

struct TFaceOf {
    std::wstring Face;
    TEXTMETRICW Metrics{};
};

TFaceOf FaceOf(HFONT font) {
    TFaceOf result;
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE]{};
    GetTextFaceW(dc, LF_FACESIZE, face);
    GetTextMetricsW(dc, &result.Metrics);
    SelectObject(dc, old);
    DeleteDC(dc);
    result.Face = face;
    return result;
}

// The dialogs are laid out for the bitmap "MS Sans Serif"; the caption buttons
// draw their symbols from Marlett.
TEST(Fonts, TheDialogFontIsTheBitmapMsSansSerifAndMarlettIsThere) {
    TFont dialogFont;
    const TFaceOf dialog = FaceOf(dialogFont.Handle());
    EXPECT_EQ(dialog.Face, L"MS Sans Serif") << "\"MS Sans Serif\"" << kMissing;
    EXPECT_EQ(dialog.Metrics.tmPitchAndFamily & (TMPF_VECTOR | TMPF_TRUETYPE), 0)
        << "\"MS Sans Serif\" is no bitmap font:" << kMissing;

    LOGFONTW lf{};
    lf.lfHeight = -13;
    lf.lfCharSet = SYMBOL_CHARSET;
    lstrcpynW(lf.lfFaceName, L"Marlett", LF_FACESIZE);
    HFONT marlett = CreateFontIndirectW(&lf);
    EXPECT_EQ(FaceOf(marlett).Face, L"Marlett") << "Marlett" << kMissing;
    DeleteObject(marlett);
}

}  // namespace

// Wine maps file names to the host's through the host locale: without a UTF-8
// locale a name beyond ASCII cannot be created at all.
TEST(HostLocale, FileNamesBeyondAsciiReachTheDiskWhole) {
    wchar_t temp[MAX_PATH]{};
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    const std::wstring name = L"Gr\u00f6\u00dfe \u20ac\u0416.txt";
    const std::wstring path = std::wstring(temp) + name;
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE)
        << "a file named beyond ASCII cannot be created: Wine runs in the locale de_DE.UTF-8, which "
           "tools/setup.sh generates (package locales)";
    CloseHandle(file);
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW(path.c_str(), &found);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    FindClose(search);
    DeleteFileW(path.c_str());
    EXPECT_EQ(std::wstring(found.cFileName), name);
}
