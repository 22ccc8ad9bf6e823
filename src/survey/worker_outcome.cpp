// A worker's end read into its mode's report entry.
#include "survey/worker_outcome.h"

#include <cstdio>
#include <cstdlib>

#include <nlohmann/json.hpp>

#include "analysis/session/measurement_json.h"
#include "survey/survey_worker.h"

namespace {

using nlohmann::json;

struct StepRecord {
    std::string lastStep;  // empty where none was announced
    DWORD exceptionCode = 0;
    bool aborted = false;
    HRESULT outputFailure = S_OK;
};

DWORD HexNumber(const std::string& text) { return static_cast<DWORD>(std::strtoul(text.c_str(), nullptr, 16)); }

StepRecord ReadSteps(const std::string& steps) {
    StepRecord record;
    for (const std::string& line : WorkerResultLines(steps)) {
        const auto after = [&line](const char* prefix) {
            const std::string cut = prefix;
            return line.compare(0, cut.size(), cut) == 0 ? line.substr(cut.size()) : std::string();
        };
        if (!after(kStepLine).empty()) record.lastStep = after(kStepLine);
        if (!after(kExceptionLine).empty()) record.exceptionCode = HexNumber(after(kExceptionLine));
        if (!after(kOutputLine).empty()) record.outputFailure = static_cast<HRESULT>(HexNumber(after(kOutputLine)));
        if (line == kAbortLine) record.aborted = true;
    }
    return record;
}

// Exit codes that are exceptions: NTSTATUS errors and warnings, and the C++ runtimes' own codes.
bool IsExceptionCode(DWORD code) { return code >= 0x80000000u || code == 0x20474343u; }

// "D3DERR_NOTAVAILABLE (0x8876086A)" or "0x8876086A" back to its code.
HRESULT ResultCodeOf(const json& text) {
    if (!text.is_string()) return S_OK;
    const std::string code = text.get<std::string>();
    const size_t hex = code.find("0x");
    return hex == std::string::npos ? E_FAIL : static_cast<HRESULT>(HexNumber(code.substr(hex + 2)));
}

double Number(const json& object, const char* key) {
    const json value = object.is_object() ? object.value(key, json()) : json();
    return value.is_number() ? value.get<double>() : 0.0;
}

std::string Seconds(double seconds) {
    char text[32];
    std::snprintf(text, sizeof(text), "%g s", seconds);
    return text;
}

}  // namespace

bool ReadModeEntry(const std::string& text, ModeReport* report, std::string* error) {
    const json entry = json::parse(text, nullptr, false);
    if (entry.is_discarded() || !entry.is_object()) {
        *error = text.empty() ? "it left no result" : "its result is cut short";
        return false;
    }
    const std::string status = entry.value("status", std::string());
    if (status != "measured" && status != "failed") {
        *error = "its result has no status";
        return false;
    }
    ModeReport read = *report;
    read.measured = status == "measured";
    const json measurement = entry.value("measurement", json());
    if (read.measured || measurement.is_object()) {
        try {
            measurement.get_to(read.measurement);
        } catch (const std::exception& e) {
            *error = std::string("its result's measurement cannot be read: ") + e.what();
            return false;
        }
    }
    if (!read.measured) {
        const json failure = entry.value("failure", json());
        if (!failure.is_object()) {
            *error = "its result says it failed but not why";
            return false;
        }
        read.failureStage = failure.value("stage", std::string("?"));
        read.failureCode = ResultCodeOf(failure.value("code", json()));
        read.failureText = failure.value("message", std::string());
    }
    const json picture = entry.value("picture", json());
    read.picture = picture.is_string() ? picture.get<std::string>() : std::string();
    const json pictureError = entry.value("pictureError", json());
    read.pictureError = pictureError.is_string() ? pictureError.get<std::string>() : std::string();
    const json timing = entry.value("timing", json());
    read.timings.device = Number(timing, "deviceMilliseconds");
    read.timings.measurement = Number(timing, "measurementMilliseconds");
    read.timings.picture = Number(timing, "pictureMilliseconds");
    read.timings.total = Number(timing, "totalMilliseconds");
    *report = read;
    return true;
}

void ApplyWorkerEnd(const WorkerEnd& end, double timeoutSeconds, ModeReport* report, HRESULT* outputFailure) {
    const StepRecord steps = ReadSteps(end.steps);
    *outputFailure = steps.outputFailure;
    const std::string step = steps.lastStep.empty() ? std::string("start") : steps.lastStep;

    if (end.kind == WorkerEnd::Kind::NotStarted) {
        report->failureStage = "start";
        report->failureText = "the worker process could not be started: " + end.error;
        report->timings.total = end.milliseconds;
        return;
    }
    if (end.kind == WorkerEnd::Kind::NoAnswer) {
        report->fault = ModeFault::NoAnswer;
        report->failureStage = step;
        report->failureText = "did not answer within " + Seconds(timeoutSeconds) + ", in " + step +
                              "; its process was ended";
        report->timings.total = end.milliseconds;
        return;
    }

    std::string unread;
    if (ReadModeEntry(end.result, report, &unread)) return;

    report->fault = ModeFault::ProcessEnded;
    report->failureStage = step;
    report->exitCode = end.exitCode;
    report->exceptionCode = steps.exceptionCode != 0 ? steps.exceptionCode
                            : IsExceptionCode(end.exitCode) ? end.exitCode
                                                            : 0;
    std::string text = "the implementation ended the process in " + step + ": exit code " + ExceptionCodeText(end.exitCode);
    if (report->exceptionCode != 0 && report->exceptionCode != end.exitCode) {
        text += ", exception " + ExceptionCodeText(report->exceptionCode);
    }
    if (steps.aborted && end.exitCode != 3) text += ", abort()";
    report->failureText = text + "; " + unread;
    report->timings.total = end.milliseconds;
}
