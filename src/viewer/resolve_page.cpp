// The Resolve tab's picture, drawn with GDI.
#include "viewer/resolve_page.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "viewer/gdi_drawing.h"

namespace {

constexpr const char* kNewLine = "\r\n";
constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kAxisColour = RGB(96, 96, 96);
constexpr COLORREF kGridColour = RGB(228, 228, 228);
constexpr COLORREF kTextColour = RGB(0, 0, 0);

std::string Number(double value, int decimals = 0) {
    char text[32];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    return text;
}

void Text(HDC dc, int x, int y, const std::string& text, UINT align = TA_LEFT | TA_TOP) {
    SetTextAlign(dc, align);
    TextOutA(dc, x, y, text.c_str(), static_cast<int>(text.size()));
}

// One line from x to right, cut short with "..." where it does not fit.
void ClippedText(HDC dc, int x, int y, int right, const std::string& text) {
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    RECT box = {x, y, right, y + 16};
    DrawTextA(dc, text.c_str(), -1, &box, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
}

// The plot on one side of the area, the footprint grid on the other: side by side where the
// area is wide, one above the other where it is tall.
struct PictureLayout {
    RECT plot;       // the axes' box
    RECT footprint;  // the grid's square
    RECT notes;      // below it, the coverage line, wrapped
};

PictureLayout LayoutFor(const RECT& area) {
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    RECT plotPart = area;
    RECT gridPart = area;
    if (width >= height) {
        plotPart.right = area.left + width * 3 / 5;
        gridPart.left = plotPart.right;
    } else {
        plotPart.bottom = area.top + height * 3 / 5;
        gridPart.top = plotPart.bottom;
    }
    PictureLayout layout;
    layout.plot = {plotPart.left + 36, plotPart.top + 40, plotPart.right - 12, plotPart.bottom - 34};
    const int side = static_cast<int>(
        std::max<LONG>(0, std::min<LONG>(gridPart.right - gridPart.left - 24, gridPart.bottom - gridPart.top - 60)));
    const int left = gridPart.left + (gridPart.right - gridPart.left - side) / 2;
    layout.footprint = {left, gridPart.top + 40, left + side, gridPart.top + 40 + side};
    layout.notes = {gridPart.left + 8, layout.footprint.bottom + 6, gridPart.right - 8, gridPart.bottom};
    return layout;
}

POINT PlotPoint(const RECT& plot, int samples, int valueScale, double covered, double value) {
    const double x = samples > 0 ? covered / samples : 0.0;
    const double y = valueScale > 0 ? value / valueScale : 0.0;
    return POINT{plot.left + static_cast<LONG>(std::lround(x * (plot.right - plot.left))),
                 plot.bottom - static_cast<LONG>(std::lround(y * (plot.bottom - plot.top)))};
}

void DrawCurve(HDC dc, const RECT& plot, const ResolveMeasurement& m, bool linear, COLORREF colour) {
    const int s = std::max(1, m.transfer.colourSamples);
    Selected pen(dc, CreatePen(PS_SOLID, 2, colour));
    // Fine steps between the rungs: the linear reference bends between them.
    for (int step = 0; step <= 16 * s; ++step) {
        const double k = step / 16.0;
        const double value = linear ? LinearToSrgb(SrgbToLinear(1.0) * k / s) * m.transfer.valueScale : m.transfer.valueScale * k / s;
        const POINT p = PlotPoint(plot, s, m.transfer.valueScale, k, value);
        if (step == 0) MoveToEx(dc, p.x, p.y, nullptr);
        else LineTo(dc, p.x, p.y);
    }
}

void DrawMarks(HDC dc, const RECT& plot, const ResolveMeasurement& m, const std::vector<LadderStep>& ladder,
               COLORREF colour, bool cross) {
    Selected pen(dc, CreatePen(PS_SOLID, 2, colour));
    Selected brush(dc, CreateSolidBrush(colour));
    for (const LadderStep& step : ladder) {
        const POINT p = PlotPoint(plot, std::max(1, m.transfer.colourSamples), m.transfer.valueScale, step.covered, step.value);
        if (cross) {
            MoveToEx(dc, p.x - 5, p.y - 5, nullptr);
            LineTo(dc, p.x + 6, p.y + 6);
            MoveToEx(dc, p.x - 5, p.y + 5, nullptr);
            LineTo(dc, p.x + 6, p.y - 6);
        } else {
            Ellipse(dc, p.x - 4, p.y - 4, p.x + 5, p.y + 5);
        }
    }
}

void DrawPlot(HDC dc, const RECT& plot, const ResolveMeasurement& m) {
    const int s = std::max(1, m.transfer.colourSamples);
    {
        Selected grid(dc, CreatePen(PS_SOLID, 1, kGridColour));
        for (int k = 0; k <= s; ++k) {
            const POINT p = PlotPoint(plot, s, m.transfer.valueScale, k, 0);
            MoveToEx(dc, p.x, plot.top, nullptr);
            LineTo(dc, p.x, plot.bottom);
            if (s <= 8 || k % 2 == 0) Text(dc, p.x, plot.bottom + 4, std::to_string(k), TA_CENTER | TA_TOP);
        }
        for (int quarter = 1; quarter <= 4; ++quarter) {
            const POINT p = PlotPoint(plot, s, m.transfer.valueScale, 0, m.transfer.valueScale * quarter / 4.0);
            MoveToEx(dc, plot.left, p.y, nullptr);
            LineTo(dc, plot.right, p.y);
        }
        Text(dc, plot.left - 4, plot.top - 7, std::to_string(m.transfer.valueScale), TA_RIGHT | TA_TOP);
        Text(dc, plot.left - 4, plot.bottom - 7, "0", TA_RIGHT | TA_TOP);
    }
    {
        Selected axis(dc, CreatePen(PS_SOLID, 1, kAxisColour));
        MoveToEx(dc, plot.left, plot.top, nullptr);
        LineTo(dc, plot.left, plot.bottom);
        LineTo(dc, plot.right, plot.bottom);
    }
    DrawCurve(dc, plot, m, false, kStoredCurveColour);
    DrawCurve(dc, plot, m, true, kLinearCurveColour);
    if (m.transfer.srgbWrite.tried) DrawMarks(dc, plot, m, m.transfer.srgbWrite.curve.ladder, kSrgbMeasuredColour, true);
    DrawMarks(dc, plot, m, m.transfer.curve.ladder, kMeasuredColour, false);
    Text(dc, (plot.left + plot.right) / 2, plot.bottom + 18, "k samples of " + std::to_string(s) + " white",
         TA_CENTER | TA_TOP);
    // The legend above the axes, one coloured word each.
    const struct {
        COLORREF colour;
        const char* text;
    } legend[] = {{kMeasuredColour, "o resolved"},
                  {kSrgbMeasuredColour, "x sRGB write"},
                  {kStoredCurveColour, "stored"},
                  {kLinearCurveColour, "linear"}};
    int x = plot.left - 30;
    for (const auto& entry : legend) {
        SetTextColor(dc, entry.colour);
        Text(dc, x, plot.top - 34, entry.text);
        SIZE size = {};
        GetTextExtentPoint32A(dc, entry.text, static_cast<int>(std::string(entry.text).size()), &size);
        x += size.cx + 10;
    }
    SetTextColor(dc, kTextColour);
    ClippedText(dc, plot.left - 30, plot.top - 18, plot.right, TransferVerdictText(m.transfer.curve));
}

void DrawFootprint(HDC dc, const RECT& square, int right, const ResolveMeasurement& m) {
    ClippedText(dc, square.left, square.top - 34, right, "Footprint, steps of 1/" + std::to_string(m.footprint.valueScale));
    ClippedText(dc, square.left, square.top - 18, right, FootprintVerdictText(m.footprint));
    const int side = square.right - square.left;
    if (side < kFootprintSide) return;
    for (int y = 0; y < kFootprintSide; ++y) {
        for (int x = 0; x < kFootprintSide; ++x) {
            const RECT cell = {square.left + side * x / kFootprintSide, square.top + side * y / kFootprintSide,
                               square.left + side * (x + 1) / kFootprintSide,
                               square.top + side * (y + 1) / kFootprintSide};
            const int value = m.footprint.weights[y][x];
            const int level = std::clamp(m.footprint.valueScale > 0 ? value * 255 / m.footprint.valueScale : 0, 0, 255);
            FillRectangle(dc, cell, RGB(level, level, level));
            FrameRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
            SetTextColor(dc, level > 128 ? RGB(0, 0, 0) : RGB(255, 255, 255));
            Text(dc, (cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2 - 7, std::to_string(value),
                 TA_CENTER | TA_TOP);
        }
    }
    SetTextColor(dc, kTextColour);
}

void DrawCoverageNote(HDC dc, RECT notes, const ResolveMeasurement& m) {
    const std::string text =
        "Edge sweeps: " + std::to_string(m.coverage.levels) + " levels; " + CoverageVerdictText(m.coverage);
    SetTextAlign(dc, TA_LEFT | TA_TOP);
    DrawTextA(dc, text.c_str(), -1, &notes, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
}

}  // namespace

POINT ResolvePlotPoint(const RECT& area, const ResolveMeasurement& m, double covered, double value) {
    return PlotPoint(LayoutFor(area).plot, std::max(1, m.transfer.colourSamples), m.transfer.valueScale, covered, value);
}

void DrawResolvePicture(HDC dc, const RECT& area, const ResolveMeasurement& m) {
    FillRectangle(dc, area, kBackground);
    const PictureLayout layout = LayoutFor(area);
    const int savedDc = SaveDC(dc);
    SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, kTextColour);
    DrawPlot(dc, layout.plot, m);
    DrawFootprint(dc, layout.footprint, layout.notes.right, m);
    DrawCoverageNote(dc, layout.notes, m);
    RestoreDC(dc, savedDc);
}

std::function<void(HDC, const RECT&)> ResolvePicture(const ModeMeasurement& measurement) {
    const ResolveMeasurement resolve = measurement.resolve;
    return [resolve](HDC dc, const RECT& area) { DrawResolvePicture(dc, area, resolve); };
}
