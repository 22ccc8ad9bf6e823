// The survey's figures on the real runtime: the whole survey of this machine's modes, as
// quillant-survey.exe runs it (a worker process per mode), and each mode's time by step; beside it
// the same survey measured in one process, as before there were workers. Targets: the survey in
// under 15 s on a warm Wine prefix, every mode and format under 10 s of measuring, and within 1.5
// times the one-process survey.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "survey/survey_json.h"
#include "survey/survey_report.h"
#include "survey/survey_run.h"
#include "survey/survey_worker.h"
#include "survey/worker_launcher.h"

namespace {

// Removes the bench's report folder and what the survey wrote into it.
void RemoveFolder(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") DeleteFileA((folder + "\\" + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// The report without its timings: what two ways of running the survey must agree on.
nlohmann::json Findings(const SurveyReport& report) {
    nlohmann::json document = SurveyToJson(report);
    document.erase("timing");
    for (nlohmann::json& mode : document["modes"]) mode.erase("timing");
    return document;
}

struct Run {
    int code = 0;
    double wall = 0.0;
    SurveyReport report;
    // Wall time outside the modes' own steps: start-up, the worker processes, the report, shutdown.
    double Idle() const {
        double modes = 0.0;
        for (const ModeReport& mode : report.modes) modes += mode.timings.total;
        return wall - modes;
    }
};

Run RunOnce(const char* name, WorkerLauncher* launcher) {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    SurveyOptions options;
    options.outputFolder = std::string(temp) + "quillant-survey-bench-" + name + "-" + std::to_string(GetCurrentProcessId());
    options.quiet = true;
    Run run;
    const auto start = std::chrono::steady_clock::now();
    run.code = RunSurvey(options, stdout, stderr, &run.report, launcher);
    run.wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    RemoveFolder(options.outputFolder);
    return run;
}

}  // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
    // The survey's workers are this program started again.
    if (IsWorkerCommandLine(arguments)) return RunSurveyWorker(arguments);

    // --workers-only: an implementation that ends the process in a mode (DXVK 2.0 at non-maskable
    // quality 1) cannot be surveyed in one process.
    const bool workersOnly = arguments.size() == 1 && arguments[0] == "--workers-only";
    Run inProcess;
    if (!workersOnly) {
        InProcessWorkerLauncher oneProcess;
        inProcess = RunOnce("one-process", &oneProcess);
    }
    const Run workers = RunOnce("workers", nullptr);
    if (!workersOnly) {
        std::printf("survey in one process: %zu modes in %.2f s (exit code %d), %.2f s of it outside the modes\n",
                    inProcess.report.modes.size(), inProcess.wall / 1000.0, inProcess.code, inProcess.Idle() / 1000.0);
        std::printf("survey with a worker per mode: %.2f s, %.2fx the one-process survey (target under 1.5x), %.2f s "
                    "outside the modes (%.2fx); the same findings: %s\n",
                    workers.wall / 1000.0, workers.wall / inProcess.wall, workers.Idle() / 1000.0,
                    workers.Idle() / inProcess.Idle(),
                    Findings(workers.report) == Findings(inProcess.report) ? "yes" : "NO");
    }
    const SurveyReport& report = workers.report;
    const double wall = workers.wall;
    const int code = workers.code;

    double modes = 0.0;
    for (const ModeReport& mode : report.modes) modes += mode.timings.total;
    std::printf("survey: %zu modes in %.2f s (exit code %d): start-up, worker processes and shutdown %.2f s, modes "
                "%.2f s, report files %.2f s; target under 15 s\n",
                report.modes.size(), wall / 1000.0, code, (report.totalMilliseconds - modes) / 1000.0,
                modes / 1000.0, (wall - report.totalMilliseconds) / 1000.0);
    std::printf("modes and formats measured in %.2f s (target under 10 s)\n", modes / 1000.0);
    for (const ModeReport& mode : report.modes) {
        std::printf("  %-60s device %5.0f ms  measurement %5.0f ms  picture %5.0f ms  total %5.0f ms\n",
                    ModeLabel(mode).c_str(), mode.timings.device, mode.timings.measurement, mode.timings.picture,
                    mode.timings.total);
    }
    return code;
}
