// The "Alpha to coverage" page of the Sample Positions dialog: per driver switch the measured
// 4 x 4 block with each pixel's thresholds, and the verdict.
#pragma once

#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"
#include "viewer/measurement_page.h"

MeasurementPage AlphaToCoveragePage(const AlphaToCoverageMeasurement& measurement);

// Colours of the picture, for its tests: a threshold's bar, and the panel of a switch not offered.
constexpr COLORREF kThresholdBarColour = RGB(40, 90, 220);
constexpr COLORREF kNotOfferedColour = RGB(236, 236, 236);
