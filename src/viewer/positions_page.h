// The Positions page of the "Sample Positions" dialog: above the table, its notes; the table of
// samples; the texture sampling and the measuring step; and the enlarged pixel with its legend.
#pragma once

#include "analysis/session/measurement_session.h"
#include "viewer/measurement_page.h"

// The page keeps its own copy of the measurement for its picture.
MeasurementPage PositionsPage(const ModeMeasurement& measurement);
