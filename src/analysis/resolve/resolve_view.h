// What the resolve measurements show: the transfer (with sRGB writing and alpha) as ladders on the
// channel's own scale, the filter footprint as a grid, the coverage levels of the edge sweeps.
#pragma once

#include "analysis/session/measurement_session.h"
#include "analysis/session/measurement_view.h"

MeasurementView DescribeResolveTransfer(const ModeMeasurement& measurement);
MeasurementView DescribeResolveFootprint(const ModeMeasurement& measurement);
MeasurementView DescribeCoverageLevels(const ModeMeasurement& measurement);
