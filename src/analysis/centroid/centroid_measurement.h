// Where a _centroid input is evaluated in a partly covered pixel. Plain data, no Direct3D: the
// decoder fills it, the pages, the JSON and the survey read it.
#pragma once

#include <string>
#include <vector>

#include "analysis/positions/sample_measurement.h"
#include "analysis/session/switch_finding.h"

enum class CentroidVerdict {
    Unavailable,    // no shader model drawn with, or no mask to read single samples with (1x, non-maskable)
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

// One shader model's _centroid (ps_3_0 with vs_3_0, ps_2_0 with vs_2_0): whether the caps' shader
// versions claim it beside whether it was honoured (works: at the centroid or a covered sample).
struct CentroidShaderModel {
    std::string shaderModel;  // "ps_3_0", "ps_2_0"
    SwitchFinding caps;
    CentroidVerdict verdict = CentroidVerdict::Unavailable;
    std::string coveredSampleRule;
};

struct CentroidMeasurement {
    CentroidVerdict verdict = CentroidVerdict::Unavailable;
    std::string unavailableReason;  // "one sample per pixel", ...; empty: no shader model drawn with
    unsigned pixelShaderVersion = 0;  // the caps' D3DPS_VERSION
    // Every shader model tried, the highest first, whatever the caps claim; the cases and the
    // verdict above are the first one drawn with. Empty where the mode has no mask to measure with
    // and in older files, which tried ps_3_0 alone.
    std::vector<CentroidShaderModel> shaderModels;

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
// Centroid and CoveredSample: the modifier moved the input where it should.
bool CentroidHonoured(CentroidVerdict verdict);
// "ps_2_0: honoured: at the centroid of the covered samples; claimed and works (D3DCAPS9 ...)".
std::string CentroidShaderModelText(const CentroidShaderModel& model);
// The survey report's column: a short form.
std::string CentroidColumnText(const CentroidMeasurement& measurement);
// The console's words: the verdict alone ("ignored (centre)", "n/a").
std::string CentroidBriefText(const CentroidMeasurement& measurement);
