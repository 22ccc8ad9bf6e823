// Turns what each sample of the measured block showed at every alpha into thresholds and a
// verdict. Plain data in, plain data out.
#pragma once

#include <array>
#include <vector>

#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"

// The block's pixels, row by row: covered[alpha][y * kCoverageBlock + x].
using BlockCoverage = std::array<unsigned, kCoverageBlock * kCoverageBlock>;

struct AlphaCoverageObservations {
    int samples = 0;
    bool perSample = true;
    int alphaTestReference = 0;
    // For each alpha 0 .. 255 the samples covered in each pixel of the block, as mask bits (bit s
    // for sample s); where perSample is false, the count c of covered samples as the c low bits.
    std::vector<BlockCoverage> covered;
    bool unionMatchesSamples = true;
};

// Fills everything of map but its switch and offered.
void DecodeAlphaToCoverage(const AlphaCoverageObservations& observations, AlphaToCoverageMap* map);
