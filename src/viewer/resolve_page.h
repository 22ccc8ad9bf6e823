// The "Resolve" page of the Sample Positions dialog: the transfer ladders as tables beside their
// stored and linear-light references, the filter footprint, the coverage levels, and a picture of
// value against k with both reference curves and the footprint's weights as a grid.
#pragma once

#include <windows.h>

#include <string>

#include "analysis/resolve/resolve_measurement.h"
#include "viewer/measurement_page.h"

MeasurementPage ResolvePage(const ResolveMeasurement& measurement);

// The page's text alone (tab-separated tables, CR LF lines).
std::string ResolvePageText(const ResolveMeasurement& measurement);

// The picture alone, and where in it the plot puts value (steps) at covered of the samples.
void DrawResolvePicture(HDC dc, const RECT& area, const ResolveMeasurement& measurement);
POINT ResolvePlotPoint(const RECT& area, const ResolveMeasurement& measurement, double covered, double value);

// Colours of the picture, for its legend and its tests.
constexpr COLORREF kMeasuredColour = RGB(200, 30, 30);
constexpr COLORREF kSrgbMeasuredColour = RGB(230, 140, 0);
constexpr COLORREF kStoredCurveColour = RGB(40, 90, 220);
constexpr COLORREF kLinearCurveColour = RGB(0, 150, 0);
