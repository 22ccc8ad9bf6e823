// A switch's finding in the JSON files, and two findings compared.
#include "analysis/session/switch_finding_json.h"

#include "analysis/session/json_names.h"

namespace {

using nlohmann::json;

const JsonName<SwitchVerdict> kVerdictNames[] = {
    {SwitchVerdict::NotTried, "notTried"},
    {SwitchVerdict::ClaimedAndWorks, "claimedAndWorks"},
    {SwitchVerdict::ClaimedNoEffect, "claimedNoEffect"},
    {SwitchVerdict::NotClaimedButWorks, "notClaimedButWorks"},
    {SwitchVerdict::NotClaimedNoEffect, "notClaimedNoEffect"},
};

}  // namespace

json SwitchVerdictJsonName(SwitchVerdict verdict) { return JsonNameOf(kVerdictNames, verdict); }

void to_json(json& out, const SwitchFinding& finding) {
    json answers = json::array();
    for (const CapsAnswer& answer : finding.answers) {
        answers.push_back(json{{"query", answer.query}, {"answer", answer.answer}, {"claims", answer.claims}});
    }
    out = json{
        {"answers", answers},
        {"claimed", finding.Claimed()},
        {"tried", finding.tried},
        {"tryCall", finding.tried ? json(nullptr) : json(finding.tryCall)},
        {"tryResult", finding.tried ? json(nullptr) : json(HResultName(finding.tryResult))},
        {"works", finding.works},
        {"verdict", SwitchVerdictJsonName(finding.Verdict())},
        {"text", SwitchVerdictText(finding)},
    };
}

void from_json(const json& in, SwitchFinding& finding) {
    finding = SwitchFinding();
    for (const json& answer : in.at("answers")) {
        finding.answers.push_back(
            {answer.at("query").get<std::string>(), answer.at("answer").get<std::string>(), answer.at("claims").get<bool>()});
    }
    finding.tried = in.at("tried").get<bool>();
    if (!finding.tried) {
        finding.tryCall = in.at("tryCall").get<std::string>();
        finding.tryResult = HResultFromName(in.at("tryResult").get<std::string>());
    }
    finding.works = in.at("works").get<bool>();
    // A verdict that does not follow from the rest is no file this program wrote.
    if (JsonValueOf(kVerdictNames, in.at("verdict")) != finding.Verdict()) {
        throw std::invalid_argument("switch verdict " + in.at("verdict").dump() + " contradicts its findings");
    }
}

void CompareSwitchFindings(const SwitchFinding& was, const SwitchFinding& now, const std::string& location,
                           const json::json_pointer& path, DifferenceList* differences) {
    DifferenceList inner;
    const json::json_pointer root;
    for (size_t i = 0; i < was.answers.size(); ++i) {
        for (size_t j = 0; j < now.answers.size(); ++j) {
            if (was.answers[i].query != now.answers[j].query) continue;
            inner.CompareValues(was.answers[i].query, root / "answers" / j / "answer", was.answers[i].answer,
                                now.answers[j].answer);
        }
    }
    inner.CompareCounts("answers", root / "answers", was.answers.size(), now.answers.size());
    inner.CompareValues("verdict", root / "verdict", SwitchVerdictJsonName(was.Verdict()),
                        SwitchVerdictJsonName(now.Verdict()));
    differences->AddAll(inner, location, path);
}
