// A switch's caps answers and measured behaviour as JSON, both ways, and compared.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/session/measurement_difference.h"
#include "analysis/session/switch_finding.h"

// {"answers": [{"query", "answer", "claims"}], "claimed", "tried", "tryCall" and "tryResult"
// (null where tried), "works", "verdict": "claimedAndWorks" | "claimedNoEffect" |
// "notClaimedButWorks" | "notClaimedNoEffect" | "notTried", "text"}. "claimed", "verdict" and
// "text" are derived and not read back.
void to_json(nlohmann::json& out, const SwitchFinding& finding);
void from_json(const nlohmann::json& in, SwitchFinding& finding);
nlohmann::json SwitchVerdictJsonName(SwitchVerdict verdict);

// The verdict, whether it was tried and each answer (matched by its query) as values: a driver
// that starts or stops claiming a switch, or whose switch starts or stops working, has changed.
void CompareSwitchFindings(const SwitchFinding& was, const SwitchFinding& now, const std::string& location,
                           const nlohmann::json::json_pointer& path, DifferenceList* differences);
