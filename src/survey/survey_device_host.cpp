// The survey's device host: its window, a device per mode with the framework's reports taken as
// values, and the mode's picture drawn by the pattern library.
#include "survey/survey_device_host.h"

#include <chrono>
#include <cstdio>

#include "enumeration/value_names.h"
#include "pattern/ortho_projection.h"
#include "pattern/pattern_passes.h"
#include "pattern/status_lines.h"

namespace {

constexpr char kWindowClass[] = "Quillant Survey Window";
constexpr char kHostCaption[] = "Quillant Survey";
// A top-level window, so that every implementation can make its swap chain for it (under Wine 8
// a Vulkan-based d3d9 gets no surface for a child window), that is never shown: nothing on the
// taskbar or the screen, no close box that would end the device being measured, and no window
// that could be activated (Wine waits up to two seconds for a window manager to take down an
// activated top-level window, even where there is none). The device draws into its back buffer,
// which is read back without a Present.
constexpr DWORD kWindowStyle = WS_POPUP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN;
constexpr DWORD kWindowExStyle = WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE;

using Clock = std::chrono::steady_clock;

double MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The message texts are laid out for a box: their line breaks become single spaces.
std::string OneLine(const std::string& text) {
    std::string line;
    bool space = false;
    for (const char c : text) {
        if (c == '\n' || c == '\r' || c == ' ') {
            space = !line.empty();
            continue;
        }
        if (space) line += ' ';
        space = false;
        line += c;
    }
    return line;
}

void AppendReport(std::string* text, const std::string& report) {
    if (!text->empty()) *text += "; ";
    *text += OneLine(report);
}

}  // namespace

SurveyDeviceHost::SurveyDeviceHost() : font("Arial", 8, 0) {
    windowTitle = kHostCaption;
    initialClientWidth = 512;
    initialClientHeight = 384;
}

SurveyDeviceHost::~SurveyDeviceHost() {
    Finish();
    SetReportReceiver(nullptr);
}

HRESULT SurveyDeviceHost::Start(HINSTANCE instance) {
    SetReportReceiver([this](const FrameworkReport& report) { reports.push_back(report); });

    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = FrameworkWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    windowClass.lpszClassName = kWindowClass;
    static_cast<void>(RegisterClassA(&windowClass));

    mainWindow = CreateWindowExA(kWindowExStyle, kWindowClass, kHostCaption, kWindowStyle, 0, 0, initialClientWidth,
                                 initialClientHeight, nullptr, nullptr, instance, nullptr);
    if (!mainWindow) {
        const DWORD error = GetLastError();
        return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
    }
    // The framework takes the window as its main window and makes everything else on it.
    return Initialize(instance);
}

void SurveyDeviceHost::Finish() {
    if (mainWindow) SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    // The shutdown posted its quit message; a console program has no loop to end.
    PumpMessages();
}

void SurveyDeviceHost::PumpMessages() {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

std::string SurveyDeviceHost::TakeFrameworkReports() {
    std::string text;
    for (const FrameworkReport& report : reports) AppendReport(&text, report.text);
    reports.clear();
    return text;
}

ModeDevice SurveyDeviceHost::CreateModeDevice(const SurveyMode& mode) {
    static_cast<void>(TakeFrameworkReports());
    // Another multisample mode of the device at hand is a reset away, as a windowed/fullscreen
    // switch on one device is for the program: much cheaper than a new device.
    if (device && settings.CurrentDeviceCombo() == mode.combo && settings.CurrentDeviceInfo() == mode.deviceInfo) {
        // The device the framework started with is often the first mode already.
        if (settings.multisampleType == mode.multisample.type && settings.multisampleQuality == mode.multisample.quality) {
            return {S_OK, TakeFrameworkReports()};
        }
        settings.multisampleType = mode.multisample.type;
        settings.multisampleQuality = mode.multisample.quality;
        BuildPresentParameters();
        AnnounceStep("Reset");
        if (SUCCEEDED(ResetDevice())) return {S_OK, TakeFrameworkReports(), "Reset"};
    }
    ReleaseDevice();
    settings = SettingsForMode(mode, clientRect.right - clientRect.left, clientRect.bottom - clientRect.top);
    ModeDevice made;
    AnnounceStep("CreateDevice");
    made.result = CreateDeviceFromSettings();
    // A hardware device that fails makes the framework fall back to the reference rasterizer:
    // that device belongs to another mode, not this one. The framework said why in its report.
    if (SUCCEEDED(made.result) && settings.CurrentDeviceInfo() != mode.deviceInfo) {
        ReleaseDevice();
        made.result = S_FALSE;
        for (const FrameworkReport& report : reports) {
            if (report.kind == NoticeSwitchedToReference) made.hardwareResult = report.code;
        }
    }
    made.text = TakeFrameworkReports();
    return made;
}

void SurveyDeviceHost::AnnounceStep(const std::string& step) const {
    if (stepObserver) stepObserver(step);
}

HRESULT SurveyDeviceHost::WaitForUsableDevice(const char** call) {
    const Clock::time_point start = Clock::now();
    if (call) *call = "TestCooperativeLevel";
    for (;;) {
        const HRESULT state = device->TestCooperativeLevel();
        if (SUCCEEDED(state)) return S_OK;
        if (state == D3DERR_DEVICENOTRESET) {
            if (call) *call = "Reset";
            return ResetDevice();
        }
        if (state != D3DERR_DEVICELOST || MillisecondsSince(start) > lostDeviceWaitMilliseconds) return state;
        PumpMessages();
        Sleep(100);
    }
}

HRESULT SurveyDeviceHost::CreateDeviceResources() {
    // Without its glyphs the status lines are lost, but the pattern is what matters.
    static_cast<void>(font.CreateDeviceResources(device));
    return FillPatternObjects(device, pattern, &patternObjects);
}

HRESULT SurveyDeviceHost::RestoreDeviceResources() {
    SetBaselineStates(device);
    static_cast<void>(font.RestoreDeviceResources());
    return S_OK;
}

HRESULT SurveyDeviceHost::ReleaseDeviceResources() {
    static_cast<void>(font.ReleaseDeviceResources());
    return S_OK;
}

HRESULT SurveyDeviceHost::DestroyDeviceResources() {
    static_cast<void>(font.DestroyDeviceResources());
    ReleasePatternObjects(&patternObjects);
    return S_OK;
}

HRESULT SurveyDeviceHost::RenderFrame() {
    const HRESULT scene = device->BeginScene();
    if (FAILED(scene)) return scene;
    const D3DMATRIX identity = IdentityMatrix();
    static_cast<void>(device->SetTransform(D3DTS_WORLD, &identity));
    const float width = static_cast<float>(presentParams.BackBufferWidth);
    const float height = static_cast<float>(presentParams.BackBufferHeight);
    static_cast<void>(DrawPatternPicture(device, pattern, patternObjects, width, height));

    char modeText[90];
    std::snprintf(modeText, sizeof(modeText), "%s %s quality %lu", FormatText(pictureFormat != D3DFMT_UNKNOWN ? pictureFormat : backBufferDesc.Format, false),
                  MultisampleTypeText(settings.multisampleType), static_cast<unsigned long>(settings.multisampleQuality));
    StatusHeader header;
    header.statistics = modeText;
    header.deviceDescription = deviceDescription;
    OverlayText texts[kMaxOverlayTexts];
    DrawStatusLines(&font, texts, ComposeStatusLines(pattern, header, &font, texts));
    return device->EndScene();
}

LRESULT SurveyDeviceHost::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // A shown top-level window would be on the screen and could be activated; the device needs
    // neither, as it is never presented.
    if (message == WM_WINDOWPOSCHANGING && window == mainWindow) {
        reinterpret_cast<WINDOWPOS*>(lParam)->flags &= ~static_cast<UINT>(SWP_SHOWWINDOW);
    }
    return ApplicationFramework::HandleWindowMessage(window, message, wParam, lParam);
}
