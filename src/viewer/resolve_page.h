// The picture of the Sample Positions dialog's "Resolve" tab: value against k with both reference
// curves, and the footprint's weights as a grid.
#pragma once

#include <windows.h>

#include <functional>

#include "analysis/session/measurement_session.h"

std::function<void(HDC, const RECT&)> ResolvePicture(const ModeMeasurement& measurement);

// The picture, and where in it the plot puts value (steps) at covered of the samples.
void DrawResolvePicture(HDC dc, const RECT& area, const ResolveMeasurement& measurement);
POINT ResolvePlotPoint(const RECT& area, const ResolveMeasurement& measurement, double covered, double value);

// Colours of the picture, for its legend and its tests.
constexpr COLORREF kMeasuredColour = RGB(200, 30, 30);
constexpr COLORREF kSrgbMeasuredColour = RGB(230, 140, 0);
constexpr COLORREF kStoredCurveColour = RGB(40, 90, 220);
constexpr COLORREF kLinearCurveColour = RGB(0, 150, 0);
