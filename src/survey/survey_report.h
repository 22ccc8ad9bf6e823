// What a survey found, as plain data: the adapters with their identifiers and one entry per mode
// with its measurement or its failure. The texts, survey.json and survey.md are made from it.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

#include "analysis/session/measurement_session.h"
#include "analysis/session/measurement_view.h"
#include "enumeration/result_codes.h"
#include "enumeration/adapter_description.h"
#include "enumeration/direct3d_implementation.h"

// Milliseconds spent on each step of a mode.
struct ModeTimings {
    double device = 0.0;       // creating the device
    double measurement = 0.0;  // the measurement session, waiting for a lost device included
    double picture = 0.0;      // drawing, resolving and writing the picture
    double total = 0.0;
};

// How a mode's worker process ended where the implementation, not the survey, ended it.
enum class ModeFault {
    None,          // the worker answered: measured, or failed with a code and a reason
    ProcessEnded,  // the implementation ended the process
    NoAnswer,      // the worker did not answer within the time limit and was ended
};

struct ModeReport {
    UINT adapterOrdinal = 0;
    D3DDEVTYPE deviceType = D3DDEVTYPE_HAL;
    D3DFORMAT adapterFormat = D3DFMT_UNKNOWN;

    bool measured = false;
    // Where a mode failed: "device" or "measurement", with the result code (0 where there is
    // none) and what the program or the framework said about it.
    std::string failureStage;
    HRESULT failureCode = S_OK;
    std::string failureText;
    // Where the worker's process ended without its answer: the fault, the process's exit code and
    // the exception that ended it (0 where Windows gave none). failureStage is then the step the
    // worker had announced last.
    ModeFault fault = ModeFault::None;
    DWORD exitCode = 0;
    DWORD exceptionCode = 0;

    // Its mode is the plan's from the start, so that a mode that fails is still named; the
    // findings are meaningful when measured.
    ModeMeasurement measurement;
    std::string picture;            // file name in the output folder; empty when none was written
    std::string pictureError;       // why a measured mode has no picture ("no PNG for ..."); else empty
    ModeTimings timings;
};

struct SurveyReport {
    Direct3DImplementation implementation;  // the d3d9 the survey loaded, and its workers with it
    std::vector<AdapterDescription> adapters;
    std::vector<ModeReport> modes;
    std::vector<std::string> notes;  // adapters or device types asked for with nothing to measure
    double totalMilliseconds = 0.0;
};

// "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0", and " in A16B16G16R16F" after it where the mode was
// measured in a render-target format other than the back buffer's.
std::string ModeLabel(const ModeReport& mode);
// "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0": the mode whatever render-target format it was measured in.
std::string ModeBaseLabel(const ModeReport& mode);
// "adapter0-hal-x8r8g8b8-4-samples-q0.png": unique per mode, the same from run to run.
std::string PictureFileName(const ModeReport& mode);
// "4 samples, standard 4-sample pattern, texture once per pixel", or "failed: ...".
std::string ModeOutcomeText(const ModeReport& mode);
// "[3/7] HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0: 4 samples, ... (38 ms)", with why the picture
// is missing where it could not be made.
std::string ProgressLine(size_t index, size_t total, const ModeReport& mode);
// The render-target formats the modes were measured in, each once, in the order they first come:
// what survey.md and the console group the modes by.
std::vector<D3DFORMAT> RenderTargetFormatsOf(const std::vector<ModeReport>& modes);
// The mode's cells of the report's tables, as the measurements describe themselves: where the mode
// failed, failure stands where the verdict would, and what it did not measure is "-".
std::vector<ViewColumn> ModeColumns(const ModeReport& mode, const std::string& failure);
// The console's closing table: one row per mode (its label, its ModeColumns and its time), grouped
// by render-target format, then a line with the counts and the time, then SwitchesText.
std::string SummaryTable(const SurveyReport& report);
// Per measured mode, every switch tried with its caps' claim beside its behaviour ("A2M1 not
// claimed, works; sRGB write claimed, works; ..."), under a heading; empty where none was tried.
std::string SwitchesText(const SurveyReport& report);
// "0xC0000005 (access violation)": an exception or exit code with its name where it has one.
std::string ExceptionCodeText(DWORD code);
// The status survey.json gives the mode: "measured", "failed", "crashed" (the implementation ended
// the process) or "timedOut".
const char* ModeStatusName(const ModeReport& mode);
// The mode's measurement was made and stands in the report: measured, failed because its
// measurements contradict each other, or failed in some of its measurements while the others stand.
bool HoldsMeasurement(const ModeReport& mode);
// The implementation itself failed the mode: it ended the process, did not answer, or lost the
// device for good. The survey's exit code is 6 then.
bool ImplementationFailed(const ModeReport& mode);
