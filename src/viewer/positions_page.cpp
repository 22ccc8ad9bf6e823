// The Positions tab's picture: the enlarged pixel of sample_picture with its legend.
#include "viewer/positions_page.h"

#include <algorithm>

#include "viewer/sample_picture.h"

namespace {

constexpr char kLegend[] =
    "Dots: the measured samples, numbered as in the table. Rings: the standard positions. "
    "Crosses: where the texture is sampled.";

// The legend under the pixel, as many lines as the area's width needs.
void PaintPositions(HDC dc, const RECT& area, const SampleMeasurement& m) {
    constexpr int kInset = 4;
    RECT legend = {area.left + kInset, area.top, area.right - kInset, area.bottom};
    DrawTextA(dc, kLegend, -1, &legend, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    const int legendHeight = legend.bottom - legend.top + kInset;
    RECT picture = area;
    picture.bottom = std::max(area.top, area.bottom - legendHeight);
    DrawSamplePicture(dc, picture, m);

    RECT band = area;
    band.top = picture.bottom;
    FillRect(dc, &band, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    legend = {area.left + kInset, picture.bottom, area.right - kInset, area.bottom};
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, RGB(0, 0, 0));
    DrawTextA(dc, kLegend, -1, &legend, DT_WORDBREAK | DT_NOPREFIX);
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
}

}  // namespace

std::function<void(HDC, const RECT&)> PositionsPicture(const ModeMeasurement& measurement) {
    const SampleMeasurement positions = measurement.samplePositions;
    return [positions](HDC dc, const RECT& area) { PaintPositions(dc, area, positions); };
}
