// The pixel enlarged with GDI: a diagram's samples, rings and crosses, or an evaluation's covered
// samples, their centroid and the point the input was evaluated at.
#include "viewer/view_painters.h"

#include <algorithm>

#include "viewer/gdi_drawing.h"

namespace {

// The pixel's own colours: its fill and lines, a position's interval, the numbers on the dots.
struct PixelColours {
    COLORREF fill, sixteenth, half, interval, number;
};
constexpr PixelColours kPixel = {RGB(246, 246, 246), RGB(228, 228, 228), RGB(196, 196, 196), RGB(250, 212, 212),
                                 RGB(255, 255, 255)};

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

POINT At(const Layout& layout, double x, double y) {
    return POINT{layout.left + Scale(layout, x), layout.top + Scale(layout, y)};
}

POINT At(const Layout& layout, const ViewPoint& point) {
    return At(layout, DrawnPlace(point.x), DrawnPlace(point.y));
}

void PaintPixel(HDC dc, const RECT& area, const Layout& layout) {
    FillRectangle(dc, area, kPictureBackground);
    const RECT pixel = {layout.left, layout.top, layout.left + layout.side, layout.top + layout.side};
    FillRectangle(dc, pixel, kPixel.fill);
    for (int step = 1; step < 16; ++step) {
        const int offset = Scale(layout, step / 16.0);
        Selected pen(dc, CreatePen(PS_SOLID, 1, step == 8 ? kPixel.half : kPixel.sixteenth));
        MoveToEx(dc, layout.left + offset, layout.top, nullptr);
        LineTo(dc, layout.left + offset, layout.top + layout.side);
        MoveToEx(dc, layout.left, layout.top + offset, nullptr);
        LineTo(dc, layout.left + layout.side, layout.top + offset);
    }
    Selected pen(dc, CreatePen(PS_SOLID, 1, kPictureLine));
    HGDIOBJ oldBrush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, pixel.left, pixel.top, pixel.right + 1, pixel.bottom + 1);
    SelectObject(dc, oldBrush);
}

// Where a position is an interval rather than one 1/16 step, the area it may lie in.
void PaintIntervals(HDC dc, const Layout& layout, const std::vector<ViewPoint>& samples) {
    for (const ViewPoint& sample : samples) {
        if (sample.x.exact && sample.y.exact) continue;
        const auto low = [](const ViewAxis& axis) { return axis.exact ? axis.low - 1 / 64.0 : axis.low; };
        const auto high = [](const ViewAxis& axis) { return axis.exact ? axis.low + 1 / 64.0 : axis.high; };
        const POINT from = At(layout, low(sample.x), low(sample.y));
        const POINT to = At(layout, high(sample.x), high(sample.y));
        FillRectangle(dc, RECT{from.x, from.y, to.x, to.y}, kPixel.interval);
    }
}

// Dots numbered as the table's rows.
void PaintNumberedDots(HDC dc, const Layout& layout, const std::vector<ViewPoint>& samples, int radius) {
    Selected font(dc, CreateFontA(-(radius + radius / 2), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                  OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                  "MS Shell Dlg"));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, kPixel.number);
    for (const ViewPoint& sample : samples) {
        const POINT p = At(layout, sample);
        // Wide enough for a label that names several coincident samples ("0-3").
        SIZE extent = {};
        GetTextExtentPoint32A(dc, sample.label.c_str(), static_cast<int>(sample.label.size()), &extent);
        const int r = std::max<int>(radius, extent.cx / 2 + 3);
        PaintDot(dc, p, r, kSampleDotColour, true);
        RECT box = {p.x - r, p.y - r, p.x + r + 1, p.y + r + 1};
        DrawTextA(dc, sample.label.c_str(), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

}  // namespace

POINT DiagramPoint(const RECT& area, double x, double y) { return At(LayoutFor(area), x, y); }

int MarkRadius(const RECT& area) { return std::max(6, LayoutFor(area).side / 26); }

void PaintDot(HDC dc, POINT c, int radius, COLORREF colour, bool filled) {
    Selected pen(dc, CreatePen(PS_SOLID, filled ? 1 : 2, colour));
    HGDIOBJ oldBrush = nullptr;
    HBRUSH brush = filled ? CreateSolidBrush(colour) : nullptr;
    oldBrush = SelectObject(dc, filled ? static_cast<HGDIOBJ>(brush) : GetStockObject(NULL_BRUSH));
    Ellipse(dc, c.x - radius, c.y - radius, c.x + radius + 1, c.y + radius + 1);
    SelectObject(dc, oldBrush);
    if (brush != nullptr) DeleteObject(brush);
}

void PaintDiamond(HDC dc, POINT c, int r, COLORREF colour) {
    Selected pen(dc, CreatePen(PS_SOLID, 2, colour));
    const POINT corners[] = {{c.x, c.y - r}, {c.x + r, c.y}, {c.x, c.y + r}, {c.x - r, c.y}, {c.x, c.y - r}};
    Polyline(dc, corners, 5);
}

void PaintCross(HDC dc, POINT c, int r, COLORREF colour, int width) {
    Selected pen(dc, CreatePen(PS_SOLID, width, colour));
    MoveToEx(dc, c.x - r, c.y - r, nullptr);
    LineTo(dc, c.x + r + 1, c.y + r + 1);
    MoveToEx(dc, c.x + r, c.y - r, nullptr);
    LineTo(dc, c.x - r - 1, c.y + r + 1);
}

void PaintDiagram(HDC dc, const RECT& area, const ViewDiagram& diagram) {
    const Layout layout = LayoutFor(area);
    const int radius = MarkRadius(area);
    PaintPixel(dc, area, layout);
    PaintIntervals(dc, layout, diagram.samples);
    for (const ViewPoint& ring : diagram.standard) PaintDot(dc, At(layout, ring), radius + 4, kStandardRingColour, false);
    // Under the dots, and reaching past them and the rings where the texture is sampled at a
    // sample's position.
    for (const ViewPoint& cross : diagram.texture) PaintCross(dc, At(layout, cross), 2 * radius + 2, kTextureCrossColour, 2);
    PaintNumberedDots(dc, layout, diagram.samples, radius);
}

void PaintEvaluation(HDC dc, const RECT& area, const ViewEvaluation& evaluation) {
    const Layout layout = LayoutFor(area);
    const int radius = MarkRadius(area);
    PaintPixel(dc, area, layout);
    for (const ViewPoint& sample : evaluation.uncovered) PaintDot(dc, At(layout, sample), radius, kUncoveredSampleColour, false);
    PaintNumberedDots(dc, layout, evaluation.covered, radius);
    if (evaluation.centroid) {
        PaintDiamond(dc, At(layout, evaluation.centroid->x, evaluation.centroid->y), radius + 3, kCentroidMarkColour);
    }
    PaintDot(dc, At(layout, 0.5, 0.5), radius / 2 + 1, kPictureText, false);
    PaintCross(dc, At(layout, evaluation.evaluated.x, evaluation.evaluated.y), radius + 3, kEvaluatedColour, 3);
}
