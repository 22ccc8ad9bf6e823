// A mode's measurements held against each other and against the sample count its type states, so
// that a probe that lost samples on some implementation is reported as such rather than believed.
#pragma once

#include <string>
#include <vector>

#include "analysis/session/measurement_session.h"

// Each contradiction as a sentence naming what disagreed, "positions found 2 samples, the
// coverage levels 4 and the type 4"; empty where everything agrees. A mode whose position probe
// found no sample has one ("no sample found"): it has not been measured, whatever else agrees.
//
// Compared: the samples the positions add up to; the type's own count (the non-maskable type
// has none); the samples the resolve's ladder lit (colourSamples) and the coverage levels an edge
// swept across the pixel showed, less one, each where the resolve was measured. More coverage
// samples than colour samples is what a coverage-sample mode is, and is not held against it where
// the type and the positions both vouch for the colour count; the non-maskable type gives no such
// second word, so there the positions must match the coverage.
std::vector<std::string> MeasurementContradictions(const ModeMeasurement& measurement);

// The contradictions in one line, "; " between them: the survey's failure text.
std::string ContradictionsText(const std::vector<std::string>& contradictions);
