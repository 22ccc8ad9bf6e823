// The measurement's JSON: what a reader of the saved file or the survey needs, with exact and
// interval positions told apart, and the same text for the same measurement.
#include "analysis/measurement_json.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using nlohmann::json;

AxisPosition Exact(int sixteenths) {
    AxisPosition axis;
    axis.low = (sixteenths - 0.5) / 16.0;
    axis.high = (sixteenths + 0.5) / 16.0;
    axis.exact = true;
    axis.sixteenths = sixteenths;
    return axis;
}

AxisPosition Interval(double low, double high) {
    AxisPosition axis;
    axis.low = low;
    axis.high = high;
    return axis;
}

SamplePosition Sample(int maskBit, AxisPosition x, AxisPosition y, int weight = 1) {
    SamplePosition sample;
    sample.maskBit = maskBit;
    sample.x = x;
    sample.y = y;
    sample.weight = weight;
    return sample;
}

SampleMeasurement FourStandardSamples() {
    SampleMeasurement m;
    m.multisampleType = 4;
    m.multisampleQuality = 0;
    m.maskable = true;
    m.gridSize = 64;
    const int positions[4][2] = {{6, 2}, {14, 6}, {2, 10}, {10, 14}};
    for (int bit = 0; bit < 4; ++bit) {
        m.samples.push_back(Sample(bit, Exact(positions[bit][0]), Exact(positions[bit][1])));
    }
    m.distinctSamples = 4;
    m.textureSampling = TextureSampling::OncePerPixel;
    m.texturePositions.push_back(Sample(-1, Exact(8), Exact(8)));
    m.standardPattern = true;
    m.maskOrderStandard = true;
    m.milliseconds = 37.25;
    return m;
}

TEST(MeasurementJson, FourStandardSamplesGiveModeMaskBitsPositionsAndVerdicts) {
    const SampleMeasurement m = FourStandardSamples();
    const json doc = MeasurementToJson(m);

    EXPECT_EQ(doc["mode"]["multisampleType"], 4);
    EXPECT_EQ(doc["mode"]["multisampleTypeText"], "D3DMULTISAMPLE_4_SAMPLES");
    EXPECT_EQ(doc["mode"]["multisampleQuality"], 0);
    EXPECT_EQ(doc["mode"]["maskable"], true);
    EXPECT_EQ(doc["mode"]["gridSize"], 64);
    EXPECT_EQ(doc["distinctSamples"], 4);
    ASSERT_EQ(doc["samples"].size(), 4u);
    EXPECT_EQ(doc["samples"][1]["maskBit"], 1);
    EXPECT_EQ(doc["samples"][1]["x"]["sixteenths"], 14);
    EXPECT_EQ(doc["samples"][1]["y"]["sixteenths"], 6);
    EXPECT_EQ(doc["samples"][1]["x"]["exact"], true);
    EXPECT_DOUBLE_EQ(doc["samples"][1]["x"]["low"].get<double>(), 13.5 / 16);
    EXPECT_DOUBLE_EQ(doc["samples"][1]["x"]["high"].get<double>(), 14.5 / 16);
    EXPECT_EQ(doc["samples"][3]["y"]["sixteenths"], 14);

    EXPECT_EQ(doc["textureSampling"]["kind"], "oncePerPixel");
    EXPECT_EQ(doc["textureSampling"]["text"], TextureSamplingText(m));
    EXPECT_EQ(doc["textureSampling"]["positions"][0]["x"]["sixteenths"], 8);
    EXPECT_EQ(doc["verdict"], VerdictText(m));
    EXPECT_EQ(doc["verdicts"]["standardPattern"], true);
    EXPECT_EQ(doc["verdicts"]["maskOrderStandard"], true);
    EXPECT_EQ(doc["verdicts"]["quadsDiffer"], false);
    EXPECT_EQ(doc["verdicts"]["unionMatchesAllBits"], true);
    EXPECT_EQ(doc["verdicts"]["picturesConsistent"], true);
    EXPECT_TRUE(doc["quads"].is_array());
    EXPECT_TRUE(doc["quads"].empty());
    EXPECT_DOUBLE_EQ(doc["milliseconds"].get<double>(), 37.25);
}

TEST(MeasurementJson, SameMeasurementGivesTheSameTextWithSortedKeysThatParsesBack) {
    const std::string first = MeasurementToJson(FourStandardSamples()).dump(2);
    const std::string second = MeasurementToJson(FourStandardSamples()).dump(2);
    EXPECT_EQ(first, second);
    // Keys of the top level in alphabetical order.
    EXPECT_LT(first.find("\"distinctSamples\""), first.find("\"milliseconds\""));
    EXPECT_LT(first.find("\"milliseconds\""), first.find("\"mode\""));
    EXPECT_LT(first.find("\"verdict\""), first.find("\"verdicts\""));
    EXPECT_EQ(json::parse(first), MeasurementToJson(FourStandardSamples()));
}

TEST(MeasurementJson, IntervalsWrappedEdgesNonMaskableSamplesAndQuadsAreKeptAsMeasured) {
    SampleMeasurement m;
    m.multisampleType = 1;  // non-maskable: the mask picks out no sample
    m.multisampleQuality = 2;
    m.gridSize = 96;
    // On the left edge, wrapped: the interval starts left of the pixel.
    m.samples.push_back(Sample(-1, Interval(-1.0 / 192, 1.0 / 192), Exact(8), 2));
    // Two 1/16 steps wide: not exact.
    m.samples.push_back(Sample(-1, Interval(21.0 / 64, 23.0 / 64), Exact(3)));
    m.distinctSamples = 2;
    m.textureSampling = TextureSampling::PerSample;
    m.texturePositions = m.samples;
    m.quadsDiffer = true;
    m.resolveNotAverage = true;
    m.unionMatchesAllBits = false;
    m.picturesConsistent = false;
    QuadPositions odd;
    odd.parityX = 1;
    odd.parityY = 0;
    odd.samples.push_back(Sample(-1, Exact(9), Exact(8)));
    m.quads.push_back(odd);

    const json doc = MeasurementToJson(m);
    EXPECT_EQ(doc["mode"]["multisampleTypeText"], "D3DMULTISAMPLE_NONMASKABLE");
    EXPECT_EQ(doc["mode"]["maskable"], false);
    EXPECT_EQ(doc["mode"]["multisampleQuality"], 2);
    const json& edge = doc["samples"][0];
    EXPECT_TRUE(edge["maskBit"].is_null());
    EXPECT_EQ(edge["weight"], 2);
    EXPECT_EQ(edge["x"]["exact"], false);
    EXPECT_TRUE(edge["x"]["sixteenths"].is_null());
    EXPECT_DOUBLE_EQ(edge["x"]["low"].get<double>(), -1.0 / 192);
    EXPECT_DOUBLE_EQ(edge["x"]["high"].get<double>(), 1.0 / 192);
    EXPECT_TRUE(doc["samples"][1]["x"]["sixteenths"].is_null());
    EXPECT_EQ(doc["samples"][1]["y"]["sixteenths"], 3);

    EXPECT_EQ(doc["textureSampling"]["kind"], "perSample");
    EXPECT_EQ(doc["textureSampling"]["positions"].size(), 2u);
    EXPECT_EQ(doc["verdicts"]["quadsDiffer"], true);
    EXPECT_EQ(doc["verdicts"]["resolveNotAverage"], true);
    EXPECT_EQ(doc["verdicts"]["unionMatchesAllBits"], false);
    EXPECT_EQ(doc["verdicts"]["picturesConsistent"], false);
    ASSERT_EQ(doc["quads"].size(), 1u);
    EXPECT_EQ(doc["quads"][0]["parityX"], 1);
    EXPECT_EQ(doc["quads"][0]["parityY"], 0);
    EXPECT_EQ(doc["quads"][0]["samples"][0]["x"]["sixteenths"], 9);
}

TEST(MeasurementJson, UnmeasuredTextureAndUnknownTypeStillGiveAFullDocument) {
    SampleMeasurement m;
    m.multisampleType = 17;
    const json doc = MeasurementToJson(m);
    EXPECT_EQ(doc["mode"]["multisampleTypeText"], "Unknown Multisample Type");
    EXPECT_EQ(doc["textureSampling"]["kind"], "notMeasured");
    EXPECT_TRUE(doc["textureSampling"]["positions"].empty());
    EXPECT_TRUE(doc["samples"].is_array());
    EXPECT_TRUE(doc["samples"].empty());
}

}  // namespace
