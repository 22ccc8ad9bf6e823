// Two alpha-to-coverage measurements compared, for a survey against its baseline.
#pragma once

#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/session/measurement_difference.h"

// A threshold agrees within one alpha step (1/255): a driver that derives coverage from alpha
// rounded one way in one build and the other way in the next has not changed its rule. A sample
// never covered agrees only with one never covered. The switch, offered, the caps' answers and
// the claim's verdict (where both files have them), the verdict and (where
// both are dithers) the dither's size are values. Switch by switch in the written order:
// "[1].thresholds[0][2][3]".
void CompareAlphaToCoverage(const AlphaToCoverageMeasurement& was, const AlphaToCoverageMeasurement& now,
                            DifferenceList* differences);
