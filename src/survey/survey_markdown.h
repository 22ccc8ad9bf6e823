// survey.md: the report as Markdown tables, one per adapter, ready to paste into a bug report.
#pragma once

#include <string>

#include "survey/survey_report.h"

std::string SurveyMarkdown(const SurveyReport& report);
