// survey.json: the report as JSON a program can read and a diff can compare. Keys come sorted
// and lists in the survey's fixed order, so two runs on one machine differ only in "timing".
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "survey/survey_report.h"

// complete is false while modes are still to be measured: the file is then what was measured so
// far, written after each mode.
nlohmann::json SurveyToJson(const SurveyReport& report, bool complete = true);

// One mode's entry of "modes": what identifies the mode, its status, its measurement or failure,
// its picture and timings. A worker process writes its mode's result in this form.
nlohmann::json ModeEntryToJson(const ModeReport& mode);

// The document as written to survey.json: two-space indents, a line break at the end.
std::string SurveyJsonText(const SurveyReport& report);
std::string SurveyJsonText(const nlohmann::json& document);
