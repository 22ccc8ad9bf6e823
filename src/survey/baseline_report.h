// A survey's differences from its baseline in the survey's three outputs: console lines, a
// section of survey.md and the "baseline" object of survey.json (which survey.html reads).
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

#include "survey/survey_comparison.h"

struct BaselineComparison {
    std::string file;  // as given on the command line
    std::vector<SurveyDifference> differences;
    // Where the modes were paired across two different adapters, saying so (AdaptersNote); the
    // first thing each output tells.
    std::string adaptersNote;
};

// {"file": ..., "differences": [...]}.
nlohmann::json BaselineToJson(const BaselineComparison& comparison);

// "## Differences from the baseline" with a line per difference, or saying there are none.
std::string BaselineMarkdown(const BaselineComparison& comparison);

// "differences from the baseline FILE (2):" and an indented line each, or "no differences ...".
std::string BaselineConsoleText(const BaselineComparison& comparison);
