// The resolve decoder on values made by hand: ladders of resolves that average stored values or
// linear light at 2 and 4 samples, footprints of a box, a five-tap and a tent filter, and edge
// sweeps of a plain 4-sample mode, a 4-colour/8-coverage mode and one that does not multisample.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "analysis/resolve/resolve_decoder.h"
#include "support/resolve_builders.h"

namespace {

using test_support::Ladder;

struct TransferCase {
    const char* name;
    int samples;
    std::vector<LadderStep> white;
    std::vector<LadderStep> grey;
    TransferVerdict verdict;
};

TEST(ResolveTransfer, LaddersAreJudgedAgainstStoredAndLinearAverages) {
    const TransferCase cases[] = {
        {"stored, 4", 4, Ladder({0, 64, 128, 191, 255}), Ladder({0, 32, 64, 96, 128}), TransferVerdict::Stored},
        {"linear, 4", 4, Ladder({0, 137, 188, 225, 255}), Ladder({0, 66, 92, 112, 128}), TransferVerdict::Linear},
        {"stored, 2", 2, Ladder({0, 128, 255}), Ladder({0, 64, 128}), TransferVerdict::Stored},
        {"linear, 2 (0xbc for one of two)", 2, Ladder({0, 188, 255}), Ladder({0, 92, 128}),
         TransferVerdict::Linear},
        {"stored within a step and a half", 4, Ladder({0, 65, 127, 192, 255}), {}, TransferVerdict::Stored},
        {"two steps off", 4, Ladder({0, 66, 128, 191, 255}), {}, TransferVerdict::Other},
        {"white stored, grey not", 4, Ladder({0, 64, 128, 191, 255}), Ladder({0, 66, 92, 112, 128}),
         TransferVerdict::Other},
        {"neither", 4, Ladder({0, 70, 130, 200, 255}), {}, TransferVerdict::Other},
    };
    for (const TransferCase& c : cases) {
        const TransferCurve curve = DecodeTransfer(c.white, c.grey, c.samples, 255);
        EXPECT_EQ(c.verdict, curve.verdict) << c.name;
        EXPECT_FALSE(curve.referencesAlike) << c.name;
    }
    EXPECT_EQ("resolve averages stored values", TransferVerdictText(DecodeTransfer(cases[0].white, {}, 4, 255)));
    EXPECT_EQ("resolve averages linear light (gamma-correct)",
              TransferVerdictText(DecodeTransfer(cases[1].white, {}, 4, 255)));
    EXPECT_EQ("other: 0, 70, 130, 200, 255", TransferVerdictText(DecodeTransfer(cases[7].white, {}, 4, 255)));
}

TEST(ResolveTransfer, OneSampleOrFewBitsCannotTellTheReferencesApart) {
    const TransferCurve one = DecodeTransfer(Ladder({0, 255}), Ladder({0, 128}), 1, 255);
    EXPECT_EQ(TransferVerdict::Stored, one.verdict);
    EXPECT_TRUE(one.referencesAlike);
    // Two bits of alpha: 1 of 4 is 0.75 stored, 1.6 linear; the nearer wins, not a finding.
    const TransferCurve alpha = DecodeTransfer(Ladder({0, 1, 2, 2, 3}), {}, 4, 3);
    EXPECT_EQ(TransferVerdict::Stored, alpha.verdict);
    EXPECT_TRUE(alpha.referencesAlike);
}

TEST(ResolveTransfer, ReferencesAreSrgbDecodedAndEncodedAverages) {
    const int linear[] = {0, 137, 188, 225, 255};
    for (int k = 0; k <= 4; ++k) {
        EXPECT_EQ(linear[k], std::lround(LinearReference(k, 4, 255, 255))) << k;
        EXPECT_DOUBLE_EQ(63.75 * k, StoredReference(k, 4, 255, 255));
    }
    EXPECT_EQ(188, std::lround(LinearReference(1, 2, 255, 255)));
    EXPECT_NEAR(0.5, LinearToSrgb(SrgbToLinear(0.5)), 1e-12);
}

FootprintMap Map(std::initializer_list<std::initializer_list<int>> rows) {
    FootprintMap map;
    int y = 0;
    for (const auto& row : rows) {
        int x = 0;
        for (int value : row) map.values[y][x++] = value;
        ++y;
    }
    return map;
}

TEST(ResolveFootprint, OnlyAMapWithNothingAroundTheLitPixelIsABox) {
    std::vector<FootprintMap> box;
    for (int s = 0; s < 4; ++s) box.push_back(Map({{}, {}, {0, 0, 64}, {}, {}}));
    const Footprint found = DecodeFootprint(box);
    EXPECT_EQ(FootprintVerdict::Box, found.verdict);
    EXPECT_EQ(256, found.weights[2][2]);
    EXPECT_EQ("box: every pixel from its own samples", FootprintVerdictText(found));

    // Five taps at 2 samples: the centre sample weighs 1/2 in its own pixel; the corner sample
    // 1/8 in each of the four pixels whose corner it lies on.
    const std::vector<FootprintMap> fiveTap = {
        Map({{}, {}, {0, 0, 128}, {}, {}}),
        Map({{}, {}, {0, 0, 32, 32}, {0, 0, 32, 32}, {}}),
    };
    const Footprint quincunx = DecodeFootprint(fiveTap);
    EXPECT_EQ(FootprintVerdict::Wider, quincunx.verdict);
    EXPECT_EQ(160, quincunx.weights[2][2]);
    EXPECT_EQ(32, quincunx.weights[3][3]);
    EXPECT_EQ("wider filter", FootprintVerdictText(quincunx));

    // A tent two pixels wide: even a sample at the pixel's centre lights its neighbours.
    const std::vector<FootprintMap> tent = {Map({{}, {0, 4, 8, 4}, {0, 8, 16, 8}, {0, 4, 8, 4}, {}})};
    EXPECT_EQ(FootprintVerdict::Wider, DecodeFootprint(tent).verdict);
    EXPECT_EQ(FootprintVerdict::NotMeasured, DecodeFootprint({}).verdict);
}

// An edge swept along x in 1/128 steps over samples at xs (pixels): the pixel's value counts the
// samples left of the edge, in shares of the coverage samples.
EdgeSweep SweepOver(const std::vector<double>& xs) {
    EdgeSweep sweep;
    sweep.edge = "vertical";
    for (int k = 0; k <= 128; ++k) {
        const double offset = k * kEdgeStep;
        int covered = 0;
        for (double x : xs) covered += x < offset ? 1 : 0;
        sweep.offsets.push_back(offset);
        sweep.values.push_back(static_cast<int>(std::lround(255.0 * covered / xs.size())));
    }
    return sweep;
}

TEST(ResolveCoverage, LevelsAgainstColourSamplesNameTheMode) {
    const EdgeSweep four = SweepOver({0.125, 0.375, 0.625, 0.875});
    CoverageLevels plain = DecodeCoverage({four}, 4);
    EXPECT_EQ(5, plain.levels);
    EXPECT_EQ(CoverageVerdict::Equal, plain.verdict);
    EXPECT_EQ((std::vector<double>{17 / 128.0, 49 / 128.0, 81 / 128.0, 113 / 128.0}), plain.sweeps[0].changes);
    EXPECT_EQ("coverage samples = colour samples", CoverageVerdictText(plain));

    // 8 coverage samples, 4 colour: an edge shows 9 levels, and where they change says where the
    // coverage samples lie along x.
    const EdgeSweep eight = SweepOver({0.0625, 0.1875, 0.3125, 0.4375, 0.5625, 0.6875, 0.8125, 0.9375});
    const CoverageLevels coverage = DecodeCoverage({four, eight}, 4);
    EXPECT_EQ(9, coverage.levels);
    EXPECT_EQ(8, coverage.coverageSamples);
    EXPECT_EQ(CoverageVerdict::CoverageMode, coverage.verdict);
    ASSERT_EQ(8u, coverage.sweeps[1].changes.size());
    EXPECT_DOUBLE_EQ(9 / 128.0, coverage.sweeps[1].changes[0]);
    EXPECT_EQ("coverage-sample mode: 8 coverage, 4 colour", CoverageVerdictText(coverage));

    // A mode offering 4 samples that rasterises once per pixel: black or white, nothing between.
    const CoverageLevels single = DecodeCoverage({SweepOver({0.5})}, 4);
    EXPECT_EQ(2, single.levels);
    EXPECT_EQ(CoverageVerdict::Fewer, single.verdict);
    EXPECT_EQ("fewer levels than samples", CoverageVerdictText(single));
}

TEST(ResolveDecoder, ReadingsBecomeAMeasurementWithSrgbWritingJudgedByTheGrey) {
    ResolveReadings r = test_support::FourSampleReadings();
    r.srgbWhite = Ladder({0, 137, 188, 225, 255});
    r.srgbGrey = Ladder({0, 99, 137, 165, 188});  // 128 written as 188, averaged in linear light
    r.alphaScale = 255;
    r.alpha = Ladder({0, 64, 128, 191, 255});
    r.sweeps = {SweepOver({0.125, 0.375, 0.625, 0.875})};
    ResolveMeasurement m;
    DecodeResolve(r, &m);
    EXPECT_EQ(TransferVerdict::Stored, m.transfer.curve.verdict);
    EXPECT_TRUE(m.transfer.srgbWrite.writeEncoded);
    EXPECT_EQ(TransferVerdict::Linear, m.transfer.srgbWrite.curve.verdict);
    EXPECT_EQ(TransferVerdict::Stored, m.transfer.alpha.curve.verdict);
    EXPECT_EQ(FootprintVerdict::Box, m.footprint.verdict);
    EXPECT_EQ(CoverageVerdict::Equal, m.coverage.verdict);
    EXPECT_EQ("averaged as stored values; sRGB write (D3DERR_NOTAVAILABLE, encoded): averaged in linear light", ResolveColumnText(m));
    EXPECT_EQ("box", FilterColumnText(m));
    EXPECT_EQ("5 levels, as 4 samples give", CoverageColumnText(m));

    r.srgbGrey = Ladder({0, 32, 64, 96, 128});
    DecodeResolve(r, &m);
    EXPECT_FALSE(m.transfer.srgbWrite.writeEncoded);
}

TEST(ResolveDecoder, SrgbWritingCountsAsTriedOnlyWhereItsLaddersWereDrawnAndRead) {
    const struct {
        const char* name;
        bool drawn;
        bool white;
        bool grey;
        bool tried;
    } cases[] = {
        {"drawn and read", true, true, true, true},
        {"not drawn", false, false, false, false},
        {"drawn, nothing read", true, false, false, false},
        {"drawn, white only read", true, true, false, false},
        {"drawn, grey only read", true, false, true, false},
    };
    for (const auto& c : cases) {
        ResolveReadings r = test_support::FourSampleReadings();
        r.srgbTried = c.drawn;
        if (!c.white) r.srgbWhite.clear();
        if (!c.grey) r.srgbGrey.clear();
        ResolveMeasurement m;
        DecodeResolve(r, &m);
        EXPECT_EQ(c.tried, m.transfer.srgbWrite.tried) << c.name;
        EXPECT_EQ(c.tried, m.transfer.srgbWrite.curve.verdict != TransferVerdict::NotMeasured) << c.name;
        EXPECT_EQ(c.tried, ResolveColumnText(m).find("sRGB write") != std::string::npos) << c.name;
        // The caps' answer is kept whatever the drawing did.
        EXPECT_EQ(static_cast<long>(0x8876086A), m.transfer.srgbWrite.capsAnswer) << c.name;
    }
}

// The ladders resolved again after an sRGB-written last draw: the same, or a resolve that now
// averages in linear light (lazily applied state), or no second resolve at all.
TEST(ResolveDecoder, TheLastDrawChangesTheResolveOnlyWhereARungMovesBeyondTheTolerance) {
    struct Case {
        const char* name;
        bool tried;
        std::vector<LadderStep> white, grey;
        bool measured, depends;
        TransferVerdict plain;
    };
    const ResolveReadings wine = test_support::FourSampleReadings();
    const Case cases[] = {
        {"the same", true, wine.white, wine.grey, true, false, TransferVerdict::Stored},
        {"a step off", true, Ladder({1, 65, 127, 192, 255}), wine.grey, true, false, TransferVerdict::Stored},
        {"linear light", true, Ladder({0, 137, 188, 225, 255}), Ladder({0, 66, 92, 112, 128}), true, true,
         TransferVerdict::Linear},
        {"not drawn", false, {}, {}, false, false, TransferVerdict::NotMeasured},
    };
    for (const Case& c : cases) {
        ResolveReadings r = wine;
        r.afterSrgbDrawTried = c.tried;
        r.afterSrgbDraw = {c.white, c.grey, wine.srgbWhite, wine.srgbGrey};
        ResolveMeasurement m;
        DecodeResolve(r, &m);
        const LastDrawLadders& last = m.transfer.afterSrgbDraw;
        EXPECT_EQ(c.measured, last.measured) << c.name;
        EXPECT_EQ(c.depends, last.dependsOnLastDraw) << c.name;
        EXPECT_EQ(c.plain, last.plain.verdict) << c.name;
        EXPECT_EQ(c.measured ? TransferVerdict::Stored : TransferVerdict::NotMeasured, last.srgb.verdict) << c.name;
    }
}

}  // namespace
