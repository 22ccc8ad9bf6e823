// What alpha to coverage does to each sample: the map of each driver switch that turns it on.
// Plain data, no Direct3D: the decoder fills it, the pages, the JSON and the survey read it.
#pragma once

#include <string>
#include <vector>

#include "analysis/positions/sample_measurement.h"
#include "analysis/session/switch_finding.h"

// The driver conventions that switch alpha to coverage on (Direct3D 9 has no state for it).
enum class CoverageSwitch {
    AtocWithAlphaTest,  // 'ATOC' into D3DRS_ADAPTIVETESS_Y, alpha test on (alpha >= 1 passes)
    Atoc,               // 'ATOC' into D3DRS_ADAPTIVETESS_Y, alpha test off
    A2m1,               // 'A2M1' into D3DRS_POINTSIZE ('A2M0' switches it off)
};

enum class AlphaToCoverageVerdict {
    NotOffered,  // not drawn with: no sample to measure (or, in older files, not claimed)
    NotApplied,  // every sample covered from the lowest alpha that passes (the alpha test's)
    Thresholds,  // every pixel has the same thresholds
    Dither,      // pixels differ, repeating over ditherWidth x ditherHeight pixels
    Other,       // a sample uncovered again at a higher alpha, or no repeat within the block
    Declined,    // offered, but the resolve does not let a resolved value say which samples were covered
};

// The measured block: kCoverageBlock x kCoverageBlock pixels of one alpha, placed at a multiple
// of kCoverageBlock pixels, so a dither whose period divides 4 shows in full; a longer one shows
// as a 4 x 4 dither at best.
constexpr int kCoverageBlock = 4;
// A threshold meaning: not covered even at alpha 255.
constexpr int kNeverCovered = 256;

struct AlphaToCoverageMap {
    CoverageSwitch coverageSwitch = CoverageSwitch::Atoc;
    // CheckDeviceFormat for its FOURCC succeeded: the drivers' way of announcing it. Every switch
    // is drawn with whatever the answer: caps says that answer beside whether coverage followed
    // alpha.
    bool offered = false;
    SwitchFinding caps;
    // The alpha test passes from this alpha on (0 without the alpha test).
    int alphaTestReference = 0;
    // Samples of a pixel; perSample false where the mask cannot pick them out (non-maskable):
    // then threshold s is where the (s+1)-th sample of the pixel becomes covered, whichever.
    int samples = 0;
    bool perSample = true;

    // thresholds[y][x][s]: the alpha (0 .. 255, exact: every value is drawn) from which sample s
    // of pixel (x, y) of the block is covered at that and every higher alpha; kNeverCovered
    // where it is not covered even at 255. Empty when not drawn with.
    std::vector<std::vector<std::vector<int>>> thresholds;
    bool monotonic = true;           // no sample is uncovered again at a higher alpha
    bool unionMatchesSamples = true; // the all-samples picture is the per-sample ones summed

    AlphaToCoverageVerdict verdict = AlphaToCoverageVerdict::NotOffered;
    int ditherWidth = 0;   // Dither: the period, 1, 2 or 4 pixels along each axis
    int ditherHeight = 0;
    // Declined: why ("the resolve is not a box of stored values: coverage cannot be counted from it").
    std::string declined;
};

struct AlphaToCoverageMeasurement {
    std::vector<AlphaToCoverageMap> switches;  // in CoverageSwitch order
    double milliseconds = 0.0;
};

// "ATOC+alphaTest", "ATOC", "A2M1": the names the JSON uses.
const char* CoverageSwitchName(CoverageSwitch coverageSwitch);
// "ATOC with alpha test", "ATOC", "A2M1": the names a reader is shown.
const char* CoverageSwitchLabel(CoverageSwitch coverageSwitch);
// "not measured: no sample found" ("not offered" in older files), "not applied", "thresholds k/4 (alpha 64, 128, 192, 255), the same in every
// pixel", "ordered dither over 2 x 2 pixels", "other".
std::string AlphaToCoverageVerdictText(const AlphaToCoverageMap& map);
// The dither's matrix, one line per pixel row of the period: each pixel's thresholds.
std::string DitherMatrixText(const AlphaToCoverageMap& map);
// Whether the thresholds show the switch at work: coverage followed alpha in some way.
bool AlphaToCoverageWorks(AlphaToCoverageVerdict verdict);
// One switch's finding in a few words: "thresholds (k-1)/4", "dither 2x2", "not applied".
std::string AlphaToCoverageFindingText(const AlphaToCoverageMap& map);
// The survey report's column: a short form.
std::string AlphaToCoverageColumnText(const AlphaToCoverageMeasurement& measurement);
// The console's words: the switches' finding once where they agree ("thresholds (k-1)/4"), each
// switch's where they do not.
std::string AlphaToCoverageBriefText(const AlphaToCoverageMeasurement& measurement);
