// The per-sample measurements as the survey writes them: the keys and values the report's readers
// rely on, thresholds nested by pixel row, pixel and sample, points rounded to 1/1024 pixel; and
// the report's short column texts.
#include "analysis/alpha_to_coverage/alpha_to_coverage_json.h"
#include "analysis/centroid/centroid_json.h"
#include "analysis/antialias_off/antialias_off_json.h"

#include <gtest/gtest.h>

#include "support/measurement_builders.h"

namespace {

using test_support::ExactSample;

TEST(SampleCoverageJson, AlphaToCoverageListsEverySwitchWithThresholdsByRowPixelAndSample) {
    AlphaToCoverageMeasurement m;
    AlphaToCoverageMap dither;
    dither.coverageSwitch = CoverageSwitch::Atoc;
    dither.offered = true;
    dither.verdict = AlphaToCoverageVerdict::Dither;
    dither.ditherWidth = 2;
    dither.ditherHeight = 1;
    dither.thresholds.assign(kCoverageBlock, std::vector<std::vector<int>>(kCoverageBlock, {10, kNeverCovered}));
    dither.thresholds[2][1] = {20, 200};
    AlphaToCoverageMap absent;
    absent.coverageSwitch = CoverageSwitch::A2m1;
    m.switches = {dither, absent};

    const nlohmann::json json = AlphaToCoverageToJson(m);
    ASSERT_EQ(2u, json.size());
    EXPECT_EQ("ATOC", json[0]["switch"]);
    EXPECT_EQ(true, json[0]["offered"]);
    EXPECT_EQ("dither", json[0]["verdict"]);
    EXPECT_EQ(nlohmann::json({20, 200}), json[0]["thresholds"][2][1]);
    EXPECT_TRUE(json[0]["thresholds"][0][0][1].is_null());
    EXPECT_EQ(2, json[0]["dither"]["width"]);
    EXPECT_EQ("A2M1", json[1]["switch"]);
    EXPECT_EQ(false, json[1]["offered"]);
    EXPECT_EQ("notOffered", json[1]["verdict"]);
    EXPECT_TRUE(json[1]["thresholds"].empty());
    EXPECT_EQ("ATOC: dither 2x1; A2M1: not offered", AlphaToCoverageColumnText(m));
}

TEST(SampleCoverageJson, CentroidCasesCarryTheirMaskBitsAndRoundedPoints) {
    CentroidMeasurement m;
    m.verdict = CentroidVerdict::CoveredSample;
    m.coveredSampleRule = "the lowest covered mask bit";
    m.precision = 0.0098;
    CentroidCase c;
    c.covered = 0xA;
    c.evaluated = PixelPoint{0.875 + 1e-5, 0.375};
    c.plain = PixelPoint{0.5, 0.5};
    c.atSample = 1;
    m.cases = {c};
    const nlohmann::json json = CentroidToJson(m);
    EXPECT_EQ("coveredSample", json["verdict"]);
    EXPECT_EQ(nlohmann::json({1, 3}), json["cases"][0]["covered"]);
    EXPECT_EQ(0.875, json["cases"][0]["evaluated"]["x"]);
    EXPECT_EQ(0.5, json["cases"][0]["withoutCentroid"]["y"]);
    EXPECT_EQ(1, json["cases"][0]["atSample"]);
    EXPECT_EQ("covered sample (the lowest covered mask bit)", CentroidColumnText(m));
    CentroidMeasurement none;
    EXPECT_EQ("unavailable", CentroidToJson(none)["verdict"]);
    EXPECT_EQ("shader model not available", CentroidVerdictText(none));
}

TEST(SampleCoverageJson, AntialiasOffWritesItsSamplesAsThePositionMeasurementDoes) {
    AntialiasOffMeasurement m;
    m.verdict = AntialiasOffVerdict::Centre;
    m.positions.samples = {ExactSample(0, 8, 8, 4), ExactSample(1, 8, 8, 4)};
    const nlohmann::json json = AntialiasOffToJson(m);
    EXPECT_EQ("centre", json["verdict"]);
    ASSERT_EQ(2u, json["samples"].size());
    EXPECT_EQ(1, json["samples"][1]["maskBit"]);
    EXPECT_EQ(8, json["samples"][1]["x"]["sixteenths"]);
    EXPECT_EQ(4, json["samples"][1]["count"]);
    EXPECT_EQ("centre, every sample", AntialiasOffColumnText(m));
}

}  // namespace
