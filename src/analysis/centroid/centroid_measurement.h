// Where a _centroid input is evaluated in a partly covered pixel. Plain data, no Direct3D: the
// decoder fills it, the pages, the JSON and the survey read it.
#pragma once

#include <string>
#include <vector>

#include "analysis/positions/sample_measurement.h"

enum class CentroidVerdict {
    Unavailable,    // no ps_3_0, or no mask to read single samples with (1x, non-maskable)
    Centroid,       // honoured: at the centroid of the covered samples
    CoveredSample,  // honoured: at a covered sample (atSample of each case says which)
    Centre,         // ignored: at the pixel centre
    Other,          // none of these in every case
};

// A point inside the pixel, in pixels from its top-left corner.
struct PixelPoint {
    double x = 0.0;
    double y = 0.0;
};

// One triangle over the measured pixel: its edge separates the samples it covers from the rest.
struct CentroidCase {
    unsigned intended = 0;       // mask bits of the samples the edge was placed to cover
    unsigned covered = 0;        // the samples found covered
    bool centreCovered = false;  // the pixel centre lies inside the triangle

    // The input with _centroid, read back in each covered sample (by mask bit, in bit order),
    // and their mean; the same input without the modifier, the same way.
    std::vector<PixelPoint> evaluatedPerSample;
    PixelPoint evaluated;
    std::vector<PixelPoint> plainPerSample;
    PixelPoint plain;

    // Decoded: what evaluated matches within the precision (a tie matches several).
    bool atCentroid = false;
    bool atCentre = false;
    int atSample = -1;  // the mask bit of the covered sample it matches, -1 for none
};

struct CentroidMeasurement {
    CentroidVerdict verdict = CentroidVerdict::Unavailable;
    std::string unavailableReason;  // "no ps_3_0", "one sample per pixel", ...
    unsigned pixelShaderVersion = 0;  // the caps' D3DPS_VERSION

    // The sample positions the cases were placed by (the position measurement's, by mask bit).
    std::vector<SamplePosition> samples;
    std::vector<CentroidCase> cases;
    // Each coordinate read back is within this many pixels of what the shader wrote (8-bit
    // colour after the resolve's average; see the probe).
    double precision = 0.0;
    // CoveredSample: how the sample is chosen, "the lowest covered mask bit" or "varies".
    std::string coveredSampleRule;
    double milliseconds = 0.0;
};

// How the cases' covered samples were chosen: "the lowest covered mask bit", "the highest covered
// mask bit" or "which one varies", from the cases' covered masks and atSample.
std::string CoveredSampleRule(const std::vector<CentroidCase>& cases);

// "honoured: at the centroid of the covered samples", "honoured: at a covered sample (the lowest
// covered mask bit)", "ignored: at the pixel centre", "shader model not available", "other";
// "not measured: one sample per pixel" where there is no mask to measure with.
std::string CentroidVerdictText(const CentroidMeasurement& measurement);
// The survey report's column: a short form.
std::string CentroidColumnText(const CentroidMeasurement& measurement);
