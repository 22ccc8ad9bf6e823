// The picture of the Sample Positions dialog's "Interpolation" tab: each centroid case drawn in the pixel
// (covered samples, the point the _centroid input was evaluated at, the one without the modifier,
// the centre) and where the samples lie with multisampling switched off.
#pragma once

#include <windows.h>

#include <functional>

#include "analysis/session/measurement_session.h"

std::function<void(HDC, const RECT&)> InterpolationPicture(const ModeMeasurement& measurement);

// Colours of the picture, for its legend and its tests.
constexpr COLORREF kCoveredSampleColour = RGB(200, 30, 30);
constexpr COLORREF kUncoveredSampleColour = RGB(160, 160, 160);
constexpr COLORREF kEvaluatedColour = RGB(0, 120, 0);
constexpr COLORREF kCentroidMarkColour = RGB(230, 140, 0);
