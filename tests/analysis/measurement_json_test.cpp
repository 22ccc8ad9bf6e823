// The measurement's JSON: what a reader of the saved file or the survey needs, with exact and
// interval positions told apart, and the same text for the same measurement.
#include "analysis/session/measurement_json.h"

#include <gtest/gtest.h>

#include <string>

#include "support/measurement_builders.h"

namespace {

using test_support::ExactAxis;
using test_support::IntervalAxis;
using test_support::SampleAt;

using nlohmann::json;

ModeMeasurement FourStandardSamples() {
    ModeMeasurement measured;
    measured.mode = {D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_X8R8G8B8};
    measured.milliseconds = 37.25;
    SampleMeasurement& m = measured.samplePositions;
    m.gridSize = 64;
    const int positions[4][2] = {{6, 2}, {14, 6}, {2, 10}, {10, 14}};
    for (int bit = 0; bit < 4; ++bit) {
        m.samples.push_back(SampleAt(bit, ExactAxis(positions[bit][0]), ExactAxis(positions[bit][1])));
    }
    m.distinctSamples = 4;
    m.textureSampling = TextureSampling::OncePerPixel;
    m.texturePositions.push_back(SampleAt(-1, ExactAxis(8), ExactAxis(8)));
    m.standardPattern = true;
    m.maskOrderStandard = true;
    m.unionMatchesAllBits = true;
    return measured;
}

TEST(MeasurementJson, FourStandardSamplesGiveModeMaskBitsPositionsAndVerdicts) {
    const ModeMeasurement measured = FourStandardSamples();
    const SampleMeasurement& m = measured.samplePositions;
    const json mode = ModeToJson(D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, measured.mode);
    const json doc = MeasurementToJson(measured)["samplePositions"];

    EXPECT_EQ(mode["multisampleType"], "D3DMULTISAMPLE_4_SAMPLES");
    EXPECT_EQ(mode["multisampleTypeValue"], 4);
    EXPECT_EQ(mode["maskable"], true);
    EXPECT_EQ(mode["deviceType"], "D3DDEVTYPE_HAL");
    EXPECT_EQ(mode["backBufferFormat"], "D3DFMT_X8R8G8B8");
    ASSERT_EQ(doc["samples"].size(), 4u);
    EXPECT_EQ(doc["samples"][1]["maskBit"], 1);
    EXPECT_EQ(doc["samples"][1]["x"]["sixteenths"], 14);
    EXPECT_EQ(doc["samples"][1]["y"]["sixteenths"], 6);
    EXPECT_DOUBLE_EQ(doc["samples"][1]["x"]["low"].get<double>(), 13.5 / 16);
    EXPECT_EQ(doc["textureSampling"]["text"], TextureSamplingText(m));
    EXPECT_EQ(doc["verdict"], VerdictText(m));
    EXPECT_EQ(doc["verdicts"]["maskOrderStandard"], true);
    EXPECT_TRUE(doc["quads"].is_array() && doc["quads"].empty());
    EXPECT_EQ(doc["samples"][1]["count"], 1);
}

TEST(MeasurementJson, SameMeasurementGivesTheSameTextWithSortedKeysThatParsesBack) {
    const std::string first = MeasurementToJson(FourStandardSamples())["samplePositions"].dump(2);
    const std::string second = MeasurementToJson(FourStandardSamples())["samplePositions"].dump(2);
    EXPECT_EQ(first, second);
    // Keys of each object in alphabetical order.
    EXPECT_LT(first.find("\"distinctSamples\""), first.find("\"gridSize\""));
    EXPECT_LT(first.find("\"gridSize\""), first.find("\"samples\""));
    EXPECT_LT(first.find("\"verdict\""), first.find("\"verdicts\""));
    EXPECT_EQ(json::parse(first), MeasurementToJson(FourStandardSamples())["samplePositions"]);
}

TEST(MeasurementJson, IntervalsWrappedEdgesNonMaskableSamplesAndQuadsAreKeptAsMeasured) {
    ModeMeasurement measured;
    measured.mode = {D3DMULTISAMPLE_NONMASKABLE, 2, D3DFMT_X8R8G8B8};  // the mask picks out no sample
    SampleMeasurement& m = measured.samplePositions;
    m.gridSize = 96;
    // On the left edge, wrapped: the interval starts left of the pixel.
    m.samples.push_back(SampleAt(-1, IntervalAxis(-1.0 / 192, 1.0 / 192), ExactAxis(8), 2));
    // Two 1/16 steps wide: not exact.
    m.samples.push_back(SampleAt(-1, IntervalAxis(21.0 / 64, 23.0 / 64), ExactAxis(3)));
    m.distinctSamples = 2;
    m.textureSampling = TextureSampling::PerSample;
    m.texturePositions = m.samples;
    m.quadsDiffer = true;
    m.resolveNotAverage = true;
    m.picturesConsistent = false;
    QuadPositions odd;
    odd.parityX = 1;
    odd.parityY = 0;
    odd.samples.push_back(SampleAt(-1, ExactAxis(9), ExactAxis(8)));
    m.quads.push_back(odd);

    const json mode = ModeToJson(D3DDEVTYPE_HAL, D3DFMT_X8R8G8B8, measured.mode);
    const json doc = MeasurementToJson(measured)["samplePositions"];
    EXPECT_EQ(mode["multisampleType"], "D3DMULTISAMPLE_NONMASKABLE");
    EXPECT_EQ(mode["multisampleQuality"], 2);
    const json& edge = doc["samples"][0];
    EXPECT_TRUE(edge["maskBit"].is_null());
    EXPECT_EQ(edge["count"], 2);
    EXPECT_EQ(edge["x"]["exact"], false);
    EXPECT_TRUE(edge["x"]["sixteenths"].is_null());
    EXPECT_DOUBLE_EQ(edge["x"]["low"].get<double>(), -1.0 / 192);
    EXPECT_DOUBLE_EQ(edge["x"]["high"].get<double>(), 1.0 / 192);
    EXPECT_TRUE(doc["samples"][1]["x"]["sixteenths"].is_null());
    EXPECT_EQ(doc["samples"][1]["y"]["sixteenths"], 3);

    EXPECT_EQ(doc["textureSampling"]["kind"], "perSample");
    EXPECT_EQ(doc["textureSampling"]["positions"].size(), 2u);
    EXPECT_EQ(doc["verdicts"]["quadsDiffer"], true);
    // Verdicts about mask bits do not apply: null, not false.
    EXPECT_TRUE(doc["verdicts"]["unionMatchesAllBits"].is_null());
    EXPECT_TRUE(doc["verdicts"]["maskOrderStandard"].is_null());
    EXPECT_EQ(doc["verdicts"]["picturesConsistent"], false);
    ASSERT_EQ(doc["quads"].size(), 1u);
    EXPECT_EQ(doc["quads"][0]["parityX"], 1);
    EXPECT_EQ(doc["quads"][0]["parityY"], 0);
    EXPECT_EQ(doc["quads"][0]["samples"][0]["x"]["sixteenths"], 9);
}

TEST(MeasurementJson, IntervalEndsAreRoundedToTheMeasuringStep) {
    // Float error of the probe's pattern on either side of 265/512 and 11/96.
    ModeMeasurement measured;
    SampleMeasurement& m = measured.samplePositions;
    m.gridSize = 32;
    m.samples.push_back(SampleAt(0, IntervalAxis(0.5175781231373549, 0.5488281268626451),
                                 IntervalAxis(-1.0 / 64 + 1e-9, 1.0 / 64)));
    const json x = MeasurementToJson(measured)["samplePositions"]["samples"][0]["x"];
    EXPECT_EQ(x["low"].dump(), "0.517578125");
    EXPECT_EQ(x["high"].dump(), "0.548828125");
    m.gridSize = 96;
    m.samples[0].x = IntervalAxis(11.0 / 96 - 3e-9, 12.0 / 96);
    const json sample = MeasurementToJson(measured)["samplePositions"]["samples"][0];
    EXPECT_DOUBLE_EQ(sample["x"]["low"].get<double>(), 11.0 / 96);
    EXPECT_EQ(sample["y"]["low"].dump(), "-0.015625");
}

}  // namespace
