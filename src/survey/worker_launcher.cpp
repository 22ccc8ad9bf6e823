// The worker processes: started suspended inside a job object, waited for up to the time limit,
// ended with the whole job when they do not answer; their step and result files read back.
#include "survey/worker_launcher.h"

#include <chrono>
#include <cstdio>

#include "survey/survey_json.h"

namespace {

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// One argument as the C runtime splits a command line: quoted, with backslashes doubled where a
// quote follows them.
std::string Quoted(const std::string& argument) {
    std::string quoted = "\"";
    size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string ReadSmallFile(const std::string& path) {
    std::string contents;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return contents;
    char buffer[16384];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) contents.append(buffer, read);
    CloseHandle(file);
    return contents;
}

std::string SystemText(DWORD error) {
    char text[256] = {};
    const DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                                        text, sizeof(text), nullptr);
    std::string message(text, length);
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r' || message.back() == ' ')) {
        message.pop_back();
    }
    char code[24];
    std::snprintf(code, sizeof(code), "error %lu", static_cast<unsigned long>(error));
    return message.empty() ? std::string(code) : message + " (" + code + ")";
}

// The job that holds one worker: every process in it ends when it is closed.
HANDLE CreateKillingJob() {
    HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (!job) return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits = {};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE | JOB_OBJECT_LIMIT_DIE_ON_UNHANDLED_EXCEPTION;
    static_cast<void>(SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof(limits)));
    return job;
}

}  // namespace

WorkerEnd ProcessWorkerLauncher::Run(WorkerJob job, double timeoutSeconds) {
    WorkerEnd end;
    char temp[MAX_PATH + 1] = {};
    const DWORD tempLength = GetTempPathA(sizeof(temp), temp);
    char name[64];
    std::snprintf(name, sizeof(name), "quillant-survey-%lu-%zu", static_cast<unsigned long>(GetCurrentProcessId()),
                  job.number);
    const std::string base = std::string(temp, tempLength > 0 && tempLength < sizeof(temp) ? tempLength : 0) + name;
    job.stepPath = base + ".steps";
    job.resultPath = base + ".json";
    job.surveyProcessId = GetCurrentProcessId();
    DeleteFileA(job.stepPath.c_str());
    DeleteFileA(job.resultPath.c_str());

    char program[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, program, MAX_PATH);
    std::string commandLine = Quoted(program);
    for (const std::string& argument : WorkerArguments(job)) commandLine += " " + Quoted(argument);

    const Clock::time_point start = Clock::now();
    HANDLE processJob = CreateKillingJob();
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    // The worker inherits the environment (a d3d9 override, a Vulkan driver's choice) and the
    // console, and no handles: nothing of the survey's stays open in it.
    if (!CreateProcessA(program, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr, &startup,
                        &process)) {
        end.kind = WorkerEnd::Kind::NotStarted;
        end.error = SystemText(GetLastError());
        if (processJob) CloseHandle(processJob);
        return end;
    }
    // Without the job (a system that refuses it) the process alone is ended at the time limit.
    const bool inJob = processJob && AssignProcessToJobObject(processJob, process.hProcess);
    ResumeThread(process.hThread);

    const double limit = timeoutSeconds * 1000.0;
    const DWORD waited = WaitForSingleObject(process.hProcess, limit >= 4.0e9 ? INFINITE : static_cast<DWORD>(limit));
    if (waited != WAIT_OBJECT_0) {
        end.kind = WorkerEnd::Kind::NoAnswer;
        if (inJob) TerminateJobObject(processJob, ERROR_TIMEOUT);
        TerminateProcess(process.hProcess, ERROR_TIMEOUT);
        WaitForSingleObject(process.hProcess, 10000);
    }
    GetExitCodeProcess(process.hProcess, &end.exitCode);
    end.milliseconds = MillisecondsSince(start);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (processJob) CloseHandle(processJob);

    end.steps = ReadSmallFile(job.stepPath);
    // Also from a worker ended at the time limit: the formats it finished before are its result.
    end.result = ReadSmallFile(job.resultPath);
    DeleteFileA(job.stepPath.c_str());
    DeleteFileA(job.resultPath.c_str());
    return end;
}

InProcessWorkerLauncher::~InProcessWorkerLauncher() {
    if (app) app->Finish();
}

WorkerEnd InProcessWorkerLauncher::Run(WorkerJob job, double) {
    const Clock::time_point start = Clock::now();
    if (!app) app = std::make_unique<SurveyApplication>();
    WorkerEnd end;
    app->stepObserver = [&end](const std::string& step) { end.steps += kStepLine + step + "\n"; };
    HRESULT outputFailure = S_OK;
    end.result = MeasureWorkerJob(*app, job, &outputFailure);
    app->stepObserver = nullptr;
    if (FAILED(outputFailure)) {
        char line[40];
        std::snprintf(line, sizeof(line), "%s0x%08lX\n", kOutputLine, static_cast<unsigned long>(outputFailure));
        end.steps += line;
    }
    end.milliseconds = MillisecondsSince(start);
    return end;
}
