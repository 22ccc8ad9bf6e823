// The resolve measurement as JSON: the keys survey users diff against, whole read-back steps,
// and null for the parts that could not be tried.
#include <gtest/gtest.h>

#include "analysis/resolve_decoder.h"
#include "analysis/resolve_json.h"

namespace {

using nlohmann::json;

std::vector<LadderStep> Ladder(std::initializer_list<int> values) {
    std::vector<LadderStep> ladder;
    for (int value : values) ladder.push_back({static_cast<int>(ladder.size()), value});
    return ladder;
}

ResolveReadings FourSampleReadings() {
    ResolveReadings r;
    r.colourSamples = 4;
    r.white = Ladder({0, 64, 128, 191, 255});
    r.grey = Ladder({0, 32, 64, 96, 128});
    FootprintMap lit;
    lit.values[2][2] = 64;
    r.footprints.assign(4, lit);
    EdgeSweep sweep;
    sweep.edge = "vertical";
    sweep.offsets = {0.0, kEdgeStep, 2 * kEdgeStep, 3 * kEdgeStep};
    sweep.values = {0, 64, 128, 255};
    r.sweeps = {sweep};
    return r;
}

TEST(ResolveJson, HoldsTheTransferFootprintAndCoverageUnderTheirKeys) {
    ResolveMeasurement m;
    DecodeResolve(FourSampleReadings(), &m);
    const json j = ResolveToJson(m);
    EXPECT_EQ("stored", j["transfer"]["verdict"]);
    EXPECT_EQ(255, j["transfer"]["valueScale"]);
    EXPECT_EQ(json::parse(R"([{"covered":0,"value":0},{"covered":1,"value":64},{"covered":2,"value":128},
                              {"covered":3,"value":191},{"covered":4,"value":255}])"),
              j["transfer"]["ladder"]);
    EXPECT_EQ(96, j["transfer"]["grey"][3]["value"]);
    EXPECT_TRUE(j["transfer"]["srgbWrite"].is_null());
    EXPECT_TRUE(j["transfer"]["alpha"].is_null());

    EXPECT_EQ("box", j["footprint"]["verdict"]);
    ASSERT_EQ(5u, j["footprint"]["weights"].size());
    EXPECT_EQ(json::parse("[0, 0, 256, 0, 0]"), j["footprint"]["weights"][2]);

    const json& c = j["coverage"];
    EXPECT_EQ(4, c["levels"]);
    EXPECT_EQ(3, c["coverageSamples"]);
    EXPECT_EQ(4, c["colourSamples"]);
    EXPECT_EQ("fewer", c["verdict"]);
    EXPECT_EQ(json::parse(R"([{"edge":"vertical","changes":[0.0078125,0.015625,0.0234375]}])"),
              c["edgePositions"]);
}

TEST(ResolveJson, SrgbWritingCarriesTheCapsAnswerBesideWhatHappened) {
    ResolveReadings r = FourSampleReadings();
    r.srgbTried = true;
    r.srgbCapsAnswer = 0;
    r.srgbWhite = r.white;
    r.srgbGrey = Ladder({0, 47, 94, 141, 188});
    r.alphaScale = 3;
    r.alpha = Ladder({0, 1, 2, 2, 3});
    ResolveMeasurement m;
    DecodeResolve(r, &m);
    const json j = ResolveToJson(m)["transfer"];
    EXPECT_EQ("D3D_OK", j["srgbWrite"]["capsAnswer"]);
    EXPECT_EQ(true, j["srgbWrite"]["writeEncoded"]);
    EXPECT_EQ("stored", j["srgbWrite"]["verdict"]);
    EXPECT_EQ(188, j["srgbWrite"]["grey"][4]["value"]);
    EXPECT_EQ(3, j["alpha"]["valueScale"]);
    EXPECT_EQ("stored", j["alpha"]["verdict"]);
    EXPECT_EQ("D3DERR_NOTAVAILABLE", CapsAnswerText(static_cast<long>(0x8876086A)));
    EXPECT_EQ("0x80004005", CapsAnswerText(static_cast<long>(0x80004005)));
}

}  // namespace
