// The survey's application object: one mode's device, measurement and picture, and the adapter's
// identifier as the report states it.
#include "survey/survey_application.h"

#include <wrl/client.h>

#include <chrono>
#include <cstdio>

#include "analysis/probing/probe_target.h"
#include "analysis/session/measurement_consistency.h"
#include "analysis/session/measurement_module.h"
#include "analysis/session/measurement_session.h"
#include "enumeration/value_names.h"
#include "image/image_pixels.h"
#include "image/kept_frame.h"
#include "image/png_writer.h"

namespace {

using Microsoft::WRL::ComPtr;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// "Reset failed: the implementation refused ...", with what the framework said after it.
std::string FailureText(const std::string& call, HRESULT code, const std::string& reports) {
    std::string text = call + " failed";
    const std::string cause = LikelyCauseText(code);
    if (!cause.empty()) text += " (likely cause: " + cause + ")";
    if (!reports.empty()) text += "; " + reports;
    return text;
}

void AnnounceProbe(void* context, const char* probe) {
    static_cast<const SurveyDeviceHost*>(context)->AnnounceStep(std::string("probe ") + probe);
}

// The first failure is the one to tell.
void Fail(ModeReport* report, const char* stage, HRESULT code, const std::string& text) {
    if (!report->failureStage.empty()) return;
    report->failureStage = stage;
    report->failureCode = code;
    report->failureText = text;
}

}  // namespace

HRESULT SurveyApplication::WritePicture(const std::string& path, HRESULT* outputFailure) {
    if (!IsKeptFrameFormat(backBufferDesc.Format)) return E_NOTIMPL;
    HRESULT result = RenderFrame();
    if (FAILED(result)) return result;

    ComPtr<IDirect3DSurface9> copy;
    result = ReadResolvedBackBuffer(device, copy.GetAddressOf());
    if (SUCCEEDED(result)) {
        const RECT whole = {0, 0, static_cast<LONG>(backBufferDesc.Width), static_cast<LONG>(backBufferDesc.Height)};
        const HRESULT written = SaveSurfaceRectToPng(copy.Get(), whole, path.c_str());
        if (FAILED(written)) *outputFailure = written;
    }
    return result;
}

HRESULT SurveyApplication::WriteFormatPicture(const MultisampleMode& mode, const std::string& path,
                                              HRESULT* outputFailure) {
    const D3DFORMAT format = mode.DrawnFormat();
    if (!IsPicturedFormat(format)) return E_NOTIMPL;
    const UINT width = backBufferDesc.Width, height = backBufferDesc.Height;
    ComPtr<IDirect3DSurface9> drawn, resolved, copy;
    HRESULT result = device->CreateRenderTarget(width, height, format, mode.type, mode.quality, FALSE,
                                                drawn.GetAddressOf(), nullptr);
    if (SUCCEEDED(result)) {
        result = device->CreateRenderTarget(width, height, format, D3DMULTISAMPLE_NONE, 0, FALSE,
                                            resolved.GetAddressOf(), nullptr);
    }
    if (FAILED(result)) return result;
    {
        // The frame goes to the format's target; the back buffer, its depth and the states stay
        // the device's.
        const SavedDeviceState saved(device);
        result = device->SetRenderTarget(0, drawn.Get());
        if (SUCCEEDED(result)) result = device->SetDepthStencilSurface(nullptr);
        if (SUCCEEDED(result)) {
            pictureFormat = format;
            result = RenderFrame();
            pictureFormat = D3DFMT_UNKNOWN;
        }
    }
    if (SUCCEEDED(result)) result = device->StretchRect(drawn.Get(), nullptr, resolved.Get(), nullptr, D3DTEXF_NONE);
    if (SUCCEEDED(result)) result = ReadBackResolved(device, resolved.Get(), copy.GetAddressOf());
    if (SUCCEEDED(result)) {
        const RECT whole = {0, 0, static_cast<LONG>(width), static_cast<LONG>(height)};
        const HRESULT written = SaveSurfaceRectToPng(copy.Get(), whole, path.c_str());
        if (FAILED(written)) *outputFailure = written;
    }
    return result;
}

void SurveyApplication::NotePicture(HRESULT picture, D3DFORMAT format, const std::string& path,
                                    HRESULT outputFailure, ModeReport* report) {
    if (picture == E_NOTIMPL) {
        report->pictureError = std::string("no PNG for the format ") + FormatText(format, false);
    } else if (FAILED(picture)) {
        report->pictureError = "not drawn: " + ResultCodeText(picture);
        const std::string reports = TakeFrameworkReports();
        if (!reports.empty()) report->pictureError += " (" + reports + ")";
    } else if (SUCCEEDED(outputFailure)) {
        report->picture = path.substr(path.find_last_of("\\/") + 1);
    }
}

HRESULT SurveyApplication::MeasureOnDevice(ModeReport* out) {
    ModeReport& report = *out;
    const auto fail = [&report](const char* stage, HRESULT code, const std::string& text) {
        Fail(&report, stage, code, text);
    };
    const char* call = nullptr;
    std::string probe = "the measurement";
    const SurveyStepObserver outer = stepObserver;
    // The probe a failure came from is the last one announced.
    stepObserver = [&probe, &outer](const std::string& name) {
        probe = name;
        if (outer) outer(name);
    };
    HRESULT result = WaitForUsableDevice(&call);
    if (SUCCEEDED(result)) {
        result = measure(device, &report.measurement, AnnounceProbe, this);
        // A device lost during the measurement is waited for once more, then measured again.
        if (result == D3DERR_DEVICELOST && SUCCEEDED(WaitForUsableDevice(&call))) {
            result = measure(device, &report.measurement, AnnounceProbe, this);
        }
        if (FAILED(result)) {
            fail("measurement", result, FailureText(probe, result, TakeFrameworkReports()));
        } else if (!report.measurement.failures.empty()) {
            // The measurements that failed fail the mode; the others stand in its report.
            HRESULT first = S_OK;
            for (const MeasurementModule& module : MeasurementModules()) {
                const MeasurementFailure* failure = FailureOf(report.measurement, module);
                if (failure != nullptr && first == S_OK) first = failure->code;
            }
            fail("measurement", first, FailedMeasurementsText(report.measurement));
        } else {
            // Measurements that contradict each other are no finding about the mode: it failed.
            const std::vector<std::string> contradictions = MeasurementContradictions(report.measurement);
            if (!contradictions.empty()) fail("consistency", S_OK, ContradictionsText(contradictions));
        }
    } else if (result == D3DERR_DEVICELOST) {
        char waited[32];
        std::snprintf(waited, sizeof(waited), "%.1f s", lostDeviceWaitMilliseconds / 1000.0);
        fail("device", result, std::string(call) + ": the device was lost and did not come back within " + waited +
                                   " (likely cause: " + LikelyCauseText(result) + ")");
    } else {
        fail("device", result, FailureText(call, result, TakeFrameworkReports()));
    }
    stepObserver = outer;
    return result;
}

void SurveyApplication::Survey(const SurveyMode& mode, const std::string& picturePath, ModeReport* out,
                               HRESULT* outputFailure) {
    ModeReport& report = *out;
    *outputFailure = S_OK;

    const auto fail = [&report](const char* stage, HRESULT code, const std::string& text) {
        Fail(&report, stage, code, text);
    };

    const Clock::time_point start = Clock::now();
    const ModeDevice made = CreateModeDevice(mode);
    report.timings.device = MillisecondsSince(start);
    if (made.result == S_FALSE) {
        // The hardware device's failure is the mode's; the reference device is another mode.
        fail("device", made.hardwareResult,
             FailureText("CreateDevice", made.hardwareResult, std::string()) +
                 "; the framework fell back to the reference device, another mode");
    } else if (FAILED(made.result)) {
        fail("device", made.result, FailureText(made.call, made.result, made.text));
    }
    if (made.result != S_OK) {
        report.timings.total = MillisecondsSince(start);
        return;
    }

    Clock::time_point step = Clock::now();
    const HRESULT result = MeasureOnDevice(&report);
    report.timings.measurement = MillisecondsSince(step);

    step = Clock::now();
    if (SUCCEEDED(result)) {
        // The measurement stands without its picture: only the reason goes in the report.
        AnnounceStep("picture");
        const bool offScreen = !mode.multisample.DrawnInBackBufferFormat();
        const HRESULT picture = offScreen ? WriteFormatPicture(mode.multisample, picturePath, outputFailure)
                                          : WritePicture(picturePath, outputFailure);
        NotePicture(picture, mode.multisample.DrawnFormat(), picturePath, *outputFailure, &report);
    }
    report.timings.picture = MillisecondsSince(step);

    report.measured = report.failureStage.empty();
    report.timings.total = MillisecondsSince(start);
    PumpMessages();
}

void SurveyApplication::SurveyFormat(const SurveyMode& mode, const ModeReport& first, const std::string& picturePath,
                                     ModeReport* out, HRESULT* outputFailure) {
    ModeReport& report = *out;
    *outputFailure = S_OK;
    const Clock::time_point start = Clock::now();
    if (first.failureStage == "device" || first.failureStage == "start" || device == nullptr) {
        // No device to measure on: the mode's failure is each of its formats'.
        Fail(&report, first.failureStage.empty() ? "device" : first.failureStage.c_str(),
             first.failureCode, first.failureText);
    } else {
        const bool measured = SUCCEEDED(MeasureOnDevice(&report));
        report.timings.measurement = MillisecondsSince(start);
        if (measured) {
            const Clock::time_point step = Clock::now();
            AnnounceStep("picture");
            const HRESULT picture = WriteFormatPicture(mode.multisample, picturePath, outputFailure);
            NotePicture(picture, mode.multisample.DrawnFormat(), picturePath, *outputFailure, &report);
            report.timings.picture = MillisecondsSince(step);
        }
    }
    report.measured = report.failureStage.empty();
    report.timings.total = MillisecondsSince(start);
    PumpMessages();
}
