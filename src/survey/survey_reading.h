// survey.json read back into the survey's own report: the adapters and every mode with its
// measurement or its failure, as the survey had them when it wrote the file, so that two surveys
// compare as results rather than as text.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

#include "survey/survey_report.h"

// Reads a document of this schema (see SurveyDocumentProblem) as SurveyJsonText wrote it. What
// the file does not hold reads back as the report's defaults (see each measurement's JSON
// header); the "summary" and a "baseline" are derived and not read. On failure error holds one
// line (the document's problem, or the mode and key that cannot be read) and report is untouched.
bool ReadSurveyReport(const nlohmann::json& document, SurveyReport* report, std::string* error);

// LoadSurveyDocument and ReadSurveyReport in one: error starts with the quoted path.
bool LoadSurveyReport(const std::string& path, SurveyReport* report, std::string* error);
