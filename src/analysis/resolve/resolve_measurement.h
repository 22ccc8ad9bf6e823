// What the resolve of one multisample mode was found to do: how it combines the samples' values
// (the transfer curve), how far it reaches (the filter footprint) and how many coverage levels an
// edge produces. Plain data, no Direct3D: the decoder fills it, the dialog, the JSON writer and
// the survey read it. Every value is a whole number of read-back steps: 0 .. valueScale, where
// valueScale is the channel's largest value (255 for 8 bits), so its precision is one step.
#pragma once

#include <string>
#include <vector>

#include "analysis/session/switch_finding.h"

// Resolved values within this many steps of a reference count as matching it: the read-back
// rounds to the nearest step (half a step) and a resolve may round the other way (one more).
constexpr double kTransferToleranceSteps = 1.5;

// Where edge sweeps move the edge: 1/128 of a pixel at a time.
constexpr double kEdgeStep = 1.0 / 128.0;

// One rung of a ladder: covered of the pixel's samples lit, the rest black; value as read back.
struct LadderStep {
    int covered = 0;
    int value = 0;
};

enum class TransferVerdict {
    NotMeasured,
    Stored,  // the mean of the values as stored in the samples
    Linear,  // stored values decoded from sRGB, averaged, encoded again
    Other,
};

// One setting's ladders: white, and the mid grey greyDrawn (steps) on black.
struct TransferCurve {
    TransferVerdict verdict = TransferVerdict::NotMeasured;
    // True where the two references lie closer than twice the tolerance at every rung (one
    // sample, or a channel of a few bits): the verdict is then the nearer one, not a finding.
    bool referencesAlike = false;
    std::vector<LadderStep> ladder;
    std::vector<LadderStep> grey;
};

// The same drawing with D3DRS_SRGBWRITEENABLE on, beside what the format claims for it.
struct SrgbWriteResult {
    bool tried = false;           // drawn with the state on and read back; else the curve says nothing
    long capsAnswer = 0;          // CheckDeviceFormat(D3DUSAGE_QUERY_SRGBWRITE) on a surface
    // Every query form asked beside whether the writes came out encoded (works is writeEncoded);
    // no answers in older files, which asked only the one above.
    SwitchFinding caps;
    // The grey at full coverage came back as the sRGB encoding of greyDrawn (within tolerance):
    // the samples were written encoded, whatever the caps answer said.
    bool writeEncoded = false;
    TransferCurve curve;
};

struct AlphaLadder {
    bool measured = false;        // false where the format has no alpha
    int valueScale = 0;           // the alpha channel's own largest value (3 for 2 bits)
    TransferCurve curve;          // white's alpha (255 drawn) on transparent black; grey empty
};

enum class FootprintVerdict {
    NotMeasured,
    Box,    // every pixel from its own samples
    Wider,  // light of one pixel's sample reached a neighbour
};

constexpr int kFootprintSide = 5;

// The 5 x 5 pixels around the lit pixel (row by row, the lit one at [2][2]) with exactly one of
// its samples lit white.
struct FootprintMap {
    int values[kFootprintSide][kFootprintSide] = {};
};

struct Footprint {
    FootprintVerdict verdict = FootprintVerdict::NotMeasured;
    int valueScale = 255;         // weights are in steps of 1/valueScale
    // The samples of the pixel, each read back to the nearest step: weights may be off by a step
    // for each of them.
    int colourSamples = 0;
    std::vector<FootprintMap> perSample;
    // The per-sample maps added up: what a pixel all of whose samples are white spreads around
    // it (a box: the white value at the centre, give or take a step per sample, and 0 elsewhere).
    int weights[kFootprintSide][kFootprintSide] = {};
};

enum class CoverageVerdict {
    NotMeasured,
    Equal,         // coverage samples = colour samples
    CoverageMode,  // more coverage samples than colour samples
    Fewer,         // fewer levels than samples: the mode does not really multisample
};

// One edge swept across the pixel: offsets (pixels along the edge's normal, from the pixel's
// top-left corner, in steps of kEdgeStep) and the pixel's value with the polygon's edge there.
struct EdgeSweep {
    std::string edge;             // "vertical", "horizontal", "shallow"
    double normalX = 1.0;         // the unit normal the offset is measured along
    double normalY = 0.0;
    std::vector<double> offsets;
    std::vector<int> values;
    int levels = 0;               // distinct values along this sweep
    // The offsets at which the value changed: a coverage sample lies in [change - step, change)
    // along the normal.
    std::vector<double> changes;
};

struct CoverageLevels {
    CoverageVerdict verdict = CoverageVerdict::NotMeasured;
    int levels = 0;               // the most distinct values any one sweep showed
    int coverageSamples = 0;      // levels - 1
    int colourSamples = 0;        // the mask's samples, or the measured positions' count
    std::vector<EdgeSweep> sweeps;
};

// The ladders resolved again after one more draw with sRGB writing on (the state off again at
// the resolve): an implementation that applies the state lazily may resolve by the last draw's
// state rather than by how the samples were written. With the ladders resolved after a plain last
// draw (the curve and srgbWrite.curve), the four combinations of sample and last draw.
struct LastDrawLadders {
    bool measured = false;
    TransferCurve plain;          // samples written plain
    TransferCurve srgb;           // samples written with sRGB writing on; empty where not tried
    // A rung of either ladder pair moved by more than the tolerance with the last draw alone.
    bool dependsOnLastDraw = false;
};

// How the resolve combines a pixel's samples: the plain ladders, the same with sRGB writes, and
// the alpha channel's.
struct ResolveTransfer {
    int colourSamples = 0;        // samples a pixel has, as the ladder counts them
    int valueScale = 255;         // colour channel's largest value: values are in 1/valueScale
    int greyDrawn = 128;          // the grey ladder's colour, in the same steps

    TransferCurve curve;          // written as stored, without sRGB writes
    SrgbWriteResult srgbWrite;
    AlphaLadder alpha;
    LastDrawLadders afterSrgbDraw;
};

// The three findings come from one probe and one picture, hence one result.
struct ResolveMeasurement {
    ResolveTransfer transfer;
    Footprint footprint;
    CoverageLevels coverage;

    double milliseconds = 0.0;    // time taken, draw to data
};

// The references a rung is compared with, in steps: the mean of the stored values (full is the
// value of the ladder's fully covered rung), and the mean taken in linear light.
double StoredReference(int covered, int samples, double full, int valueScale);
double LinearReference(int covered, int samples, double full, int valueScale);
// sRGB's transfer function and its inverse on 0 .. 1.
double SrgbToLinear(double encoded);
double LinearToSrgb(double linear);

// The verdicts as the dialog shows them: "resolve averages stored values", "resolve averages
// linear light (gamma-correct)", "other: 0, 70, 130, 200, 255"; "box: every pixel from its own
// samples", "wider filter"; "coverage samples = colour samples", "coverage-sample mode: 8
// coverage, 4 colour", "fewer levels than samples".
std::string TransferVerdictText(const TransferCurve& curve);
std::string FootprintVerdictText(const Footprint& footprint);
std::string CoverageVerdictText(const CoverageLevels& coverage);
// "the resolve depends on the last draw, not only on the samples: ..." or "the same after an
// sRGB-written last draw"; "not measured".
std::string LastDrawText(const ResolveTransfer& transfer);

// The survey's columns, short: Resolve "stored; sRGB write (D3D_OK): linear", Filter "box" or
// "wider (centre 128 of 255)", Coverage "5 levels = 4 samples".
std::string ResolveColumnText(const ResolveMeasurement& measurement);
std::string FilterColumnText(const ResolveMeasurement& measurement);
std::string CoverageColumnText(const ResolveMeasurement& measurement);
// The console's words: "stored values", "linear light, after an sRGB draw", "5 levels".
std::string ResolveBriefText(const ResolveMeasurement& measurement);
std::string CoverageBriefText(const ResolveMeasurement& measurement);

// CheckDeviceFormat's answers by name: "D3D_OK", "D3DERR_NOTAVAILABLE", or "0x8876086C".
std::string CapsAnswerText(long answer);
