// A switch's caps answers beside its measured behaviour: the four verdicts and the decline, their
// texts, their JSON read back, and two findings compared as values.
#include "analysis/session/switch_finding_json.h"

#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using nlohmann::json;

const CapsAnswer kRefused{"CheckDeviceFormat(bare)", "D3DERR_NOTAVAILABLE", false};
const CapsAnswer kClaimed{"CheckDeviceFormat(render target)", "D3D_OK", true};

TEST(SwitchFinding, OneAnsweringFormIsAClaimEachCombinationHasItsVerdictAndReadsBackAsWritten) {
    const struct {
        std::vector<CapsAnswer> answers;
        bool tried, works;
        long tryResult;
        const char* text;
        const char* shortText;
        const char* reason;  // where nothing refused it and it was not measured
    } kCases[] = {
        {{kRefused, kClaimed}, true, true, 0, "claimed and works", "claimed, works"},
        {{kClaimed}, true, false, 0, "claimed, but no effect", "claimed, no effect"},
        {{kRefused, kRefused}, true, true, 0, "not claimed, but works", "not claimed, works"},
        {{}, true, false, 0, "not claimed, no effect", "not claimed, no effect"},
        {{kClaimed}, false, false, static_cast<long>(D3DERR_INVALIDCALL),
         "not tried: CreatePixelShader (D3DERR_INVALIDCALL)", "not tried (D3DERR_INVALIDCALL)"},
        {{kClaimed}, false, false, static_cast<long>(0x80070057), "not tried: CreatePixelShader (E_INVALIDARG)",
         "not tried (E_INVALIDARG)"},
        // Drawn with, or not drawable in the format: no call refused it, and the list says why.
        {{kClaimed}, false, false, 0, "not measured: the read-back is too coarse", "not measured",
         "the read-back is too coarse"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        SwitchFinding finding{c.answers, c.tried, c.tryResult, c.tried ? "" : c.reason ? c.reason : "CreatePixelShader",
                              c.works};
        EXPECT_EQ(c.text, SwitchVerdictText(finding));
        EXPECT_EQ(c.shortText, SwitchVerdictShortText(finding));
        EXPECT_EQ(c.reason ? "claimed, not measured: " + std::string(c.reason) : std::string(c.shortText),
                  SwitchVerdictLineText(finding));
        const json written = finding;
        const SwitchFinding read = written.get<SwitchFinding>();
        EXPECT_EQ(written.dump(), json(read).dump());
        EXPECT_EQ(finding.Verdict(), read.Verdict());
    }
    json contradicted = SwitchFinding{{kClaimed}, true, 0, "", true};
    contradicted["verdict"] = "claimedNoEffect";
    EXPECT_THROW(contradicted.get<SwitchFinding>(), std::invalid_argument);
}

TEST(SwitchFinding, ComparesEachQuerysAnswerAndTheVerdictAsValues) {
    const SwitchFinding was{{kRefused, kClaimed}, true, 0, "", true};
    SwitchFinding now = was;
    DifferenceList same;
    CompareSwitchFindings(was, now, "caps", json::json_pointer("/caps"), &same);
    EXPECT_TRUE(same.Empty());

    now.answers[1] = {kClaimed.query, "D3DERR_NOTAVAILABLE", false};
    DifferenceList differences;
    CompareSwitchFindings(was, now, "caps", json::json_pointer("/caps"), &differences);
    ASSERT_EQ(2u, differences.Size());
    EXPECT_EQ("caps.CheckDeviceFormat(render target)", differences.Items()[0].location);
    EXPECT_EQ("/caps/answers/1/answer", differences.Items()[0].path.to_string());
    EXPECT_EQ("caps.verdict", differences.Items()[1].location);
    EXPECT_EQ("notClaimedButWorks", differences.Items()[1].now);
}

}  // namespace
