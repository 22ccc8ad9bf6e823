// The "Interpolation" page of the Sample Positions dialog: each centroid case drawn in the pixel
// (covered samples, the point the _centroid input was evaluated at, the one without the modifier,
// the centre) and where the samples lie with multisampling switched off.
#pragma once

#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"
#include "viewer/measurement_page.h"

MeasurementPage InterpolationPage(const CentroidMeasurement& centroid, const AntialiasOffMeasurement& antialiasOff);

// Colours of the picture, for its legend and its tests.
constexpr COLORREF kCoveredSampleColour = RGB(200, 30, 30);
constexpr COLORREF kUncoveredSampleColour = RGB(160, 160, 160);
constexpr COLORREF kEvaluatedColour = RGB(0, 120, 0);
constexpr COLORREF kCentroidMarkColour = RGB(230, 140, 0);
