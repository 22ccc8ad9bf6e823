// The survey's figures on the real runtime: the whole survey of this machine's modes, as
// quillant-survey.exe runs it, and each mode's time by step. Target: the whole survey in under
// 10 s on a warm Wine prefix.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "survey/survey_report.h"
#include "survey/survey_run.h"

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

}  // namespace

int main() {
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    SurveyOptions options;
    options.outputFolder = std::string(temp) + "quillant-survey-bench-" + std::to_string(GetCurrentProcessId());
    options.quiet = true;

    SurveyReport report;
    const auto start = std::chrono::steady_clock::now();
    const int code = RunSurvey(options, stdout, stderr, &report);
    const double wall = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    RemoveFolder(options.outputFolder);

    double modes = 0.0;
    for (const ModeReport& mode : report.modes) modes += mode.timings.total;
    std::printf("survey: %zu modes in %.2f s (exit code %d): start-up and shutdown %.2f s, modes %.2f s, "
                "report files %.2f s; target under 10 s\n",
                report.modes.size(), wall / 1000.0, code, (report.totalMilliseconds - modes) / 1000.0,
                modes / 1000.0, (wall - report.totalMilliseconds) / 1000.0);
    for (const ModeReport& mode : report.modes) {
        std::printf("  %-44s device %5.0f ms  measurement %5.0f ms  picture %5.0f ms  total %5.0f ms\n",
                    ModeLabel(mode).c_str(), mode.timings.device, mode.timings.measurement, mode.timings.picture,
                    mode.timings.total);
    }
    return code;
}
