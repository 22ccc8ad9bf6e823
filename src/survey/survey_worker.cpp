// The worker process: one mode measured, every step announced before it starts, and what ends
// the process written down where the survey can read it afterwards.
#include "survey/survey_worker.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "image/file_replacing.h"
#include "platform/platform.h"
#include "survey/output_folder.h"
#include "survey/survey_json.h"
#include "survey/survey_modes.h"

namespace {

constexpr char kWorkerOption[] = "--worker";
constexpr size_t kWorkerArgumentCount = 12;  // the option and its eleven values
constexpr size_t kWorkerNumbers = 6;

// The step file, open for the whole process, so that the exception filter needs no allocation.
HANDLE stepFile = INVALID_HANDLE_VALUE;
// Where the result goes: rewritten whole after each format, so that the formats measured before
// an implementation ends the process are still the survey's.
std::string resultPath;

void WriteResultSoFar(const std::string& lines) {
    if (!resultPath.empty()) static_cast<void>(WriteFileReplacing(resultPath.c_str(), lines));
}

void WriteStepLine(const char* text) {
    if (stepFile == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    // Each line goes straight to the file: it outlives the process however the process ends.
    static_cast<void>(WriteFile(stepFile, text, static_cast<DWORD>(std::strlen(text)), &written, nullptr));
    static_cast<void>(WriteFile(stepFile, "\n", 1, &written, nullptr));
}

// Any exception nobody caught, an implementation's C++ exception included: its code is written
// down and ends the process as its exit code, without a debugger or a box that would wait.
LONG WINAPI RecordUnhandledException(EXCEPTION_POINTERS* pointers) {
    const DWORD code = pointers && pointers->ExceptionRecord ? pointers->ExceptionRecord->ExceptionCode : 0;
    char line[40];
    std::snprintf(line, sizeof(line), "%s0x%08lX", kExceptionLine, static_cast<unsigned long>(code));
    WriteStepLine(line);
    TerminateProcess(GetCurrentProcess(), code);
    return EXCEPTION_EXECUTE_HANDLER;
}

// Ends the worker when the survey's process ends, however that ends.
DWORD WINAPI WatchSurvey(void* process) {
    WaitForSingleObject(static_cast<HANDLE>(process), INFINITE);
    WriteStepLine("step the survey ended");
    TerminateProcess(GetCurrentProcess(), ERROR_PROCESS_ABORTED);
    return 0;
}

void RecordAbort(int) {
    WriteStepLine(kAbortLine);
    TerminateProcess(GetCurrentProcess(), 3);
}

bool ParseNumber(const std::string& text, unsigned long* value) {
    if (text.empty() || text.size() > 10) return false;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
    }
    *value = std::strtoul(text.c_str(), nullptr, 10);
    return true;
}

SurveyDevices DevicesOf(D3DDEVTYPE type) {
    switch (type) {
    case D3DDEVTYPE_REF: return SurveyDevices::Ref;
    case D3DDEVTYPE_SW: return SurveyDevices::Sw;
    default: break;
    }
    return SurveyDevices::Hal;
}

bool ReadDesktopMode(void* context, UINT adapterOrdinal, D3DDISPLAYMODE* mode) {
    return SUCCEEDED(static_cast<IDirect3D9*>(context)->GetAdapterDisplayMode(adapterOrdinal, mode));
}

// A test's request that this mode's worker crash or hang: QUILLANT_SURVEY_WORKER_FAULT holds
// "crash:MODE" and "hang:MODE" entries separated by ';', MODE the mode's number (as its progress
// line counts, a format of a mode one of its own) or its label. Read by the worker alone.
std::string RequestedFault(size_t number, const std::string& label) {
    const char* value = std::getenv("QUILLANT_SURVEY_WORKER_FAULT");
    if (!value) return std::string();
    std::string entries = value;
    size_t start = 0;
    while (start <= entries.size()) {
        size_t end = entries.find(';', start);
        if (end == std::string::npos) end = entries.size();
        const std::string entry = entries.substr(start, end - start);
        const size_t colon = entry.find(':');
        if (colon != std::string::npos) {
            const std::string mode = entry.substr(colon + 1);
            if (mode == label || mode == std::to_string(number)) return entry.substr(0, colon);
        }
        start = end + 1;
    }
    return std::string();
}

// "22,113": the formats' values, as the worker's last argument.
std::string FormatList(const std::vector<D3DFORMAT>& formats) {
    std::string text;
    for (D3DFORMAT format : formats) text += (text.empty() ? "" : ",") + std::to_string(static_cast<unsigned long>(format));
    return text;
}

bool ParseFormatList(const std::string& text, std::vector<D3DFORMAT>* formats) {
    formats->clear();
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find(',', start);
        if (end == std::string::npos) end = text.size();
        unsigned long value = 0;
        if (!ParseNumber(text.substr(start, end - start), &value)) return false;
        formats->push_back(static_cast<D3DFORMAT>(value));
        start = end + 1;
    }
    return !formats->empty();
}

std::string FailedEntry(ModeReport report, const char* stage, HRESULT code, const std::string& text) {
    report.failureStage = stage;
    report.failureCode = code;
    report.failureText = text;
    return ModeEntryToJson(report).dump();
}

}  // namespace

std::vector<std::string> WorkerArguments(const WorkerJob& job) {
    return {kWorkerOption,
            std::to_string(job.number),
            std::to_string(job.adapterOrdinal),
            std::to_string(static_cast<int>(job.deviceType)),
            std::to_string(static_cast<int>(job.multisampleType)),
            std::to_string(job.multisampleQuality),
            std::to_string(job.surveyProcessId),
            job.pictureFolder,
            job.resultPath,
            job.stepPath,
            FormatList(job.formats),
            job.direct3dLibrary};
}

bool IsWorkerCommandLine(const std::vector<std::string>& arguments) {
    return !arguments.empty() && arguments[0] == kWorkerOption;
}

bool ParseWorkerArguments(const std::vector<std::string>& arguments, WorkerJob* job, std::string* error) {
    unsigned long numbers[kWorkerNumbers] = {};
    bool good = arguments.size() == kWorkerArgumentCount && IsWorkerCommandLine(arguments);
    for (size_t i = 0; good && i < kWorkerNumbers; ++i) good = ParseNumber(arguments[i + 1], &numbers[i]);
    if (good) good = ParseFormatList(arguments[10], &job->formats);
    if (!good || arguments[8].empty() || arguments[9].empty()) {
        *error = "option '--worker' is the survey's own, for its worker processes";
        return false;
    }
    job->number = numbers[0];
    job->adapterOrdinal = static_cast<UINT>(numbers[1]);
    job->deviceType = static_cast<D3DDEVTYPE>(numbers[2]);
    job->multisampleType = static_cast<D3DMULTISAMPLE_TYPE>(numbers[3]);
    job->multisampleQuality = static_cast<DWORD>(numbers[4]);
    job->surveyProcessId = static_cast<DWORD>(numbers[5]);
    job->pictureFolder = arguments[7];
    job->resultPath = arguments[8];
    job->stepPath = arguments[9];
    job->direct3dLibrary = arguments[11];
    return true;
}

std::string MeasureWorkerJob(SurveyApplication& app, const WorkerJob& job, HRESULT* outputFailure,
                             WorkerEntryWritten written) {
    *outputFailure = S_OK;
    // What the survey knows of the mode already, for entries that fail before the worker finds it.
    const auto failAll = [&job](D3DFORMAT adapterFormat, const char* stage, HRESULT code, const std::string& text) {
        std::string lines;
        for (D3DFORMAT format : job.formats) {
            ModeReport named;
            named.adapterOrdinal = job.adapterOrdinal;
            named.deviceType = job.deviceType;
            named.adapterFormat = adapterFormat;
            named.measurement.mode.type = job.multisampleType;
            named.measurement.mode.quality = job.multisampleQuality;
            named.measurement.mode.renderTargetFormat = format;
            lines += FailedEntry(named, stage, code, text) + "\n";
        }
        return lines;
    };

    if (!app.direct3d) {
        app.AnnounceStep("start");
        if (FAILED(app.Start(GetModuleHandleA(nullptr)))) {
            const std::string reports = app.TakeFrameworkReports();
            return failAll(D3DFMT_UNKNOWN, "start", E_FAIL,
                           "the worker could not start Direct3D 9 and a first device" +
                               (reports.empty() ? std::string() : ": " + reports));
        }
    }
    SurveyOptions options;
    options.adapter = static_cast<int>(job.adapterOrdinal);
    options.devices = DevicesOf(job.deviceType);
    // The device's mode alone, in its back buffer's format: the survey chose the formats.
    const SurveyPlan plan = PlanSurvey(app.enumeration, options, ReadDesktopMode, app.direct3d);
    for (const SurveyMode& planned : plan.modes) {
        if (planned.deviceInfo->deviceType != job.deviceType || planned.multisample.type != job.multisampleType ||
            planned.multisample.quality != job.multisampleQuality) {
            continue;
        }
        std::string lines;
        ModeReport first;
        for (size_t f = 0; f < job.formats.size(); ++f) {
            SurveyMode mode = planned;
            mode.multisample.renderTargetFormat = job.formats[f];
            ModeReport report = ReportForMode(mode);
            const std::string fault = RequestedFault(job.number + f, ModeLabel(report));
            const SurveyStepObserver announce = app.stepObserver;
            if (!fault.empty()) {
                // The fault strikes as the first probe starts, inside the measurement as a driver's would.
                app.stepObserver = [announce, fault](const std::string& step) {
                    if (announce) announce(step);
                    if (step.compare(0, 6, "probe ") != 0) return;
                    if (fault == "crash") RaiseException(EXCEPTION_ACCESS_VIOLATION, EXCEPTION_NONCONTINUABLE, 0, nullptr);
                    if (fault == "hang") Sleep(INFINITE);
                };
            }
            const std::string picturePath = OutputPath(OutputFolder{job.pictureFolder}, PictureFileName(report));
            HRESULT pictureFailure = S_OK;
            if (f == 0) {
                app.Survey(mode, picturePath, &report, &pictureFailure);
                first = report;
            } else {
                app.SurveyFormat(mode, first, picturePath, &report, &pictureFailure);
            }
            if (SUCCEEDED(*outputFailure)) *outputFailure = pictureFailure;
            app.stepObserver = announce;
            lines += ModeEntryToJson(report).dump() + "\n";
            if (written) written(lines);
        }
        return lines;
    }
    return failAll(plan.modes.empty() ? D3DFMT_UNKNOWN : plan.modes[0].combo->adapterFormat, "start", S_OK,
                   "the worker's enumeration does not offer this mode");
}

std::vector<std::string> WorkerResultLines(const std::string& result) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < result.size()) {
        size_t end = result.find('\n', start);
        if (end == std::string::npos) end = result.size();
        std::string line = result.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty()) lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

int RunSurveyWorker(const std::vector<std::string>& arguments) {
    WorkerJob job;
    std::string error;
    if (!ParseWorkerArguments(arguments, &job, &error)) {
        std::fprintf(stderr, "quillant-survey: %s\n", error.c_str());
        return 2;
    }
    platform::UseDirect3DLibrary(job.direct3dLibrary);
    resultPath = job.resultPath;
    stepFile = CreateFileA(job.stepPath.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    // No box and no debugger may wait for a user: the survey is watching the clock.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
    SetUnhandledExceptionFilter(RecordUnhandledException);
    std::signal(SIGABRT, RecordAbort);
    if (job.surveyProcessId != 0) {
        HANDLE survey = OpenProcess(SYNCHRONIZE, FALSE, job.surveyProcessId);
        // A survey that ended before this worker got this far has nobody left to answer.
        if (survey == nullptr) {
            WriteStepLine("step the survey ended");
            return ERROR_PROCESS_ABORTED;
        }
        CloseHandle(CreateThread(nullptr, 0, WatchSurvey, survey, 0, nullptr));
    }

    std::string entry;
    HRESULT outputFailure = S_OK;
    {
        SurveyApplication app;
        app.stepObserver = [](const std::string& step) { WriteStepLine((kStepLine + step).c_str()); };
        entry = MeasureWorkerJob(app, job, &outputFailure, WriteResultSoFar);
        // Letting the device go is a step of its own: an implementation may end the process there too.
        app.AnnounceStep("shutdown");
        app.Finish();
    }
    if (FAILED(outputFailure)) {
        char line[40];
        std::snprintf(line, sizeof(line), "%s0x%08lX", kOutputLine, static_cast<unsigned long>(outputFailure));
        WriteStepLine(line);
    }
    const HRESULT written = WriteFileReplacing(job.resultPath.c_str(), entry);
    if (stepFile != INVALID_HANDLE_VALUE) CloseHandle(stepFile);
    return SUCCEEDED(written) ? 0 : 3;
}
