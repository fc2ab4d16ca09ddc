#include "FileLbl.h"

#include "platform/gui/Canvas.h"

namespace velmora {

using namespace gui;

TFileLabel::TFileLabel(TComponent* owner) : TLabel(owner) { SetAutoSize(false); }

void TFileLabel::SetFileName(const std::wstring& value) {
    if (value == m_fileName) return;
    m_fileName = value;
    Split();
    UpdateCaption();
}

void TFileLabel::SetDirection(TDirection value) {
    if (value == m_direction) return;
    m_direction = value;
    UpdateCaption();
}

void TFileLabel::SetSeparator(const std::wstring& value) {
    if (value == m_separator) return;
    m_separator = value;
    Split();
    UpdateCaption();
}

void TFileLabel::Resized() {
    UpdateCaption();
    TLabel::Resized();
}

void TFileLabel::FontChanged() {
    UpdateCaption();
    TLabel::FontChanged();
}

int TFileLabel::TextWidth(const std::wstring& text) {
    HDC dc = GetDC(nullptr);
    int width;
    {
        TCanvas canvas(dc);
        canvas.Font = Font;
        width = canvas.TextWidth(text);
    }
    ReleaseDC(nullptr, dc);
    return width;
}

// Every separator cuts, empty pieces included; an empty separator cuts nothing.
void TFileLabel::Split() {
    m_components.clear();
    size_t start = 0;
    if (!m_separator.empty()) {
        for (size_t at; (at = m_fileName.find(m_separator, start)) != std::wstring::npos;
             start = at + m_separator.size())
            m_components.push_back(m_fileName.substr(start, at - start));
    }
    m_components.push_back(m_fileName.substr(start));
    const std::wstring& first = m_components.front();
    m_drive = first.size() > 1 && first.back() == L':';
}

void TFileLabel::UpdateCaption() { SetCaption(ShortenedCaption()); }

std::wstring TFileLabel::ShortenedCaption() {
    const int w = Width();
    if (m_fileName.empty() || TextWidth(m_fileName) <= w) return m_fileName;
    const std::wstring dots = L"..." + m_separator;
    const std::wstring& last = m_components.back();
    if (TextWidth(dots + last) >= w) return last;
    std::wstring drive;
    size_t first = 0;
    if (m_drive) {
        drive = m_components.front() + m_separator;
        first = 1;
    }
    if (TextWidth(drive + dots + last) >= w) return dots + last;
    const size_t end = m_components.size() - 1;  // the middle is [first, end)
    std::wstring middle;
    if (m_direction == TDirection::drFromLeft) {
        for (size_t i = end; i-- > first;) {
            std::wstring wider = m_components[i] + m_separator + middle;
            if (TextWidth(drive + dots + wider + last) > w) break;
            middle = wider;
        }
        return drive + dots + middle + last;
    }
    for (size_t i = first; i < end; ++i) {
        std::wstring wider = middle + m_components[i] + m_separator;
        if (TextWidth(drive + wider + dots + last) > w) break;
        middle = wider;
    }
    return drive + middle + dots + last;
}

}  // namespace velmora
