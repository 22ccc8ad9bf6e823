// The alpha-to-coverage decoder on hand-made coverage: a threshold map the same in every pixel, a
// 2 x 2 ordered dither, a switch without effect, and coverage no verdict but "other" fits.
#include "analysis/alpha_to_coverage/alpha_to_coverage_decoder.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

// Coverage where sample s of pixel (x, y) is covered at alpha a when covered(a, x, y, s).
AlphaCoverageObservations Observe(int samples, const std::function<bool(int, int, int, int)>& covered) {
    AlphaCoverageObservations in;
    in.samples = samples;
    in.covered.assign(256, BlockCoverage{});
    for (int a = 0; a < 256; ++a) {
        for (int p = 0; p < kCoverageBlock * kCoverageBlock; ++p) {
            for (int s = 0; s < samples; ++s) {
                if (covered(a, p % kCoverageBlock, p / kCoverageBlock, s)) in.covered[a][p] |= 1u << s;
            }
        }
    }
    return in;
}

AlphaToCoverageMap Decode(const AlphaCoverageObservations& in) {
    AlphaToCoverageMap map;
    DecodeAlphaToCoverage(in, &map);
    return map;
}

TEST(AlphaToCoverageDecoder, AThresholdMapWithoutDitherIsTheSameInEveryPixel) {
    // Sample s from alpha 64 (s + 1) - 1: k/4 of 255, rounded.
    const AlphaToCoverageMap map = Decode(Observe(4, [](int a, int, int, int s) { return a >= 64 * (s + 1) - 1; }));
    EXPECT_EQ(AlphaToCoverageVerdict::Thresholds, map.verdict);
    EXPECT_TRUE(map.monotonic);
    EXPECT_EQ((std::vector<int>{63, 127, 191, 255}), map.thresholds[3][2]);
    EXPECT_EQ("thresholds k/4 (alpha 63, 127, 191, 255), the same in every pixel", AlphaToCoverageVerdictText(map));
    // Sample order does not matter to the rule; nor must the thresholds follow one.
    const AlphaToCoverageMap odd = Decode(Observe(2, [](int a, int, int, int s) { return a >= (s ? 10 : 200); }));
    EXPECT_EQ("thresholds (alpha 10, 200), the same in every pixel", AlphaToCoverageVerdictText(odd));
    EXPECT_EQ((std::vector<int>{200, 10}), odd.thresholds[0][0]);
}

TEST(AlphaToCoverageDecoder, ATwoByTwoDitherIsFoundWithItsMatrix) {
    const int offset[2][2] = {{0, 32}, {48, 16}};
    const AlphaToCoverageMap map = Decode(Observe(2, [&](int a, int x, int y, int s) {
        return a >= 64 + 128 * s + offset[y % 2][x % 2];
    }));
    EXPECT_EQ(AlphaToCoverageVerdict::Dither, map.verdict);
    EXPECT_EQ(2, map.ditherWidth);
    EXPECT_EQ(2, map.ditherHeight);
    EXPECT_EQ("ordered dither over 2 x 2 pixels", AlphaToCoverageVerdictText(map));
    EXPECT_EQ("[64 192]  [96 224]\n[112 240]  [80 208]\n", DitherMatrixText(map));

    // Along x only: the smallest period is 2 x 1.
    const AlphaToCoverageMap columns = Decode(Observe(1, [](int a, int x, int, int) { return a >= 100 + 50 * (x % 2); }));
    EXPECT_EQ(AlphaToCoverageVerdict::Dither, columns.verdict);
    EXPECT_EQ(2, columns.ditherWidth);
    EXPECT_EQ(1, columns.ditherHeight);
}

TEST(AlphaToCoverageDecoder, NoEffectIsNotAppliedAlsoBehindTheAlphaTest) {
    EXPECT_EQ(AlphaToCoverageVerdict::NotApplied, Decode(Observe(4, [](int, int, int, int) { return true; })).verdict);
    AlphaCoverageObservations tested = Observe(4, [](int a, int, int, int) { return a >= 1; });
    EXPECT_EQ(AlphaToCoverageVerdict::Thresholds, Decode(tested).verdict);
    tested.alphaTestReference = 1;
    EXPECT_EQ(AlphaToCoverageVerdict::NotApplied, Decode(tested).verdict);
}

TEST(AlphaToCoverageDecoder, CoverageNoVerdictExplainsIsOther) {
    // Uncovered again at a higher alpha.
    const AlphaToCoverageMap flicker = Decode(Observe(1, [](int a, int, int, int) { return a >= 100 && a != 150; }));
    EXPECT_FALSE(flicker.monotonic);
    EXPECT_EQ(AlphaToCoverageVerdict::Other, flicker.verdict);
    EXPECT_EQ(151, flicker.thresholds[0][0][0]);
    // Never anything covered.
    const AlphaToCoverageMap none = Decode(Observe(4, [](int, int, int, int) { return false; }));
    EXPECT_EQ(AlphaToCoverageVerdict::Other, none.verdict);
    EXPECT_EQ(kNeverCovered, none.thresholds[1][1][3]);
    // The per-sample pictures do not add up to the all-samples one.
    AlphaCoverageObservations mismatch = Observe(4, [](int a, int, int, int s) { return a >= 64 * s; });
    mismatch.unionMatchesSamples = false;
    EXPECT_EQ(AlphaToCoverageVerdict::Other, Decode(mismatch).verdict);
}

}  // namespace
