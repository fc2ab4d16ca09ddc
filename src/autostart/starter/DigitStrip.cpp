#include "DigitStrip.h"

namespace velmora {

namespace {

// A memory DC with one bitmap selected for the lifetime of the object.
class TMemoryDC {
public:
    TMemoryDC(HDC like, HBITMAP bitmap) : m_dc(CreateCompatibleDC(like)) {
        if (m_dc) m_old = SelectObject(m_dc, bitmap);
    }
    ~TMemoryDC() {
        if (!m_dc) return;
        SelectObject(m_dc, m_old);
        DeleteDC(m_dc);
    }
    TMemoryDC(const TMemoryDC&) = delete;
    TMemoryDC& operator=(const TMemoryDC&) = delete;
    HDC Get() const { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_old = nullptr;
};

}  // namespace

TDigitStrip::~TDigitStrip() { Release(); }

void TDigitStrip::Release() {
    if (m_bitmap) DeleteObject(m_bitmap);
    m_bitmap = nullptr;
    m_width = m_height = 0;
}

void TDigitStrip::Assign(HBITMAP source) {
    Release();
    BITMAP info{};
    if (!source || !GetObjectW(source, sizeof(info), &info)) return;
    m_bitmap = static_cast<HBITMAP>(CopyImage(source, IMAGE_BITMAP, 0, 0, 0));
    if (!m_bitmap) return;
    m_width = info.bmWidth;
    m_height = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
}

bool TDigitStrip::LoadFromResource(HINSTANCE module, const wchar_t* name) {
    HBITMAP loaded = static_cast<HBITMAP>(LoadImageW(module, name, IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
    Assign(loaded);
    if (loaded) DeleteObject(loaded);
    return !Empty();
}

void TDigitStrip::DrawCells(HDC target, const std::vector<TDigitCell>& cells, int numberWidth, int top) const {
    if (Empty()) return;
    TMemoryDC source(target, m_bitmap);
    if (!source.Get()) return;
    for (const TDigitCell& cell : cells) {
        if (cell.SourceLeft)
            BitBlt(target, cell.Left, top, numberWidth, m_height, source.Get(), *cell.SourceLeft, 0, SRCCOPY);
    }
}

}  // namespace velmora
