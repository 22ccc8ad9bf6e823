// The survey's application object: one mode's device, measurement and picture, and the adapter's
// identifier as the report states it.
#include "survey/survey_application.h"

#include <wrl/client.h>

#include <chrono>
#include <cstdio>

#include "analysis/session/measurement_consistency.h"
#include "analysis/session/measurement_session.h"
#include "enumeration/value_names.h"
#include "image/kept_frame.h"
#include "image/png_writer.h"

namespace {

using Microsoft::WRL::ComPtr;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The framework's word on a failure where it said one, else the code's own name.
std::string FailureText(const std::string& reports, const char* fallback) {
    return reports.empty() ? std::string(fallback) : reports;
}

}  // namespace

HRESULT SurveyApplication::WritePicture(const std::string& path, HRESULT* outputFailure) {
    if (backBufferDesc.Format != D3DFMT_X8R8G8B8 && backBufferDesc.Format != D3DFMT_A8R8G8B8) return E_NOTIMPL;
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

void SurveyApplication::Survey(const SurveyMode& mode, const std::string& picturePath, ModeReport* out,
                               HRESULT* outputFailure) {
    ModeReport& report = *out;
    *outputFailure = S_OK;

    const auto fail = [&report](const char* stage, HRESULT code, const std::string& text) {
        if (!report.failureStage.empty()) return;  // the first failure is the one to tell
        report.failureStage = stage;
        report.failureCode = code;
        report.failureText = text;
    };

    const Clock::time_point start = Clock::now();
    const ModeDevice made = CreateModeDevice(mode);
    report.timings.device = MillisecondsSince(start);
    if (made.result == S_FALSE) {
        fail("device", S_OK,
             "the device could not be created and the reference device the framework fell back to is "
             "another mode" + (made.text.empty() ? std::string() : " (" + made.text + ")"));
    } else if (FAILED(made.result)) {
        fail("device", made.result, made.text);
    }
    if (made.result != S_OK) {
        report.timings.total = MillisecondsSince(start);
        return;
    }

    Clock::time_point step = Clock::now();
    HRESULT result = WaitForUsableDevice();
    if (SUCCEEDED(result)) {
        result = MeasureMode(device, &report.measurement);
        // A device lost during the measurement is waited for once more, then measured again.
        if (result == D3DERR_DEVICELOST && SUCCEEDED(WaitForUsableDevice())) {
            result = MeasureMode(device, &report.measurement);
        }
        if (FAILED(result)) fail("measurement", result, FailureText(TakeFrameworkReports(), "the measurement failed"));
        // Measurements that contradict each other are no finding about the mode: it failed.
        const std::vector<std::string> contradictions = MeasurementContradictions(report.measurement);
        if (!contradictions.empty()) fail("consistency", S_OK, ContradictionsText(contradictions));
    } else {
        char text[80];
        std::snprintf(text, sizeof(text), "the device was lost and did not come back within %.1f s",
                      lostDeviceWaitMilliseconds / 1000.0);
        fail("device", result, text);
    }
    report.timings.measurement = MillisecondsSince(step);

    step = Clock::now();
    if (SUCCEEDED(result)) {
        const HRESULT picture = WritePicture(picturePath, outputFailure);
        if (picture == E_NOTIMPL) {
            fail("picture", S_OK, std::string("no PNG for the back-buffer format ") +
                                      FormatText(report.measurement.mode.format, false));
        } else if (FAILED(picture)) {
            fail("picture", picture, FailureText(TakeFrameworkReports(), "the picture could not be drawn"));
        } else if (SUCCEEDED(*outputFailure)) {
            report.picture = picturePath.substr(picturePath.find_last_of("\\/") + 1);
        }
    }
    report.timings.picture = MillisecondsSince(step);

    report.measured = report.failureStage.empty();
    report.timings.total = MillisecondsSince(start);
    PumpMessages();
}
