// What the multisampling-off measurement shows: its verdict and where the samples then lie.
#pragma once

#include "analysis/session/measurement_session.h"
#include "analysis/session/measurement_view.h"

MeasurementView DescribeAntialiasOff(const ModeMeasurement& measurement);
