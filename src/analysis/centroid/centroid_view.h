// What the centroid measurement shows: its verdict, and per case where the _centroid input and the
// plain one were evaluated.
#pragma once

#include "analysis/session/measurement_session.h"
#include "analysis/session/measurement_view.h"

MeasurementView DescribeCentroid(const ModeMeasurement& measurement);
