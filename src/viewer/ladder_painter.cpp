// A ladder plotted with GDI: the value read back against the samples covered, on the ladder's own
// scale, with the two references it was judged against.
#include "viewer/view_painters.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "viewer/gdi_drawing.h"

namespace {

constexpr COLORREF kPlotFill = RGB(250, 250, 250);
constexpr COLORREF kGridColour = RGB(228, 228, 228);

// The height of the numbers on the axes, in DEFAULT_GUI_FONT.
constexpr int kLine = 14;

// The axes' box: room at the left for the scale's number, below for the samples' numbers.
RECT PlotBox(const RECT& area, const ViewLadder& ladder) {
    constexpr int line = kLine;
    const int digits = static_cast<int>(std::to_string(ladder.valueScale).size());
    const int left = area.left + 8 + digits * 7;
    return RECT{left, area.top + line / 2 + 2, std::max<LONG>(left + 1, area.right - 8),
                std::max<LONG>(area.top + line, area.bottom - line - 4)};
}

POINT PlotPoint(const RECT& plot, const ViewLadder& ladder, double covered, double value) {
    const double x = ladder.samples > 0 ? covered / ladder.samples : 0.0;
    const double y = ladder.valueScale > 0 ? value / ladder.valueScale : 0.0;
    return POINT{plot.left + static_cast<LONG>(std::lround(x * (plot.right - plot.left))),
                 plot.bottom - static_cast<LONG>(std::lround(y * (plot.bottom - plot.top)))};
}

void Text(HDC dc, POINT at, const std::string& text, UINT align) {
    SetTextAlign(dc, align);
    TextOutA(dc, at.x, at.y, text.c_str(), static_cast<int>(text.size()));
}

void PaintFrame(HDC dc, const RECT& plot, const ViewLadder& ladder, int line) {
    FillRectangle(dc, plot, kPlotFill);
    const int samples = std::max(1, ladder.samples);
    const int every = samples <= 8 ? 1 : (samples + 7) / 8;  // numbers that do not run together
    {
        Selected grid(dc, CreatePen(PS_SOLID, 1, kGridColour));
        for (int k = 0; k <= samples; ++k) {
            const POINT p = PlotPoint(plot, ladder, k, 0);
            MoveToEx(dc, p.x, plot.top, nullptr);
            LineTo(dc, p.x, plot.bottom);
            if (k % every == 0 || k == samples) Text(dc, POINT{p.x, plot.bottom + 2}, std::to_string(k), TA_CENTER | TA_TOP);
        }
        for (int quarter = 1; quarter < 4; ++quarter) {
            const POINT p = PlotPoint(plot, ladder, 0, ladder.valueScale * quarter / 4.0);
            MoveToEx(dc, plot.left, p.y, nullptr);
            LineTo(dc, plot.right, p.y);
        }
    }
    Text(dc, POINT{plot.left - 3, plot.top - line / 2}, std::to_string(ladder.valueScale), TA_RIGHT | TA_TOP);
    Text(dc, POINT{plot.left - 3, plot.bottom - line / 2}, "0", TA_RIGHT | TA_TOP);
    Selected axis(dc, CreatePen(PS_SOLID, 1, kPictureLine));
    MoveToEx(dc, plot.left, plot.top, nullptr);
    LineTo(dc, plot.left, plot.bottom);
    LineTo(dc, plot.right, plot.bottom);
}

void PaintLine(HDC dc, const RECT& plot, const ViewLadder& ladder, const std::vector<double>& values, COLORREF colour,
               int width) {
    std::vector<POINT> points;
    for (size_t i = 0; i < values.size() && i < ladder.covered.size(); ++i) {
        points.push_back(PlotPoint(plot, ladder, ladder.covered[i], values[i]));
    }
    if (points.size() < 2) return;
    Selected pen(dc, CreatePen(PS_SOLID, width, colour));
    Polyline(dc, points.data(), static_cast<int>(points.size()));
}

}  // namespace

POINT LadderPoint(const RECT& area, const ViewLadder& ladder, double covered, double value) {
    return PlotPoint(PlotBox(area, ladder), ladder, covered, value);
}

void PaintLadder(HDC dc, const RECT& area, const ViewLadder& ladder) {
    const int saved = BeginPicture(dc, area);
    const RECT plot = PlotBox(area, ladder);
    PaintFrame(dc, plot, ladder, kLine);
    PaintLine(dc, plot, ladder, ladder.stored, kStoredCurveColour, 2);
    PaintLine(dc, plot, ladder, ladder.linear, kLinearCurveColour, 2);
    PaintLine(dc, plot, ladder, ladder.values, kLadderValueColour, 1);
    const int radius = std::clamp(static_cast<int>(plot.right - plot.left) / 40, 2, 4);
    for (size_t i = 0; i < ladder.covered.size() && i < ladder.values.size(); ++i) {
        PaintDot(dc, PlotPoint(plot, ladder, ladder.covered[i], ladder.values[i]), radius, kLadderValueColour, true);
    }
    RestoreDC(dc, saved);
}
