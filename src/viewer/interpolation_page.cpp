// The page's picture is a row of pixel diagrams, one per centroid case, and the multisampling-off
// positions beside them (dots, with the usual positions as rings). In a case's diagram the covered samples
// are filled dots, the others grey rings, the centroid of the covered ones an orange diamond, the
// pixel centre a small black ring, and the evaluated point a green cross (over the centre where
// the modifier is ignored).
#include "viewer/interpolation_page.h"

#include <algorithm>
#include <functional>
#include <cstdio>
#include <string>

#include "viewer/sample_picture.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kPixelFill = RGB(246, 246, 246);
constexpr COLORREF kQuarterLine = RGB(220, 220, 220);
constexpr COLORREF kPixelBorder = RGB(96, 96, 96);
constexpr COLORREF kTextColour = RGB(0, 0, 0);

std::string Coordinate(double value) {
    char text[16];
    std::snprintf(text, sizeof text, "%.3f", value);
    return text;
}

std::string PointText(const PixelPoint& p) { return "(" + Coordinate(p.x) + ", " + Coordinate(p.y) + ")"; }

std::string BitsText(unsigned mask) {
    std::string text;
    for (int bit = 0; bit < 32; ++bit) {
        if (mask >> bit & 1u) text += (text.empty() ? "" : " ") + std::to_string(bit);
    }
    return text.empty() ? "none" : text;
}

class Drawing {
public:
    explicit Drawing(HDC dc) : dc_(dc) {}
    void Fill(const RECT& rect, COLORREF colour) const {
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc_, &rect, brush);
        DeleteObject(brush);
    }
    void Line(POINT a, POINT b, COLORREF colour, int width) const {
        HPEN pen = CreatePen(PS_SOLID, width, colour);
        HGDIOBJ old = SelectObject(dc_, pen);
        MoveToEx(dc_, a.x, a.y, nullptr);
        LineTo(dc_, b.x, b.y);
        SelectObject(dc_, old);
        DeleteObject(pen);
    }
    void Circle(POINT c, int radius, COLORREF colour, bool filled, int width = 2) const {
        HPEN pen = CreatePen(PS_SOLID, width, colour);
        HBRUSH brush = filled ? CreateSolidBrush(colour) : nullptr;
        HGDIOBJ oldPen = SelectObject(dc_, pen);
        HGDIOBJ oldBrush = SelectObject(dc_, filled ? brush : GetStockObject(NULL_BRUSH));
        Ellipse(dc_, c.x - radius, c.y - radius, c.x + radius + 1, c.y + radius + 1);
        SelectObject(dc_, oldBrush);
        SelectObject(dc_, oldPen);
        DeleteObject(pen);
        if (brush) DeleteObject(brush);
    }
    void Diamond(POINT c, int r, COLORREF colour) const {
        Line({c.x, c.y - r}, {c.x + r, c.y}, colour, 2);
        Line({c.x + r, c.y}, {c.x, c.y + r}, colour, 2);
        Line({c.x, c.y + r}, {c.x - r, c.y}, colour, 2);
        Line({c.x - r, c.y}, {c.x, c.y - r}, colour, 2);
    }
    void Cross(POINT c, int r, COLORREF colour) const {
        Line({c.x - r, c.y - r}, {c.x + r + 1, c.y + r + 1}, colour, 3);
        Line({c.x + r, c.y - r}, {c.x - r - 1, c.y + r + 1}, colour, 3);
    }
    void Text(const std::string& text, RECT box, UINT format) const { DrawTextA(dc_, text.c_str(), -1, &box, format); }

private:
    HDC dc_;
};

void DrawPixel(const Drawing& d, const RECT& area) {
    const POINT topLeft = SamplePicturePoint(area, 0.0, 0.0);
    const POINT bottomRight = SamplePicturePoint(area, 1.0, 1.0);
    const RECT pixel = {topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
    d.Fill(pixel, kPixelFill);
    for (int q = 1; q < 4; ++q) {
        d.Line(SamplePicturePoint(area, q / 4.0, 0.0), SamplePicturePoint(area, q / 4.0, 1.0), kQuarterLine, 1);
        d.Line(SamplePicturePoint(area, 0.0, q / 4.0), SamplePicturePoint(area, 1.0, q / 4.0), kQuarterLine, 1);
    }
    d.Line({pixel.left, pixel.top}, {pixel.right, pixel.top}, kPixelBorder, 1);
    d.Line({pixel.right, pixel.top}, {pixel.right, pixel.bottom}, kPixelBorder, 1);
    d.Line({pixel.right, pixel.bottom}, {pixel.left, pixel.bottom}, kPixelBorder, 1);
    d.Line({pixel.left, pixel.bottom}, {pixel.left, pixel.top}, kPixelBorder, 1);
}

int Radius(const RECT& area) {
    return std::max<int>(4, (SamplePicturePoint(area, 1.0, 1.0).x - SamplePicturePoint(area, 0.0, 0.0).x) / 24);
}

// The positions with multisampling off as dots, the usual ones as grey rings.
void DrawPositions(const Drawing& d, const RECT& area, const std::vector<SamplePosition>& usual,
                   const std::vector<SamplePosition>& off) {
    DrawPixel(d, area);
    const int radius = Radius(area);
    for (const SamplePosition& s : usual) {
        d.Circle(SamplePicturePoint(area, DrawnPosition(s.x), DrawnPosition(s.y)), radius, kUncoveredSampleColour, false);
    }
    for (const SamplePosition& s : off) {
        d.Circle(SamplePicturePoint(area, DrawnPosition(s.x), DrawnPosition(s.y)), radius, kCoveredSampleColour, true);
    }
}

void DrawCase(const Drawing& d, const RECT& area, const CentroidMeasurement& m, const CentroidCase& k) {
    DrawPixel(d, area);
    const int radius = Radius(area);
    PixelPoint centroid;
    int covered = 0;
    for (const SamplePosition& s : m.samples) {
        const bool in = s.maskBit >= 0 && (k.covered >> s.maskBit & 1u);
        const double x = DrawnPosition(s.x);
        const double y = DrawnPosition(s.y);
        d.Circle(SamplePicturePoint(area, x, y), radius, in ? kCoveredSampleColour : kUncoveredSampleColour, in);
        if (in) {
            centroid.x += x;
            centroid.y += y;
            ++covered;
        }
    }
    if (covered > 1) {
        d.Diamond(SamplePicturePoint(area, centroid.x / covered, centroid.y / covered), radius + 2, kCentroidMarkColour);
    }
    d.Circle(SamplePicturePoint(area, 0.5, 0.5), radius / 2 + 1, kTextColour, false, 1);
    d.Cross(SamplePicturePoint(area, k.evaluated.x, k.evaluated.y), radius + 3, kEvaluatedColour);
}

// Under the cases: each mark and what it stands for, in one line where the area is wide enough,
// else one a line. Returns the height it takes.
int DrawLegend(const Drawing& d, int left, int top, int width, int radius, int line, bool measureOnly) {
    constexpr int kLabelWidth = 118;
    const int perLine = std::max(1, width / (2 * radius + 6 + kLabelWidth));
    int index = 0;
    const auto item = [&](const char* text, const std::function<void(POINT)>& mark) {
        const int x = left + radius + 2 + (index % perLine) * (2 * radius + 6 + kLabelWidth);
        const int y = top + (index / perLine) * line;
        ++index;
        if (measureOnly) return;
        mark(POINT{x, y + line / 2});
        d.Text(text, RECT{x + radius + 6, y, x + radius + 6 + kLabelWidth, y + line}, DT_LEFT | DT_SINGLELINE);
    };
    item("covered sample", [&](POINT p) { d.Circle(p, radius, kCoveredSampleColour, true); });
    item("not covered", [&](POINT p) { d.Circle(p, radius, kUncoveredSampleColour, false); });
    item("their centroid", [&](POINT p) { d.Diamond(p, radius + 2, kCentroidMarkColour); });
    item("pixel centre", [&](POINT p) { d.Circle(p, radius / 2 + 1, kTextColour, false, 1); });
    item("evaluated (_centroid)", [&](POINT p) { d.Cross(p, radius, kEvaluatedColour); });
    return ((index + perLine - 1) / perLine) * line;
}

void Paint(HDC dc, const RECT& area, const CentroidMeasurement& m, const AntialiasOffMeasurement& off) {
    const Drawing d(dc);
    d.Fill(area, kBackground);
    HFONT font = CreateFontA(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "MS Shell Dlg");
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, kTextColour);
    const int line = 16;
    const int gap = 8;
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    // The cases and the multisampling-off picture are equal squares, as many to a row as make them
    // largest; each has a title line above it and two caption lines below.
    const int panels = static_cast<int>(m.cases.size()) + 1;
    const int legendHeight = DrawLegend(d, area.left + gap, 0, width - 2 * gap, 5, line, true);
    int columns = 1;
    int side = 8;
    for (int tried = 1; tried <= panels; ++tried) {
        const int triedRows = (panels + tried - 1) / tried;
        const int fit = std::min((width - gap * (tried + 1)) / tried,
                                 (height - 3 * line - legendHeight - triedRows * (3 * line + gap)) / triedRows);
        if (fit > side) {
            side = fit;
            columns = tried;
        }
    }
    const auto squareOf = [&](int panel) {
        const int left = area.left + gap + (panel % columns) * (side + gap);
        const int top = area.top + gap + 2 * line + (panel / columns) * (side + 3 * line + gap) + line;
        return RECT{left, top, left + side, top + side};
    };

    RECT heading = {area.left + gap, area.top + gap, area.right - gap, area.top + gap + 2 * line};
    d.Text("Centroid: " + CentroidVerdictText(m), heading, DT_LEFT | DT_WORDBREAK);
    for (int p = 0; p < static_cast<int>(m.cases.size()); ++p) {
        const RECT square = squareOf(p);
        DrawCase(d, square, m, m.cases[p]);
        const RECT caption = {square.left - gap / 2, square.bottom + 2, square.right + gap / 2, square.bottom + 2 + line};
        d.Text("covered " + BitsText(m.cases[p].covered), caption, DT_CENTER | DT_SINGLELINE);
    }
    const RECT square = squareOf(panels - 1);
    RECT title = {square.left - gap / 2, square.top - line - 2, square.right + gap / 2, square.top};
    d.Text("AA off", title, DT_CENTER | DT_SINGLELINE);
    DrawPositions(d, square, m.samples, off.positions.samples);
    RECT caption = {square.left - gap / 2, square.bottom + 2, square.right + gap / 2, square.bottom + 2 + 2 * line};
    d.Text(AntialiasOffColumnText(off), caption, DT_CENTER | DT_WORDBREAK);
    const int legendTop = squareOf(panels - 1).bottom + 2 * line + gap;
    DrawLegend(d, area.left + gap, legendTop, width - 2 * gap, Radius(square), line, false);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

}  // namespace

std::function<void(HDC, const RECT&)> InterpolationPicture(const ModeMeasurement& measurement) {
    const CentroidMeasurement centroid = measurement.centroid;
    const AntialiasOffMeasurement antialiasOff = measurement.antialiasOff;
    return [centroid, antialiasOff](HDC dc, const RECT& area) { Paint(dc, area, centroid, antialiasOff); };
}
