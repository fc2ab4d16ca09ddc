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
