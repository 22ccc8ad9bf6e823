// What the alpha-to-coverage measurement shows: per driver switch its verdict and the 4 x 4 block's
// thresholds, the alpha from which each sample is covered.
#pragma once

#include "analysis/session/measurement_session.h"
#include "analysis/session/measurement_view.h"

MeasurementView DescribeAlphaToCoverage(const ModeMeasurement& measurement);
