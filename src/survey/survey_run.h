// One whole survey, as the command line asked for it: start, plan, measure mode by mode with a
// progress line each, write the report and the pictures, print the summary.
#pragma once

#include <cstdio>

#include "survey/survey_options.h"
#include "survey/survey_report.h"

enum SurveyExitCode : int {
    SurveyExitAllMeasured = 0,
    SurveyExitModeFailed = 1,  // a mode failed, or there was nothing to measure
    SurveyExitBadCommandLine = 2,
    SurveyExitOutputFailed = 3,
};

// Runs the survey; progress and the summary go to out (unless quiet), errors to err. The report
// is also handed back through report when it is not null. Returns a SurveyExitCode.
int RunSurvey(const SurveyOptions& options, std::FILE* out, std::FILE* err, SurveyReport* report = nullptr);
