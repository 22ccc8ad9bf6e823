// Counting samples through the resolve as measured: a box of stored values, a resolve in linear
// light, one that shows sample 0 alone and one that mixes neighbouring pixels, each modelled as
// the resolve probe would read it, and each either counted right or declined with its reason.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>

#include "analysis/resolve/resolve_counting.h"
#include "analysis/resolve/resolve_decoder.h"

namespace {

constexpr int kSamples = 4;

// How the modelled resolve turns the values of a pixel's samples (0 .. 1) into one value.
using Resolve = std::function<double(const double (&samples)[kSamples])>;

double Box(const double (&v)[kSamples]) { return (v[0] + v[1] + v[2] + v[3]) / kSamples; }
double Linear(const double (&v)[kSamples]) {
    double sum = 0.0;
    for (double value : v) sum += SrgbToLinear(value);
    return LinearToSrgb(sum / kSamples);
}
double SampleZero(const double (&v)[kSamples]) { return v[0]; }

int Read(double value) { return static_cast<int>(std::lround(value * 255.0)); }

// What the resolve probe reads of the modelled resolve: the white and grey ladders (the k lowest
// samples lit), each sample lit alone, and (mixing) a quarter of a lit pixel in each neighbour.
ResolveMeasurement Measured(const Resolve& resolve, bool mixesNeighbours) {
    ResolveReadings r;
    r.colourSamples = kSamples;
    for (int k = 0; k <= kSamples; ++k) {
        double white[kSamples] = {}, grey[kSamples] = {};
        for (int s = 0; s < k; ++s) white[s] = 1.0, grey[s] = 128.0 / 255.0;
        r.white.push_back({k, Read(resolve(white))});
        r.grey.push_back({k, Read(resolve(grey))});
    }
    for (int s = 0; s < kSamples; ++s) {
        double alone[kSamples] = {};
        alone[s] = 1.0;
        const double lit = resolve(alone);
        FootprintMap map;
        map.values[2][2] = Read(mixesNeighbours ? lit / 2.0 : lit);
        if (mixesNeighbours) map.values[1][2] = map.values[3][2] = map.values[2][1] = map.values[2][3] = Read(lit / 8.0);
        r.footprints.push_back(map);
    }
    ResolveMeasurement m;
    DecodeResolve(r, &m);
    return m;
}

struct Case {
    const char* name;
    Resolve resolve;
    bool mixesNeighbours;
    const char* countDeclined;   // empty: counted
    const char* singleDeclined;  // empty: single samples read, and their values
};

const Case kCases[] = {
    {"box of stored values", Box, false, "", ""},
    {"linear light", Linear, false, "", ""},
    {"sample 0 alone", SampleZero, false, "the resolve is not a box of stored values: coverage cannot be counted from it",
     "a sample lit alone does not show through the resolve: single samples cannot be read from it"},
    {"mixes neighbours", Box, true, "the resolve mixes neighbouring pixels: coverage cannot be counted from it",
     "the resolve mixes neighbouring pixels: coverage cannot be counted from it"},
};

TEST(ResolveCounting, EachResolveCountsAndReadsSamplesRightOrDeclinesWithItsReason) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const ResolveCounting counting = CountingThrough(Measured(c.resolve, c.mixesNeighbours), true);
        EXPECT_EQ(c.countDeclined, counting.countDeclined);
        EXPECT_EQ(c.singleDeclined, counting.singleDeclined);
        // Every subset of samples, not only the ladder's lowest ones, counts as its size.
        for (unsigned subset = 0; counting.CanCount() && subset < 1u << kSamples; ++subset) {
            double white[kSamples] = {};
            int size = 0;
            for (int s = 0; s < kSamples; ++s) size += (white[s] = subset >> s & 1u) != 0.0;
            EXPECT_EQ(size, counting.Count(Read(c.resolve(white)) / 255.0)) << "subset " << subset;
        }
        for (int s = 0; counting.CanReadValues() && s < kSamples; ++s) {
            for (double value : {0.0, 0.2, 0.5, 0.9, 1.0}) {
                double alone[kSamples] = {};
                alone[s] = value;
                const double resolved = Read(c.resolve(alone)) / 255.0;
                // Covered by white, or not covered at all: what the per-sample probes ask.
                if (value == 0.0 || value == 1.0) {
                    EXPECT_EQ(value == 1.0, counting.Lit(s, resolved)) << "sample " << s;
                }
                EXPECT_NEAR(value, counting.SampleValue(s, resolved), counting.SampleValuePrecision(s))
                    << "sample " << s;
            }
        }
    }
}

TEST(ResolveCounting, AResolveNotMeasuredDeclinesEverything) {
    const ResolveCounting counting = CountingThrough(ResolveMeasurement(), true);
    EXPECT_FALSE(counting.CanCount());
    EXPECT_FALSE(counting.CanReadValues());
    EXPECT_EQ("the resolve was not measured: coverage cannot be counted without it", counting.countDeclined);
}

}  // namespace
