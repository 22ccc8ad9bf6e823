// The picture of the Sample Positions dialog's "Alpha to coverage" tab: per driver switch the
// measured 4 x 4 block with each pixel's thresholds, and the verdict.
#pragma once

#include <windows.h>

#include <functional>

#include "analysis/session/measurement_session.h"

std::function<void(HDC, const RECT&)> AlphaToCoveragePicture(const ModeMeasurement& measurement);

// Colours of the picture, for its tests: a threshold's bar, and the panel of a switch not offered.
constexpr COLORREF kThresholdBarColour = RGB(40, 90, 220);
constexpr COLORREF kNotOfferedColour = RGB(236, 236, 236);
