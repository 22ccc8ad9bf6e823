// Where to place the centroid probe's triangles, and what the evaluated points say. Plain data in,
// plain data out.
#pragma once

#include <vector>

#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"

// A half-plane over the pixel (coordinates from its top-left corner): nx x + ny y > offset.
struct CoveringEdge {
    double nx = 0.0;
    double ny = 0.0;
    double offset = 0.0;
    unsigned covers = 0;  // the mask bits of the samples inside
    bool centreInside = false;
};

// A sample's position as the probes place things by: the 1/16 step, or the middle of the
// measured interval.
PixelPoint SamplePoint(const SamplePosition& sample);

// Edges covering 1, 2 and 3 samples (those fewer than the pixel has; and all but one where it
// has more than 4), each with the widest margin to the samples on either side that also keeps
// the centroid, the centre and each covered sample apart. Empty for fewer than 2 samples or
// samples without mask bits.
std::vector<CoveringEdge> ChooseCoveringEdges(const std::vector<SamplePosition>& samples);

// Fills each case's matches, the verdict and the covered-sample rule of a measurement whose
// samples, cases and precision are filled.
void DecodeCentroid(CentroidMeasurement* measurement);
