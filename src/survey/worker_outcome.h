// The survey's bookkeeping of its workers: how a worker ended made into its mode's report entry,
// with a status and texts that say what happened where the implementation ended the process or
// stopped answering.
#pragma once

#include <windows.h>

#include <string>

#include "survey/survey_report.h"
#include "survey/worker_launcher.h"

// Fills report (made by ReportForMode, so the mode is named) from the worker's end: its result
// where it left a whole one, else the fault, the last step it announced and the codes.
// *outputFailure is the code where the worker could not write the mode's picture.
void ApplyWorkerEnd(const WorkerEnd& end, double timeoutSeconds, ModeReport* report, HRESULT* outputFailure);

// Reads a mode's survey.json entry into report (status, failure, measurement, picture, timings).
// False, with error saying why, where the text is not a whole entry.
bool ReadModeEntry(const std::string& text, ModeReport* report, std::string* error);
