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

TEST(SwitchFinding, OneAnsweringFormIsAClaimAndEachCombinationHasItsVerdictTextAndJsonName) {
    SwitchFinding refused;
    refused.answers = {kRefused, kRefused};
    refused.tryCall = "CreatePixelShader";
    refused.tryResult = static_cast<long>(D3DERR_INVALIDCALL);
    SwitchFinding noSample;
    noSample.answers = {kClaimed};
    noSample.tryCall = "no sample found";
    const struct {
        std::vector<CapsAnswer> answers;
        bool works;
        SwitchVerdict verdict;
        const char* text;
        const char* shortText;
        const char* jsonName;
    } kCases[] = {
        {{kRefused, kClaimed}, true, SwitchVerdict::ClaimedAndWorks, "claimed and works", "claimed, works",
         "claimedAndWorks"},
        {{kClaimed}, false, SwitchVerdict::ClaimedNoEffect, "claimed, no effect", "claimed, no effect",
         "claimedNoEffect"},
        {{kRefused, kRefused}, true, SwitchVerdict::NotClaimedButWorks, "not claimed but works",
         "not claimed, works", "notClaimedButWorks"},
        {{}, false, SwitchVerdict::NotClaimedNoEffect, "not claimed, no effect", "not claimed, no effect",
         "notClaimedNoEffect"},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(c.text);
        SwitchFinding finding;
        finding.answers = c.answers;
        finding.tried = true;
        finding.works = c.works;
        EXPECT_EQ(c.verdict, finding.Verdict());
        EXPECT_EQ(c.text, SwitchVerdictText(finding));
        EXPECT_EQ(c.shortText, SwitchVerdictShortText(finding));
        EXPECT_EQ(c.jsonName, json(finding)["verdict"]);
    }
    EXPECT_EQ(SwitchVerdict::NotTried, refused.Verdict());
    EXPECT_EQ("not tried: CreatePixelShader (D3DERR_INVALIDCALL)", SwitchVerdictText(refused));
    EXPECT_EQ("not tried (D3DERR_INVALIDCALL)", SwitchVerdictShortText(refused));
    EXPECT_EQ("not tried: no sample found", SwitchVerdictText(noSample));
    EXPECT_EQ("CheckDeviceFormat(bare) D3DERR_NOTAVAILABLE; CheckDeviceFormat(bare) D3DERR_NOTAVAILABLE",
              CapsAnswersText(refused));
    EXPECT_EQ("0x80070057", HResultName(static_cast<long>(0x80070057)));
    EXPECT_EQ(static_cast<long>(0x80070057), HResultFromName("0x80070057"));
}

TEST(SwitchFinding, ReadsBackWhatItWroteAndRefusesAVerdictItsFindingsContradict) {
    SwitchFinding declined;
    declined.answers = {kClaimed};
    declined.tryCall = "CreateVertexShader";
    declined.tryResult = static_cast<long>(0x8876086A);
    SwitchFinding works;
    works.answers = {kRefused, kClaimed};
    works.tried = true;
    works.works = true;
    for (const SwitchFinding& finding : {declined, works}) {
        const json written = finding;
        const SwitchFinding read = written.get<SwitchFinding>();
        EXPECT_EQ(written.dump(), json(read).dump());
        EXPECT_EQ(finding.Verdict(), read.Verdict());
    }
    json contradicted = works;
    contradicted["verdict"] = "claimedNoEffect";
    EXPECT_THROW(contradicted.get<SwitchFinding>(), std::invalid_argument);
}

TEST(SwitchFinding, ComparesEachQuerysAnswerAndTheVerdictAsValues) {
    SwitchFinding was;
    was.answers = {kRefused, kClaimed};
    was.tried = true;
    was.works = true;
    SwitchFinding now = was;
    DifferenceList same;
    CompareSwitchFindings(was, now, "caps", json::json_pointer("/caps"), &same);
    EXPECT_TRUE(same.Empty());

    now.answers[1].answer = "D3DERR_NOTAVAILABLE";
    now.answers[1].claims = false;
    DifferenceList differences;
    CompareSwitchFindings(was, now, "caps", json::json_pointer("/caps"), &differences);
    ASSERT_EQ(2u, differences.Size());
    EXPECT_EQ("caps.CheckDeviceFormat(render target)", differences.Items()[0].location);
    EXPECT_EQ("/caps/answers/1/answer", differences.Items()[0].path.to_string());
    EXPECT_EQ("caps.verdict", differences.Items()[1].location);
    EXPECT_EQ("claimedAndWorks", differences.Items()[1].was);
    EXPECT_EQ("notClaimedButWorks", differences.Items()[1].now);
}

}  // namespace
