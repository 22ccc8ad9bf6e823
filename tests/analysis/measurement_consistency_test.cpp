// The consistency check: what each kind of disagreement between a mode's measurements reads as.
#include <gtest/gtest.h>

#include "analysis/session/measurement_consistency.h"

namespace {

struct Case {
    D3DMULTISAMPLE_TYPE type;
    int found;     // the samples the positions add up to (a non-maskable mode: one position)
    int coverage;  // coverage levels less one, and the ladder's samples; -1: resolve not measured
    int ladder;
    const char* expected;
};

const Case kCases[] = {
    {D3DMULTISAMPLE_4_SAMPLES, 4, 4, 4, ""},
    {D3DMULTISAMPLE_NONE, 1, 1, 1, ""},
    {D3DMULTISAMPLE_4_SAMPLES, 4, -1, 0, ""},
    {D3DMULTISAMPLE_4_SAMPLES, 4, 8, 4, ""},  // a coverage-sample mode the type vouches for
    {D3DMULTISAMPLE_4_SAMPLES, 2, 4, 4,
     "positions found 2 samples, the coverage levels 4, the transfer ladder 4 and the type 4"},
    {D3DMULTISAMPLE_4_SAMPLES, 4, 2, 4,
     "positions found 4 samples, the coverage levels 2, the transfer ladder 4 and the type 4"},
    {D3DMULTISAMPLE_8_SAMPLES, 7, -1, 0, "positions found 7 samples and the type 8"},
    {D3DMULTISAMPLE_4_SAMPLES, 0, 4, 4, "positions found no sample"},
    {D3DMULTISAMPLE_NONMASKABLE, 0, -1, 0, "positions found no sample"},
    {D3DMULTISAMPLE_NONMASKABLE, 4, 4, 4, ""},
    {D3DMULTISAMPLE_NONMASKABLE, 2, 4, 2, "positions found 2 samples, the coverage levels 4 and the transfer ladder 2"},
    {D3DMULTISAMPLE_NONMASKABLE, 1, 1, 4, "positions found 1 sample, the coverage levels 1 and the transfer ladder 4"},
};

TEST(MeasurementConsistency, EachDisagreementIsOneSentenceNamingEveryCount) {
    for (const Case& c : kCases) {
        ModeMeasurement m;
        m.mode.type = c.type;
        SamplePosition sample;
        sample.count = m.mode.Maskable() ? 1 : c.found;
        m.samplePositions.samples.assign(m.mode.Maskable() ? c.found : (c.found > 0), sample);
        if (c.coverage >= 0) {
            m.resolve.coverage.levels = c.coverage + 1;
            m.resolve.transfer.colourSamples = c.ladder;
            m.resolve.transfer.curve.ladder.resize(static_cast<size_t>(c.ladder) + 1);
        }
        const std::vector<std::string> found = MeasurementContradictions(m);
        EXPECT_EQ(ContradictionsText(found), c.expected) << m.mode.TypeName() << " " << c.found << " " << c.coverage;
        EXPECT_EQ(found.size(), *c.expected ? 1u : 0u) << c.expected;
    }
}

}  // namespace
