// What the pixel pipeline writes into each sample: the alpha-to-coverage map of each driver
// switch, where a _centroid input is evaluated in a partly covered pixel, and where the samples
// lie with D3DRS_MULTISAMPLEANTIALIAS off. Plain data, no Direct3D: the decoders fill it, the
// dialog's pages, the JSON writer and the survey read it.
#pragma once

#include <string>
#include <vector>

#include "analysis/sample_measurement.h"

// ---- Alpha to coverage -------------------------------------------------------------------------

// The driver conventions that switch alpha to coverage on (Direct3D 9 has no state for it).
enum class CoverageSwitch {
    AtocWithAlphaTest,  // 'ATOC' into D3DRS_ADAPTIVETESS_Y, alpha test on (alpha >= 1 passes)
    Atoc,               // 'ATOC' into D3DRS_ADAPTIVETESS_Y, alpha test off
    A2m1,               // 'A2M1' into D3DRS_POINTSIZE ('A2M0' switches it off)
};

enum class AlphaToCoverageVerdict {
    NotOffered,  // the runtime does not offer the switch (CheckDeviceFormat for its FOURCC fails)
    NotApplied,  // every sample covered from the lowest alpha that passes (the alpha test's)
    Thresholds,  // every pixel has the same thresholds
    Dither,      // pixels differ, repeating over ditherWidth x ditherHeight pixels
    Other,       // a sample uncovered again at a higher alpha, or no repeat within the block
};

// The measured block: kCoverageBlock x kCoverageBlock pixels of one alpha, placed at a multiple
// of kCoverageBlock pixels, so a dither whose period divides 4 shows in full; a longer one shows
// as a 4 x 4 dither at best.
constexpr int kCoverageBlock = 4;
// A threshold meaning: not covered even at alpha 255.
constexpr int kNeverCovered = 256;

struct AlphaToCoverageMap {
    CoverageSwitch coverageSwitch = CoverageSwitch::Atoc;
    bool offered = false;
    // The alpha test passes from this alpha on (0 without the alpha test).
    int alphaTestReference = 0;
    // Samples of a pixel; perSample false where the mask cannot pick them out (non-maskable):
    // then threshold s is where the (s+1)-th sample of the pixel becomes covered, whichever.
    int samples = 0;
    bool perSample = true;

    // thresholds[y][x][s]: the alpha (0 .. 255, exact: every value is drawn) from which sample s
    // of pixel (x, y) of the block is covered at that and every higher alpha; kNeverCovered
    // where it is not covered even at 255. Empty when not offered.
    std::vector<std::vector<std::vector<int>>> thresholds;
    bool monotonic = true;           // no sample is uncovered again at a higher alpha
    bool unionMatchesSamples = true; // the all-samples picture is the per-sample ones summed

    AlphaToCoverageVerdict verdict = AlphaToCoverageVerdict::NotOffered;
    int ditherWidth = 0;   // Dither: the period, 1, 2 or 4 pixels along each axis
    int ditherHeight = 0;
};

struct AlphaToCoverageMeasurement {
    std::vector<AlphaToCoverageMap> switches;  // in CoverageSwitch order
    double milliseconds = 0.0;
};

// ---- Centroid ----------------------------------------------------------------------------------

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

// ---- Multisampling switched off ----------------------------------------------------------------

enum class AntialiasOffVerdict {
    NotMeasured,
    Centre,     // one evaluation at the centre, written to every sample
    Unchanged,  // the positions are those with multisampling on: the state is ignored
    Other,
};

struct AntialiasOffMeasurement {
    AntialiasOffVerdict verdict = AntialiasOffVerdict::NotMeasured;
    // The position measurement with D3DRS_MULTISAMPLEANTIALIAS FALSE on the multisampled target.
    SampleMeasurement positions;
};

// ---- Texts -------------------------------------------------------------------------------------

// "ATOC+alphaTest", "ATOC", "A2M1": the names the JSON and the pages use.
const char* CoverageSwitchName(CoverageSwitch coverageSwitch);
// "not offered", "not applied", "thresholds k/4 (alpha 64, 128, 192, 255), the same in every
// pixel", "ordered dither over 2 x 2 pixels", "other".
std::string AlphaToCoverageVerdictText(const AlphaToCoverageMap& map);
// The dither's matrix, one line per pixel row of the period: each pixel's thresholds.
std::string DitherMatrixText(const AlphaToCoverageMap& map);
// "honoured: at the centroid of the covered samples", "honoured: at a covered sample (the lowest
// covered mask bit)", "ignored: at the pixel centre", "shader model not available", "other";
// "not measured: one sample per pixel" where there is no mask to measure with.
std::string CentroidVerdictText(const CentroidMeasurement& measurement);
// "one evaluation at the centre, written to every sample", "unchanged (the state is ignored)",
// "other", "not measured".
std::string AntialiasOffVerdictText(const AntialiasOffMeasurement& measurement);

// The survey report's columns "Alpha to coverage", "Centroid" and "AA off": short forms.
std::string AlphaToCoverageColumnText(const AlphaToCoverageMeasurement& measurement);
std::string CentroidColumnText(const CentroidMeasurement& measurement);
std::string AntialiasOffColumnText(const AntialiasOffMeasurement& measurement);
