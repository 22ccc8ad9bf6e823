// The resolve measurement as JSON: the keys survey users diff against, whole read-back steps,
// and null for the parts that could not be tried.
#include <gtest/gtest.h>

#include "analysis/resolve/resolve_decoder.h"
#include "analysis/resolve/resolve_json.h"
#include "support/resolve_builders.h"

namespace {

using nlohmann::json;

using test_support::FourSampleReadings;
using test_support::Ladder;

TEST(ResolveJson, HoldsTheTransferFootprintAndCoverageUnderTheirKeys) {
    ResolveReadings r = FourSampleReadings();
    r.srgbTried = false;
    r.sweeps[0].values = {0, 64, 128, 255, 255};  // a level missing
    ResolveMeasurement m;
    DecodeResolve(r, &m);
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
    EXPECT_EQ(json::parse(R"([{"edge":"vertical","normal":[1.0,0.0],"changes":[0.1328125,0.3828125,0.6328125]}])"),
              c["edgePositions"]);
    // Read back, a sweep has as many levels as it had when measured.
    EXPECT_EQ(m.coverage.sweeps[0].levels, c.get<CoverageLevels>().sweeps[0].levels);
}

TEST(ResolveJson, SrgbWritingCarriesTheCapsAnswerBesideWhatHappened) {
    ResolveReadings r = FourSampleReadings();
    r.srgbCapsAnswer = 0;
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
