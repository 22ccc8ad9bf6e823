// Running a mode's worker: the seam between the survey's bookkeeping and the processes. The real
// launcher starts quillant-survey.exe --worker in a job object and ends it at the time limit; the
// in-process one measures in the survey's own process (for benches); tests give their own.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "survey/survey_application.h"
#include "survey/survey_worker.h"

// How a worker ended, and what it left.
struct WorkerEnd {
    enum class Kind {
        Exited,      // the process ended by itself (or was ended by what it ran)
        NoAnswer,    // it did not end within the time limit and was ended
        NotStarted,  // no process could be made
    };
    Kind kind = Kind::Exited;
    DWORD exitCode = 0;
    std::string steps;   // the step file's text
    std::string result;  // the result file's text; empty where there is none
    std::string error;   // NotStarted: why
    double milliseconds = 0.0;
};

class WorkerLauncher {
public:
    virtual ~WorkerLauncher() = default;
    // Runs job (its result and step paths are the launcher's to choose) for at most timeoutSeconds.
    virtual WorkerEnd Run(WorkerJob job, double timeoutSeconds) = 0;
};

// quillant-survey.exe --worker, in a job object that ends every process of it when it is closed.
class ProcessWorkerLauncher : public WorkerLauncher {
public:
    WorkerEnd Run(WorkerJob job, double timeoutSeconds) override;
};

// The mode measured in this process on one device host kept from mode to mode, as the survey did
// before it had workers: no protection, no time limit; the figure the workers' cost is set against.
class InProcessWorkerLauncher : public WorkerLauncher {
public:
    ~InProcessWorkerLauncher() override;
    WorkerEnd Run(WorkerJob job, double timeoutSeconds) override;

private:
    std::unique_ptr<SurveyApplication> app;
};
