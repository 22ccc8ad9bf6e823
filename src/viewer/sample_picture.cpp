// The owner-drawn picture of the "Sample Positions" dialog.
#include "viewer/sample_picture.h"

#include <algorithm>
#include <cstdio>

#include "analysis/positions/standard_sample_patterns.h"
#include "viewer/gdi_drawing.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kPixelFill = RGB(246, 246, 246);
constexpr COLORREF kSixteenthLine = RGB(228, 228, 228);
constexpr COLORREF kHalfLine = RGB(196, 196, 196);
constexpr COLORREF kPixelBorder = RGB(96, 96, 96);
constexpr COLORREF kIntervalFill = RGB(250, 212, 212);
constexpr COLORREF kNumberColour = RGB(255, 255, 255);

struct Layout {
    int left;
    int top;
    int side;  // the pixel square's side
};

Layout LayoutFor(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int square = std::max(0, std::min(width, height));
    // Room around the pixel for the dots, rings and crosses of samples on its edges.
    const int margin = std::max(12, square / 14);
    Layout layout;
    layout.side = std::max(1, square - 2 * margin);
    layout.left = area.left + (width - layout.side) / 2;
    layout.top = area.top + (height - layout.side) / 2;
    return layout;
}

int Scale(const Layout& layout, double value) {
    return static_cast<int>(value * layout.side + (value < 0 ? -0.5 : 0.5));
}

void DrawGrid(HDC dc, const Layout& layout) {
    const RECT pixel = {layout.left, layout.top, layout.left + layout.side,
                        layout.top + layout.side};
    FillRectangle(dc, pixel, kPixelFill);
    for (int step = 1; step < 16; ++step) {
        const int offset = Scale(layout, step / 16.0);
        Selected pen(dc, CreatePen(PS_SOLID, 1, step == 8 ? kHalfLine : kSixteenthLine));
        MoveToEx(dc, layout.left + offset, layout.top, nullptr);
        LineTo(dc, layout.left + offset, layout.top + layout.side);
        MoveToEx(dc, layout.left, layout.top + offset, nullptr);
        LineTo(dc, layout.left + layout.side, layout.top + offset);
    }
    Selected pen(dc, CreatePen(PS_SOLID, 1, kPixelBorder));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, pixel.left, pixel.top, pixel.right + 1, pixel.bottom + 1);
    SelectObject(dc, oldBrush);
}

// Where a position is an interval rather than one 1/16 step, the area it may lie in.
void DrawIntervals(HDC dc, const Layout& layout, const std::vector<SamplePosition>& samples) {
    for (const SamplePosition& sample : samples) {
        if (sample.x.exact && sample.y.exact) continue;
        const AxisPosition& x = sample.x;
        const AxisPosition& y = sample.y;
        const RECT box = {layout.left + Scale(layout, x.exact ? x.sixteenths / 16.0 - 1 / 64.0 : x.low),
                          layout.top + Scale(layout, y.exact ? y.sixteenths / 16.0 - 1 / 64.0 : y.low),
                          layout.left + Scale(layout, x.exact ? x.sixteenths / 16.0 + 1 / 64.0 : x.high),
                          layout.top + Scale(layout, y.exact ? y.sixteenths / 16.0 + 1 / 64.0 : y.high)};
        FillRectangle(dc, box, kIntervalFill);
    }
}

int SampleCount(const SampleMeasurement& m) {
    int count = 0;
    for (const SamplePosition& sample : m.samples) count += sample.count;
    return count;
}

void DrawStandardRings(HDC dc, const Layout& layout, const SampleMeasurement& m, int radius) {
    const StandardSamplePattern pattern = StandardPatternFor(SampleCount(m));
    if (pattern.points == nullptr) return;
    Selected pen(dc, CreatePen(PS_SOLID, 2, kStandardRingColour));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    for (int i = 0; i < pattern.count; ++i) {
        const int x = layout.left + Scale(layout, pattern.points[i].x / 16.0);
        const int y = layout.top + Scale(layout, pattern.points[i].y / 16.0);
        Ellipse(dc, x - radius, y - radius, x + radius + 1, y + radius + 1);
    }
    SelectObject(dc, oldBrush);
}

void DrawTextureCrosses(HDC dc, const Layout& layout, const SampleMeasurement& m, int size) {
    Selected pen(dc, CreatePen(PS_SOLID, 2, kTextureCrossColour));
    for (const SamplePosition& sample : m.texturePositions) {
        const int x = layout.left + Scale(layout, DrawnPosition(sample.x));
        const int y = layout.top + Scale(layout, DrawnPosition(sample.y));
        MoveToEx(dc, x - size, y - size, nullptr);
        LineTo(dc, x + size + 1, y + size + 1);
        MoveToEx(dc, x + size, y - size, nullptr);
        LineTo(dc, x - size - 1, y + size + 1);
    }
}

void DrawSampleDots(HDC dc, const Layout& layout, const SampleMeasurement& m, int radius) {
    Selected pen(dc, CreatePen(PS_SOLID, 1, kSampleDotColour));
    Selected brush(dc, CreateSolidBrush(kSampleDotColour));
    Selected font(dc, CreateFontA(-(radius + radius / 2), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                                  DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                  DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Shell Dlg"));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, kNumberColour);
    for (size_t i = 0; i < m.samples.size(); ++i) {
        const SamplePosition& sample = m.samples[i];
        const int x = layout.left + Scale(layout, DrawnPosition(sample.x));
        const int y = layout.top + Scale(layout, DrawnPosition(sample.y));
        Ellipse(dc, x - radius, y - radius, x + radius + 1, y + radius + 1);
        // Numbered as the table's rows: by mask bit where the mask picks samples out.
        char number[16];
        std::snprintf(number, sizeof number, "%d",
                      sample.maskBit >= 0 ? sample.maskBit : static_cast<int>(i));
        RECT box = {x - radius, y - radius, x + radius + 1, y + radius + 1};
        DrawTextA(dc, number, -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

}  // namespace

double DrawnPosition(const AxisPosition& axis) {
    return axis.exact ? axis.sixteenths / 16.0 : (axis.low + axis.high) / 2.0;
}

POINT SamplePicturePoint(const RECT& area, double x, double y) {
    const Layout layout = LayoutFor(area);
    return POINT{layout.left + Scale(layout, x), layout.top + Scale(layout, y)};
}

void DrawSamplePicture(HDC dc, const RECT& area, const SampleMeasurement& m) {
    FillRectangle(dc, area, kBackground);
    const Layout layout = LayoutFor(area);
    const int radius = std::max(6, layout.side / 26);
    DrawGrid(dc, layout);
    DrawIntervals(dc, layout, m.samples);
    DrawStandardRings(dc, layout, m, radius + 4);
    // Under the dots, and reaching past them and the rings where the texture is sampled at a
    // sample's position.
    DrawTextureCrosses(dc, layout, m, 2 * radius + 2);
    DrawSampleDots(dc, layout, m, radius);
}
