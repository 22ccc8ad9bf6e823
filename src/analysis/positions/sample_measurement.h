// Where a multisample mode puts its samples: each sample's place inside the pixel, how the texture
// was sampled, and the verdicts drawn from them. Plain data, no Direct3D: the decoder fills it, the
// dialog, the JSON writer and the survey read it (the mode itself is the measurement session's).
#pragma once

#include <optional>
#include <string>
#include <vector>

// A position along one axis, in pixels from the pixel's top-left corner. The sample lies in the
// half-open interval [low, high) (an interval may wrap past 1.0 when the sample sits on the
// pixel's left or top edge; low is then negative). When that interval holds exactly one 1/16
// step, exact is true and sixteenths is that step (0 .. 15).
struct AxisPosition {
    double low = 0.0;
    double high = 0.0;
    bool exact = false;
    int sixteenths = 0;
};

struct SamplePosition {
    int maskBit = -1;  // the mask bit that drives it; -1 where the mask has no effect
    AxisPosition x;
    AxisPosition y;
    int count = 1;     // samples of the pixel found at this position (non-maskable: coincident ones)
};

enum class TextureSampling {
    NotMeasured,
    OncePerPixel,
    PerSample,
};

// The positions found in one pixel of a 2x2 quad (parity px, py), kept where the quads differ.
struct QuadPositions {
    int parityX = 0;
    int parityY = 0;
    std::vector<SamplePosition> samples;
};

struct SampleMeasurement {
    int gridSize = 0;                  // N of the tile measured: intervals are 1/N wide or finer

    // By mask bit for a maskable type, else sorted by y then x.
    std::vector<SamplePosition> samples;
    int distinctSamples = 0;

    TextureSampling textureSampling = TextureSampling::NotMeasured;
    std::vector<SamplePosition> texturePositions;

    // Verdicts.
    bool standardPattern = false;      // the set of positions is the standard table's for this count
    // And the mask bits pick them in the table's order; empty where that does not apply (the mask
    // picks out no single sample, or the count has no table).
    std::optional<bool> maskOrderStandard;
    bool allAtCentre = false;          // every sample at (8, 8)
    bool quadsDiffer = false;          // the four 2x2-quad parities disagree (see quads)
    bool resolveNotAverage = false;    // resolved values are not multiples of 1/S
    // The per-bit maps add up to the all-bits map; empty without per-bit maps.
    std::optional<bool> unionMatchesAllBits;
    std::vector<QuadPositions> quads;  // filled when quadsDiffer
    bool picturesConsistent = true;    // every picture is a sum of whole point squares
};

// The headline verdict, as the dialog and the survey show it: "standard 4-sample pattern", "all
// samples at the pixel centre" or "non-standard pattern", followed where they apply by
// ", positions differ within a 2x2 pixel quad" and ", resolve is not a plain average".
std::string VerdictText(const SampleMeasurement& measurement);

// The measuring step of an interval: the smallest gridSize * 2^k (at most 4096) over which both
// ends are whole, within float error; 0 where there is none. ResolvedEnd rounds an end to it (to
// six decimals where it is 0), dropping the error: what the JSON and the texts state.
int IntervalDenominator(double low, double high, int gridSize);
double ResolvedEnd(double value, int denominator);

// One axis of a position: "6" (1/16 pixel) where exact, else its interval in the measuring step
// of a gridSize tile, "[21/64, 23/64)"; as a fraction of a pixel, "0.375" or "[0.3281, 0.3594)".
std::string SixteenthsText(const AxisPosition& axis, int gridSize);
std::string PixelFractionText(const AxisPosition& axis);
// Both axes, "(6, 2)" or "([21/64, 23/64), 2)".
std::string PointText(const SamplePosition& sample, int gridSize);

// "once per pixel at (8, 8)" or "per sample at (6, 2) (14, 6) ..." (1/16 pixel; an interval where
// the position is not exact), or "not measured".
std::string TextureSamplingText(const SampleMeasurement& measurement);
