// Two multisampling-off measurements compared, for a survey against its baseline.
#pragma once

#include "analysis/antialias_off/antialias_off_measurement.h"
#include "analysis/session/measurement_difference.h"

// The verdict is a value; the positions agree where their intervals overlap, as the position
// measurement's do: "sample 2 (mask bit 2) x" at "/samples/2/x".
void CompareAntialiasOff(const AntialiasOffMeasurement& was, const AntialiasOffMeasurement& now,
                         DifferenceList* differences);
