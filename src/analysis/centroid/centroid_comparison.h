// Two centroid measurements compared, for a survey against its baseline.
#pragma once

#include "analysis/centroid/centroid_measurement.h"
#include "analysis/session/measurement_difference.h"

// An evaluated point (with and without the modifier) agrees within the stated precision, the
// larger of the two results' (what the read-back can tell apart; the precision itself is how the
// point was read, not a finding, and is not compared). The verdict, each case's covered samples,
// whether the centre is covered and the sample matched are values; so are the covered-sample rule
// where both verdicts are a covered sample and the reason where both are unavailable; and, where
// both list them, each shader model's verdict and caps ("shaderModels[1].caps.verdict").
void CompareCentroid(const CentroidMeasurement& was, const CentroidMeasurement& now, DifferenceList* differences);
