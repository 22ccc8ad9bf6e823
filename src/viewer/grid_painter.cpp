// A value grid drawn with GDI: a cell with one value shaded by it and numbered, a cell with one
// per sample a bar each, as tall as its value on the grid's scale, numbered where there is room.
#include "viewer/view_painters.h"

#include <algorithm>
#include <string>

#include "viewer/gdi_drawing.h"

namespace {

constexpr COLORREF kCellFill = RGB(246, 246, 246);

int Side(const RECT& area) {
    return std::max<int>(0, std::min<int>(area.right - area.left, area.bottom - area.top) - 2);
}

std::string ValueText(int value) { return value < 0 ? std::string("-") : std::to_string(value); }

// Whether the texts fit side by side into width.
bool Fits(HDC dc, const std::vector<int>& values, int width) {
    int total = 0;
    for (int value : values) {
        const std::string text = ValueText(value);
        SIZE size = {};
        GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
        total += size.cx + 3;
    }
    return total <= width;
}

void PaintShadedCell(HDC dc, const RECT& cell, int value, int scale) {
    const int level = 255 - std::clamp(scale > 0 && value > 0 ? value * 255 / scale : 0, 0, 255);
    FillRectangle(dc, cell, RGB(level, level, level));
    FrameRectangle(dc, cell, kPictureLine);
    if (!Fits(dc, {value}, cell.right - cell.left - 2)) return;
    SetTextColor(dc, level > 128 ? RGB(0, 0, 0) : RGB(255, 255, 255));
    RECT box = cell;
    DrawTextA(dc, ValueText(value).c_str(), -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    SetTextColor(dc, kPictureText);
}

void PaintBarCell(HDC dc, const RECT& cell, const std::vector<int>& values, int scale, int line) {
    FillRectangle(dc, cell, kCellFill);
    FrameRectangle(dc, cell, kPictureLine);
    const int count = static_cast<int>(values.size());
    const int width = cell.right - cell.left - 4;
    const int height = cell.bottom - cell.top - 4;
    const bool numbers = height > 2 * line && Fits(dc, values, width);
    const int barRoom = height - (numbers ? line : 0);
    for (int s = 0; s < count; ++s) {
        const int left = cell.left + 2 + width * s / count;
        const int right = cell.left + 2 + width * (s + 1) / count - 1;
        if (values[s] >= 0) {
            const int tall = std::max(1, scale > 0 ? barRoom * std::min(values[s], scale) / scale : 0);
            FillRectangle(dc, RECT{left + 1, cell.bottom - 2 - tall, right, cell.bottom - 2}, kGridBarColour);
        }
        if (numbers) {
            RECT box = {left, cell.top + 1, right + 1, cell.top + 1 + line};
            DrawTextA(dc, ValueText(values[s]).c_str(), -1, &box, DT_CENTER | DT_SINGLELINE | DT_NOCLIP | DT_NOPREFIX);
        }
    }
}

}  // namespace

RECT GridCell(const RECT& area, const ViewGrid& grid, int column, int row) {
    const int rows = std::max<int>(1, static_cast<int>(grid.cells.size()));
    const int columns = grid.cells.empty() ? 1 : std::max<int>(1, static_cast<int>(grid.cells[0].size()));
    const int side = Side(area);
    const int left = area.left + (area.right - area.left - side) / 2;
    const int top = area.top + (area.bottom - area.top - side) / 2;
    const int across = std::max(columns, rows);
    return RECT{left + side * column / across, top + side * row / across, left + side * (column + 1) / across + 1,
                top + side * (row + 1) / across + 1};
}

void PaintGrid(HDC dc, const RECT& area, const ViewGrid& grid) {
    const int saved = BeginPicture(dc, area);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    if (grid.cells.empty()) {
        const RECT block = GridCell(area, grid, 0, 0);
        FillRectangle(dc, block, kNotDrawnColour);
        FrameRectangle(dc, block, kPictureLine);
        RECT box = block;
        DrawTextA(dc, "not drawn", -1, &box, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    }
    for (size_t row = 0; row < grid.cells.size(); ++row) {
        for (size_t column = 0; column < grid.cells[row].size(); ++column) {
            const RECT cell = GridCell(area, grid, static_cast<int>(column), static_cast<int>(row));
            const std::vector<int>& values = grid.cells[row][column];
            if (values.size() == 1) PaintShadedCell(dc, cell, values[0], grid.valueScale);
            else PaintBarCell(dc, cell, values, grid.valueScale, metrics.tmHeight);
        }
    }
    RestoreDC(dc, saved);
}
