// One mode measured in a worker process of its own, so that an implementation that ends the
// process or stops answering takes only that mode with it. The survey starts quillant-survey.exe
// again with "--worker" and the mode; the worker announces each step in a step file before it
// starts it and writes the mode's survey.json entry to a result file when it is done.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

#include "survey/survey_application.h"

// What a worker is asked to do. The mode is named by what identifies it, and the worker finds it
// in its own enumeration.
struct WorkerJob {
    size_t number = 0;  // the mode's place in the survey, from 1, as its progress line counts
    UINT adapterOrdinal = 0;
    D3DDEVTYPE deviceType = D3DDEVTYPE_HAL;
    D3DMULTISAMPLE_TYPE multisampleType = D3DMULTISAMPLE_NONE;
    DWORD multisampleQuality = 0;
    // The render-target formats to measure on the mode's one device, in order, each with its picture.
    std::vector<D3DFORMAT> formats;
    std::string pictureFolder;  // where the pictures go, named as the report names them
    std::string resultPath;  // the mode's entry, written once the worker is done
    std::string stepPath;    // a line per step, appended before the step starts
    // The survey's process: the worker ends itself when it ends (a job's kill-on-close does not
    // reach every system's worker, Wine's among them, when the survey is killed).
    DWORD surveyProcessId = 0;
    // The d3d9.dll the survey loaded in place of the system's (--d3d9), a full path; empty for
    // the system's. The worker loads the same.
    std::string direct3dLibrary;
};

// Lines of the step file.
constexpr char kStepLine[] = "step ";            // the step that starts: "step probe resolve"
constexpr char kExceptionLine[] = "exception ";  // the exception that ended the process: "exception 0xC0000005"
constexpr char kAbortLine[] = "abort";           // a C runtime's abort() ended it
constexpr char kOutputLine[] = "output ";        // the picture could not be written: "output 0x80070005"

// The command line's arguments after the program's name, "--worker" first.
std::vector<std::string> WorkerArguments(const WorkerJob& job);
bool IsWorkerCommandLine(const std::vector<std::string>& arguments);
// False, with a line in error, where the arguments are not a worker's.
bool ParseWorkerArguments(const std::vector<std::string>& arguments, WorkerJob* job, std::string* error);

// Measures the job's mode on app (started by the caller, or started here when it is not) in each
// of the job's formats and gives back their survey.json entries, one line each, in the job's
// order; each line is handed to written as soon as it is made, so that a worker that dies in a
// later format keeps the earlier ones. *outputFailure is the code where the picture could not be
// written. A mode that is not in the enumeration, or a device host that does not start, is an
// entry that failed and says why.
using WorkerEntryWritten = void (*)(const std::string& linesSoFar);
std::string MeasureWorkerJob(SurveyApplication& app, const WorkerJob& job, HRESULT* outputFailure,
                             WorkerEntryWritten written = nullptr);

// The non-empty lines of a worker's result (one entry per format, the last cut short where the
// worker died while writing it) or of its steps.
std::vector<std::string> WorkerResultLines(const std::string& result);

// The worker process: records its steps and what ends it, measures, writes the result file.
// Returns 0 when the result is written, 2 for bad arguments, 3 where the result file cannot be.
int RunSurveyWorker(const std::vector<std::string>& arguments);
