// survey.html: the survey as one page to look at, made from the same report as survey.json.
// Self-contained (styles and pictures inline, the PNGs beside it by relative name), no scripts.
#pragma once

#include <string>

#include "survey/baseline_report.h"
#include "survey/survey_report.h"

// The page for a survey's report; with a baseline, its differences are marked on the modes they
// concern and listed at the top; an incomplete one (the survey still measuring, or stopped) says so.
std::string SurveyHtml(const SurveyReport& report, const BaselineComparison* baseline = nullptr,
                       bool complete = true);

// Text made safe inside an HTML element or a quoted attribute.
std::string HtmlEscaped(const std::string& text);
