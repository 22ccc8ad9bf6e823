// One whole survey, as the command line asked for it: start, plan, measure mode by mode with a
// progress line each, write the report and the pictures, print the summary; and with a baseline,
// what changed since.
#pragma once

#include <cstdio>

#include "survey/survey_options.h"
#include "survey/survey_report.h"

enum SurveyExitCode : int {
    SurveyExitAllMeasured = 0,      // and, with a baseline, every mode as there
    SurveyExitModeFailed = 1,       // a mode failed, or there was nothing to measure
    SurveyExitBadCommandLine = 2,   // or a survey file given that cannot be read or compared
    SurveyExitOutputFailed = 3,
    SurveyExitDiffersFromBaseline = 4,
    SurveyExitNotStarted = 5,       // Direct3D 9 or its window could not be started (no display)
    SurveyExitImplementationFailed = 6,  // in a mode, the implementation ended the process, did not
                                         // answer or lost the device for good
};

class WorkerLauncher;

// Runs the survey; progress and the summary go to out (unless quiet), errors to err. The report
// is also handed back through report when it is not null. Each mode is measured by launcher's
// workers, worker processes where it is null. Returns a SurveyExitCode; never a worker's.
int RunSurvey(const SurveyOptions& options, std::FILE* out, std::FILE* err, SurveyReport* report = nullptr,
              WorkerLauncher* launcher = nullptr);

// Compares two survey files without measuring: the differences go to out. Returns 0 (the same),
// 4 (differences) or 2 (a file that cannot be read or is not a survey of this schema).
// With matchAdapters, modes are paired by adapter too (see CompareSurveys).
int RunSurveyComparison(const SurveyComparisonFiles& files, bool quiet, std::FILE* out, std::FILE* err,
                        bool matchAdapters = false);
