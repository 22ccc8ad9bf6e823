// Two resolve measurements compared, for a survey against its baseline: each of the three
// findings with its own tolerance.
#pragma once

#include "analysis/resolve/resolve_measurement.h"
#include "analysis/session/measurement_difference.h"

// A ladder value agrees within one read-back step (1/valueScale): the read-back rounds to the
// nearest step, and two runs may round one value either way. Where the value scales differ, that
// is a difference of its own, and values compare as fractions of their scales within one step of
// the coarser. Verdicts (stored, linear, other), greyDrawn, the sRGB caps answer and
// writeEncoded are values; a setting drawn in one result only is one difference.
void CompareResolveTransfer(const ResolveTransfer& was, const ResolveTransfer& now, DifferenceList* differences);

// A weight agrees within one step per colour sample: each weight is the sum of one read-back per
// sample, each rounded to the nearest step, so a sum may move by up to a step for each (a box of 4
// samples at 255 reads 256 as easily as 255). The verdict (box, wider) and the scale are values.
void CompareFootprint(const Footprint& was, const Footprint& now, DifferenceList* differences);

// Levels, coverage and colour samples and the verdict are values; an edge's change offsets agree
// within one edge step (kEdgeStep, 1/128 pixel), the sweep's own resolution.
void CompareCoverageLevels(const CoverageLevels& was, const CoverageLevels& now, DifferenceList* differences);

// The three under "transfer", "footprint" and "coverage".
void CompareResolve(const ResolveMeasurement& was, const ResolveMeasurement& now, DifferenceList* differences);
