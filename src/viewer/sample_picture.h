// One pixel, enlarged, as the "Sample Positions" dialog draws it with GDI: the measured samples
// as numbered dots, the standard positions as rings, the texture sampling as crosses.
#pragma once

#include <windows.h>

#include "analysis/positions/sample_measurement.h"

// Where a point of the pixel (0 .. 1 from its top-left corner) lands in the picture drawn into
// area: the pixel is the largest centred square that leaves a margin for edge samples.
POINT SamplePicturePoint(const RECT& area, double x, double y);

void DrawSamplePicture(HDC dc, const RECT& area, const SampleMeasurement& measurement);

// The position drawn for an axis: the 1/16 step, or the middle of the measured interval.
double DrawnPosition(const AxisPosition& axis);

// Colours of the picture, for its legend and its tests.
constexpr COLORREF kSampleDotColour = RGB(200, 30, 30);
constexpr COLORREF kStandardRingColour = RGB(40, 90, 220);
constexpr COLORREF kTextureCrossColour = RGB(0, 150, 0);
