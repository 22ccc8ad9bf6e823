// Two surveys compared mode by mode: what a driver or a Direct3D 9 implementation changed between
// a baseline and a later run. Works on the survey.json documents, so that any two files compare.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// Modes are matched by what identifies them: the adapter's description, the device type, both
// formats, the multisample type and the quality. Within a matched mode every leaf under
// "measurement" is compared exactly, but for
// - positions (an object with "low" and "high"): they agree when the two measured intervals
//   overlap, since either run only says the sample lies somewhere in its interval;
// - timings (anything under "timing" or named *Milliseconds), which differ from run to run;
// - texts ("text", *Text) that render values compared beside them.
struct SurveyDifference {
    std::string mode;      // the mode's label; empty for an adapter or the document
    std::string location;  // "sample 2 (mask bit 2) x", "verdicts.standardPattern", "adapter 0"
    std::string text;      // "was [0.3438, 0.375) now [0.4688, 0.5)", "only in the baseline"
    std::string path;      // JSON pointer into the mode's entry, "/measurement/samples/2/x"
    nlohmann::json was;    // the baseline's value, null where it has none
    nlohmann::json now;
};

std::vector<SurveyDifference> CompareSurveys(const nlohmann::json& baseline, const nlohmann::json& current);

// "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: sample 2 (mask bit 2) x was [...) now [...)".
std::string DifferenceLine(const SurveyDifference& difference);

nlohmann::json DifferenceToJson(const SurveyDifference& difference);
