// A page's picture from its views' elements, laid out as panels, with one painter per element.
#include "viewer/view_picture.h"

#include <algorithm>

#include "viewer/gdi_drawing.h"
#include "viewer/view_painters.h"

namespace {

constexpr int kGap = 8;
constexpr int kMostCaptionLines = 3;

struct Panel {
    std::string caption;
    std::function<void(HDC, const RECT&)> paint;
};

struct LegendItem {
    const char* text;
    std::function<void(HDC, POINT)> mark;
};

constexpr int kMarkRadius = 5;

std::vector<LegendItem> LegendOf(bool evaluations, bool ladders) {
    std::vector<LegendItem> items;
    if (evaluations) {
        items.push_back({"covered sample", [](HDC dc, POINT p) { PaintDot(dc, p, kMarkRadius, kSampleDotColour, true); }});
        items.push_back({"not covered", [](HDC dc, POINT p) { PaintDot(dc, p, kMarkRadius, kUncoveredSampleColour, false); }});
        items.push_back({"their centroid", [](HDC dc, POINT p) { PaintDiamond(dc, p, kMarkRadius + 1, kCentroidMarkColour); }});
        items.push_back({"pixel centre", [](HDC dc, POINT p) { PaintDot(dc, p, kMarkRadius / 2 + 1, RGB(0, 0, 0), false); }});
        items.push_back({"where evaluated", [](HDC dc, POINT p) { PaintCross(dc, p, kMarkRadius, kEvaluatedColour, 3); }});
    }
    if (ladders) {
        items.push_back({"resolved", [](HDC dc, POINT p) { PaintDot(dc, p, 3, kLadderValueColour, true); }});
        const auto line = [](COLORREF colour) {
            return [colour](HDC dc, POINT p) {
                Selected pen(dc, CreatePen(PS_SOLID, 2, colour));
                MoveToEx(dc, p.x - kMarkRadius, p.y, nullptr);
                LineTo(dc, p.x + kMarkRadius + 1, p.y);
            };
        };
        items.push_back({"stored values averaged", line(kStoredCurveColour)});
        items.push_back({"linear light averaged", line(kLinearCurveColour)});
    }
    return items;
}

// The items flowing left to right, wrapped at the area's width; the height they take.
int PaintLegend(HDC dc, const RECT& area, const std::vector<LegendItem>& items, bool paint) {
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int line = metrics.tmHeight + 2;
    int x = area.left, y = area.top;
    for (const LegendItem& item : items) {
        SIZE size = {};
        GetTextExtentPoint32A(dc, item.text, static_cast<int>(std::string(item.text).size()), &size);
        const int width = 2 * kMarkRadius + 6 + size.cx + 12;
        if (x > area.left && x + width > area.right) {
            x = area.left;
            y += line;
        }
        if (paint) {
            item.mark(dc, POINT{x + kMarkRadius + 1, y + line / 2});
            TextOutA(dc, x + 2 * kMarkRadius + 6, y + 1, item.text, static_cast<int>(std::string(item.text).size()));
        }
        x += width;
    }
    return items.empty() ? 0 : y - area.top + line;
}

int CaptionHeight(HDC dc, const std::string& caption, int width, int mostLines) {
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    RECT box = {0, 0, std::max(1, width), 0};
    DrawTextA(dc, caption.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    return std::min<int>(box.bottom - box.top, mostLines * metrics.tmHeight);
}

void Paint(HDC dc, const RECT& area, const std::vector<Panel>& panels, const std::vector<LegendItem>& legend) {
    const int saved = BeginPicture(dc, area);
    const RECT inside = {area.left + kGap, area.top, area.right - kGap, area.bottom - kGap / 2};
    const int legendHeight = PaintLegend(dc, inside, legend, false);
    std::vector<std::string> captions;
    for (const Panel& panel : panels) captions.push_back(panel.caption);
    const std::vector<PicturePanel> places = LayOutPanels(dc, area, captions, legendHeight);
    int bottom = area.top;
    for (size_t i = 0; i < panels.size(); ++i) {
        const int panelSaved = SaveDC(dc);
        panels[i].paint(dc, places[i].picture);
        RestoreDC(dc, panelSaved);
        RECT caption = places[i].caption;
        DrawTextA(dc, panels[i].caption.c_str(), -1, &caption, DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS | DT_NOPREFIX);
        bottom = std::max<int>(bottom, places[i].caption.bottom);
    }
    PaintLegend(dc, RECT{inside.left, bottom + kGap / 2, inside.right, inside.bottom}, legend, true);
    RestoreDC(dc, saved);
}

}  // namespace

std::vector<PicturePanel> LayOutPanels(HDC dc, const RECT& area, const std::vector<std::string>& captions,
                                       int legendHeight) {
    const int count = static_cast<int>(captions.size());
    const int width = area.right - area.left;
    const int height = area.bottom - area.top - legendHeight - kGap / 2;
    const int mostLines = count == 1 ? 2 * kMostCaptionLines : kMostCaptionLines;
    // As many to a row as make the panels largest; every caption as tall as the tallest.
    int bestColumns = 1, bestSide = 0, bestCaption = 0;
    for (int columns = 1; columns <= std::max(1, count); ++columns) {
        const int rows = (count + columns - 1) / columns;
        const int cell = (width - kGap * (columns + 1)) / columns;
        // Captions as wide as the panels: measured again where the height makes them narrower.
        int side = cell, caption = 0;
        for (int pass = 0; pass < 3; ++pass) {
            caption = 0;
            for (const std::string& text : captions) caption = std::max(caption, CaptionHeight(dc, text, side + kGap, mostLines));
            side = std::min(cell, (height - kGap * (rows + 1) - rows * caption) / std::max(1, rows));
        }
        if (side > bestSide) {
            bestColumns = columns;
            bestSide = side;
            bestCaption = caption;
        }
    }
    bestSide = std::max(bestSide, 1);
    const int used = bestColumns * bestSide + (bestColumns - 1) * kGap;
    const int left = area.left + (width - used) / 2;
    std::vector<PicturePanel> panels;
    for (int i = 0; i < count; ++i) {
        const int x = left + (i % bestColumns) * (bestSide + kGap);
        const int y = area.top + kGap + (i / bestColumns) * (bestSide + bestCaption + kGap);
        panels.push_back({RECT{x, y, x + bestSide, y + bestSide},
                          RECT{x - kGap / 2, y + bestSide, x + bestSide + kGap / 2, y + bestSide + bestCaption}});
    }
    return panels;
}

std::function<void(HDC, const RECT&)> ViewPicture(const std::vector<MeasurementView>& views) {
    std::vector<Panel> panels;
    bool evaluations = false, ladders = false;
    for (const MeasurementView& view : views) {
        for (const ViewDiagram& diagram : view.diagrams) {
            panels.push_back({diagram.caption, [diagram](HDC dc, const RECT& area) { PaintDiagram(dc, area, diagram); }});
        }
        for (const ViewEvaluation& evaluation : view.evaluations) {
            evaluations = true;
            panels.push_back({evaluation.caption,
                              [evaluation](HDC dc, const RECT& area) { PaintEvaluation(dc, area, evaluation); }});
        }
        for (const ViewGrid& grid : view.grids) {
            panels.push_back({grid.caption, [grid](HDC dc, const RECT& area) { PaintGrid(dc, area, grid); }});
        }
        for (const ViewLadder& ladder : view.ladders) {
            ladders = true;
            panels.push_back({ladder.caption, [ladder](HDC dc, const RECT& area) { PaintLadder(dc, area, ladder); }});
        }
    }
    if (panels.empty()) return nullptr;
    const std::vector<LegendItem> legend = LegendOf(evaluations, ladders);
    return [panels, legend](HDC dc, const RECT& area) { Paint(dc, area, panels, legend); };
}
