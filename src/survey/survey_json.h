// survey.json: the report as JSON a program can read and a diff can compare. Keys come sorted
// and lists in the survey's fixed order, so two runs on one machine differ only in "timing".
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "survey/survey_report.h"

nlohmann::json SurveyToJson(const SurveyReport& report);

// The document as written to survey.json: two-space indents, a line break at the end.
std::string SurveyJsonText(const SurveyReport& report);
std::string SurveyJsonText(const nlohmann::json& document);
