#include "PieChart.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "platform/gui/Canvas.h"
#include "platform/gui/ListBox.h"
#include "platform/rtl/LocaleTexts.h"
#include "platform/rtl/Strings.h"

namespace velmora {

using namespace gui;

namespace {

constexpr double kFullCircle = 2 * std::numbers::pi;

// The classic quicksort, middle element as pivot, largest first. It exchanges
// equal values too (two equal slices change places): the dialogs that feed
// the chart choose their colours knowing that.
void QuickSort(std::vector<TPieChart::TSlice>& s, int left, int right) {
    int i, j;
    do {
        i = left;
        j = right;
        const double pivot = s[static_cast<size_t>((left + right) / 2)].Value;
        do {
            while (s[static_cast<size_t>(i)].Value > pivot) ++i;
            while (s[static_cast<size_t>(j)].Value < pivot) --j;
            if (i <= j) {
                std::swap(s[static_cast<size_t>(i)], s[static_cast<size_t>(j)]);
                ++i;
                --j;
            }
        } while (i <= j);
        if (left < j)
            QuickSort(s, left, j);
        left = i;
    } while (i < right);
}

}  // namespace

TPieChart::TPieChart(TComponent* owner)
    : TGraphicControl(owner),
      m_colours{RGB(255, 224, 224), RGB(255, 255, 224), RGB(224, 255, 224),
                RGB(224, 255, 255), RGB(224, 224, 255), RGB(255, 224, 255)} {
    m_width = 65;
    m_height = 65;
}

TColor TPieChart::Colour(int n) const { return m_colours[(n - 1) % kColours]; }

void TPieChart::SetColour(int n, TColor value) {
    if (n < 1 || n > kColours)
        return;
    m_colours[n - 1] = value;
    Invalidate();
}

void TPieChart::SetListBox(TListBox* listBox) {
    if (m_listBox)
        RemoveFreeNotification(m_listBox);
    m_listBox = listBox;
    if (listBox)
        FreeNotification(listBox);
}

void TPieChart::Notification(TComponent* component, TOperation operation) {
    TGraphicControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == m_listBox)
        m_listBox = nullptr;
}

void TPieChart::LoadData(const TStringList& lines) {
    m_slices.clear();
    m_total = 0;
    m_hitLabel.clear();
    if (m_listBox)
        m_listBox->ClearItems();
    for (const std::wstring& raw : lines) {
        const std::wstring line = Trim(raw);
        const size_t blank = line.find(L' ');
        const std::wstring valueText = blank == std::wstring::npos ? line : line.substr(0, blank);
        const std::optional<double> value = TryStrToFloat(valueText);
        // A negative size is a caller's overflow: it would turn the pie backwards.
        if (!value || !std::isfinite(*value) || *value < 0)
            continue;
        m_total += *value;
        m_slices.push_back({*value, blank == std::wstring::npos ? std::wstring() : Trim(line.substr(blank + 1))});
    }
    if (m_slices.size() > 1)
        QuickSort(m_slices, 0, static_cast<int>(m_slices.size()) - 1);
    if (m_listBox)
        for (const TSlice& slice : m_slices) m_listBox->AddItem(slice.Label);
    Invalidate();
}

int TPieChart::SliceAt(int x, int y) const {
    if (m_total <= 0)
        return -1;
    const double dx = x - m_width / 2;
    const double dy = m_height / 2 - y;
    if (std::sqrt(dx * dx + dy * dy) >= std::max(m_width, m_height) / 2.0)
        return -1;
    double angle = std::atan2(dy, dx);
    if (angle < 0)
        angle += kFullCircle;
    double start = 0;
    for (size_t i = 0; i < m_slices.size(); ++i) {
        const double sweep = kFullCircle * m_slices[i].Value / m_total;
        if (start <= angle && angle < start + sweep)
            return static_cast<int>(i);
        start += sweep;
    }
    return -1;
}

bool TPieChart::Hit() {
    const int slice = SliceAt(m_lastMouse.x, m_lastMouse.y);
    if (slice < 0)
        return false;
    m_hitLabel = m_slices[static_cast<size_t>(slice)].Label;
    return true;
}

void TPieChart::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    m_lastMouse = {x, y};
    TGraphicControl::MouseDown(button, shift, x, y);
}

void TPieChart::MouseMove(TShiftState shift, int x, int y) {
    m_lastMouse = {x, y};
    TGraphicControl::MouseMove(shift, x, y);
}

void TPieChart::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    m_lastMouse = {x, y};
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button == TMouseButton::mbRight && Hit() && OnRightClick)
        OnRightClick(this);
}

// Only a double click on a slice is told.
void TPieChart::DblClick() {
    if (Hit() && OnDblClick)
        OnDblClick(this);
}

void TPieChart::Paint() {
    TCanvas& canvas = Canvas();
    if (m_total <= 0)
        return;
    const int w = m_width, h = m_height;
    const double cx = w / 2.0, cy = h / 2.0;
    canvas.Pen.Color = clBlack;
    canvas.Pen.Style = TPenStyle::psSolid;
    canvas.Brush.Style = TBrushStyle::bsSolid;
    // The largest slice is the disc beneath, the others are cut out of it as
    // polygons along the rim: the drivers' own pie calls paint the whole disc
    // for equal radials and a thin slice at three o'clock as its complement.
    canvas.Brush.Color = Colour(1);
    canvas.Ellipse(0, 0, w, h);
    double start = kFullCircle * m_slices[0].Value / m_total;
    for (size_t i = 1; i < m_slices.size(); ++i) {
        const double sweep = kFullCircle * m_slices[i].Value / m_total;
        if (sweep > 0) {
            std::vector<POINT> points{{static_cast<int>(std::lround(cx)), static_cast<int>(std::lround(cy))}};
            const int steps = std::max(1, static_cast<int>(std::ceil(sweep / (kFullCircle / 180))));
            for (int k = 0; k <= steps; ++k) {
                const double angle = start + sweep * k / steps;
                points.push_back({static_cast<int>(std::lround(cx + cx * std::cos(angle))),
                                  static_cast<int>(std::lround(cy - cy * std::sin(angle)))});
            }
            canvas.Brush.Color = Colour(static_cast<int>(i) + 1);
            canvas.Polygon(points.data(), static_cast<int>(points.size()));
        }
        start += sweep;
    }
    // Labels near the middle of each slice, over the colours; one wider than
    // the pie would only run into the others, and is left out.
    canvas.Font = Font;
    canvas.Brush.Style = TBrushStyle::bsClear;
    start = 0;
    for (const TSlice& slice : m_slices) {
        const double sweep = kFullCircle * slice.Value / m_total;
        if (sweep > 0 && !slice.Label.empty()) {
            const double middle = start + sweep / 2;
            const SIZE extent = canvas.TextExtent(slice.Label);
            if (extent.cx > w) {
                start += sweep;
                continue;
            }
            const double r = sweep >= kFullCircle ? 0.0 : 0.55;
            // Kept inside the control where the middle of the slice lies near its rim.
            const int tw = static_cast<int>(extent.cx), th = static_cast<int>(extent.cy);
            const int x = std::clamp(static_cast<int>(std::lround(cx + r * cx * std::cos(middle))) - tw / 2, 0, w - tw);
            const int y = std::clamp(static_cast<int>(std::lround(cy - r * cy * std::sin(middle))) - th / 2, 0,
                                     std::max(0, h - th));
            canvas.TextOut(x, y, slice.Label);
        }
        start += sweep;
    }
}

}  // namespace velmora
