// The survey's application object: its window, one mode's device, measurement and picture, and
// the adapter's identifier as the report states it.
#include "survey/survey_application.h"

#include <wrl/client.h>

#include <chrono>
#include <cstdio>

#include "analysis/measurement_session.h"
#include "enumeration/value_names.h"
#include "survey/framework_reports.h"
#include "image/kept_frame.h"
#include "image/png_writer.h"

namespace {

using Microsoft::WRL::ComPtr;

constexpr char kWindowClass[] = "Quillant Survey Window";
constexpr char kHostCaption[] = "Quillant Survey";
// The device's window is a child of a top-level window that is never shown: nothing on the
// taskbar or the screen, no close box that would end the device being measured, and no window
// that could be activated (Wine waits up to two seconds for a window manager to take down an
// activated top-level window, even where there is none).
constexpr DWORD kWindowStyle = WS_CHILD | WS_CLIPSIBLINGS;
constexpr DWORD kHostStyle = WS_POPUP;
constexpr DWORD kHostExStyle = WS_EX_TOOLWINDOW;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The framework's word on a failure where it said one, else the code's own name.
std::string FailureText(const std::string& reports, const char* fallback) {
    return reports.empty() ? std::string(fallback) : reports;
}

}  // namespace

SurveyApplication::SurveyApplication() = default;

SurveyApplication::~SurveyApplication() { Finish(); }

HRESULT SurveyApplication::Start(HINSTANCE instance) {
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    static_cast<void>(RegisterClassA(&windowClass));

    hostWindow = CreateWindowExA(kHostExStyle, "STATIC", kHostCaption, kHostStyle, 0, 0, initialClientWidth,
                                 initialClientHeight, nullptr, nullptr, instance, nullptr);
    if (hostWindow) {
        mainWindow = CreateWindowExA(0, kWindowClass, "", kWindowStyle, 0, 0, initialClientWidth, initialClientHeight,
                                     hostWindow, nullptr, instance, nullptr);
    }
    if (!mainWindow) {
        const DWORD error = GetLastError();
        return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
    }
    // The framework takes the window as its main window and makes everything else on it.
    return Initialize(instance);
}

void SurveyApplication::Finish() {
    if (mainWindow) SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    if (hostWindow) DestroyWindow(hostWindow);
    hostWindow = nullptr;
    // The shutdown posted its quit message; a console program has no loop to end.
    PumpMessages();
}

void SurveyApplication::PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

HRESULT SurveyApplication::CreateModeDevice(const SurveyMode& mode) {
    // Another multisample mode of the device at hand is a reset away, as a windowed/fullscreen
    // switch on one device is for the program: much cheaper than a new device.
    if (device && settings.CurrentDeviceCombo() == mode.combo && settings.CurrentDeviceInfo() == mode.deviceInfo) {
        // The device the framework started with is often the first mode already.
        if (settings.multisampleType == mode.multisample.type && settings.multisampleQuality == mode.multisample.quality) {
            return S_OK;
        }
        settings.multisampleType = mode.multisample.type;
        settings.multisampleQuality = mode.multisample.quality;
        BuildPresentParameters();
        if (SUCCEEDED(ResetDevice())) return S_OK;
    }
    ReleaseDevice();
    settings = SettingsForMode(mode, clientRect.right - clientRect.left, clientRect.bottom - clientRect.top);
    HRESULT result = CreateDeviceFromSettings();
    // A hardware device that fails makes the framework fall back to the reference rasterizer:
    // that device belongs to another mode, not this one. The failure's code went into the
    // framework's report, which the caller attaches.
    if (SUCCEEDED(result) && settings.CurrentDeviceInfo() != mode.deviceInfo) {
        ReleaseDevice();
        result = S_FALSE;
    }
    return result;
}

HRESULT SurveyApplication::WaitForUsableDevice() {
    const Clock::time_point start = Clock::now();
    for (;;) {
        const HRESULT state = device->TestCooperativeLevel();
        if (SUCCEEDED(state)) return S_OK;
        if (state == D3DERR_DEVICENOTRESET) return ResetDevice();
        if (state != D3DERR_DEVICELOST || MillisecondsSince(start) > lostDeviceWaitMilliseconds) return state;
        PumpMessages();
        Sleep(100);
    }
}

HRESULT SurveyApplication::WritePicture(const std::string& path, HRESULT* outputFailure) {
    if (backBufferDesc.Format != D3DFMT_X8R8G8B8 && backBufferDesc.Format != D3DFMT_A8R8G8B8) return E_NOTIMPL;
    // The viewer's frame as it would draw it in this mode, its statistics line naming the mode.
    char statistics[sizeof(frameStatistics)];
    std::snprintf(statistics, sizeof(statistics), "%s %s quality %lu", FormatText(backBufferDesc.Format, false),
                  MultisampleTypeText(settings.multisampleType), static_cast<unsigned long>(settings.multisampleQuality));
    static_cast<void>(CopyStringBounded(frameStatistics, statistics, sizeof(frameStatistics)));
    HRESULT result = UpdateFrame();
    if (SUCCEEDED(result)) result = RenderFrame();
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
    static_cast<void>(TakeFrameworkReports());
    HRESULT result = CreateModeDevice(mode);
    report.timings.device = MillisecondsSince(start);
    if (result == S_FALSE) {
        const std::string reports = TakeFrameworkReports();
        fail("device", S_OK,
             "the device could not be created and the reference device the framework fell back to is "
             "another mode" + (reports.empty() ? std::string() : " (" + reports + ")"));
    } else if (FAILED(result)) {
        fail("device", result, FailureText(TakeFrameworkReports(), "the device could not be created"));
    }
    if (result != S_OK) {
        report.timings.total = MillisecondsSince(start);
        return;
    }

    Clock::time_point step = Clock::now();
    result = WaitForUsableDevice();
    if (SUCCEEDED(result)) {
        result = MeasureMode(device, &report.measurement);
        // A device lost during the measurement is waited for once more, then measured again.
        if (result == D3DERR_DEVICELOST && SUCCEEDED(WaitForUsableDevice())) {
            result = MeasureMode(device, &report.measurement);
        }
        if (FAILED(result)) fail("measurement", result, FailureText(TakeFrameworkReports(), "the measurement failed"));
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

AdapterDescription SurveyApplication::DescribeAdapter(const AdapterInfo& adapterInfo,
                                                     const D3DDISPLAYMODE& desktop) const {
    return ::DescribeAdapter(adapterInfo.adapterOrdinal, adapterInfo.identifier, desktop.Format);
}
