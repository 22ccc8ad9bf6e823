// The consistency check: what each kind of disagreement between a mode's measurements reads as.
#include <gtest/gtest.h>

#include "analysis/resolve/resolve_decoder.h"
#include "analysis/session/measurement_consistency.h"
#include "support/measurement_builders.h"
#include "support/resolve_builders.h"

namespace {

using namespace test_support;

struct Case {
    const char* name;
    D3DMULTISAMPLE_TYPE type;
    int positionsFound;    // single samples, or one sample counting this many (non-maskable)
    int coverageSamples;   // -1: the resolve not measured
    int ladderSamples;
    const char* expected;  // "" for none
};

// A vertical sweep of coverage + 1 levels and a ladder of colour + 1 rungs, as the decoder has them.
ResolveMeasurement Resolve(int coverage, int colour) {
    ResolveReadings readings = FourSampleReadings();
    readings.colourSamples = colour;
    readings.white.clear();
    for (int k = 0; k <= colour; ++k) readings.white.push_back({k, colour == 0 ? 0 : 255 * k / colour});
    readings.grey = readings.white;
    readings.sweeps[0].offsets.clear();
    readings.sweeps[0].values.clear();
    for (int k = 0; k <= coverage; ++k) {
        readings.sweeps[0].offsets.push_back(k * 16 * kEdgeStep);
        readings.sweeps[0].values.push_back(255 * k / coverage);
    }
    ResolveMeasurement resolve;
    DecodeResolve(readings, &resolve);
    return resolve;
}

ModeMeasurement Mode(const Case& c) {
    ModeMeasurement m;
    m.mode.type = c.type;
    m.mode.format = D3DFMT_X8R8G8B8;
    const bool maskable = m.mode.Maskable();
    for (int k = 0; k < (maskable ? c.positionsFound : std::min(c.positionsFound, 1)); ++k) {
        m.samplePositions.samples.push_back(
            ExactSample(maskable ? k : -1, 2 + 4 * k, 2 + 4 * k, maskable ? 1 : c.positionsFound));
    }
    if (c.coverageSamples >= 0) m.resolve = Resolve(c.coverageSamples, c.ladderSamples);
    return m;
}

const Case kCases[] = {
    {"agreeing at 4 samples", D3DMULTISAMPLE_4_SAMPLES, 4, 4, 4, ""},
    {"agreeing at 1x", D3DMULTISAMPLE_NONE, 1, 1, 1, ""},
    {"positions alone, the resolve not measured", D3DMULTISAMPLE_4_SAMPLES, 4, -1, 0, ""},
    {"positions fewer than the coverage and the type", D3DMULTISAMPLE_4_SAMPLES, 2, 4, 4,
     "positions found 2 samples, the coverage levels 4, the transfer ladder 4 and the type 4"},
    {"fewer coverage levels than samples", D3DMULTISAMPLE_4_SAMPLES, 4, 2, 4,
     "positions found 4 samples, the coverage levels 2, the transfer ladder 4 and the type 4"},
    {"positions short of the type alone", D3DMULTISAMPLE_8_SAMPLES, 7, -1, 0,
     "positions found 7 samples and the type 8"},
    {"a coverage-sample mode the type and the positions vouch for", D3DMULTISAMPLE_4_SAMPLES, 4, 8, 4, ""},
    {"no sample found", D3DMULTISAMPLE_4_SAMPLES, 0, 4, 4, "positions found no sample"},
    {"no sample found, non-maskable", D3DMULTISAMPLE_NONMASKABLE, 0, -1, 0, "positions found no sample"},
    {"non-maskable, measurements agreeing", D3DMULTISAMPLE_NONMASKABLE, 4, 4, 4, ""},
    {"non-maskable, positions fewer than the coverage", D3DMULTISAMPLE_NONMASKABLE, 2, 4, 2,
     "positions found 2 samples, the coverage levels 4 and the transfer ladder 2"},
    {"non-maskable, a ladder that lit another count", D3DMULTISAMPLE_NONMASKABLE, 1, 1, 4,
     "positions found 1 sample, the coverage levels 1 and the transfer ladder 4"},
};

TEST(MeasurementConsistency, EachDisagreementIsOneSentenceNamingEveryCount) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        const std::vector<std::string> found = MeasurementContradictions(Mode(c));
        EXPECT_EQ(ContradictionsText(found), c.expected);
        EXPECT_EQ(found.size(), *c.expected ? 1u : 0u);
    }
}

}  // namespace
