// The application object's life: construction, start-up, the message and render loop, the
// per-frame step, pausing and the shutdown sequence.
#include "framework/application_framework.h"

#include "framework/behavior_flags.h"
#include "framework/error_reporting.h"
#include "framework/frame_timer.h"
#include "framework/process_state.h"
#include "framework/safe_release.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace {

constexpr char kWindowClassName[] = "D3D Window";
// No sizing border and no maximize box: the back buffer follows only deliberate size changes.
constexpr DWORD kInitialWindowedStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

}  // namespace

ApplicationFramework::ApplicationFramework() {
    application = this;
    direct3d = nullptr;
    device = nullptr;
    mainWindow = nullptr;
    focusWindow = nullptr;
    detachedMenu = nullptr;
    windowed = true;
    active = false;
    deviceLost = false;
    minimized = false;
    maximized = false;
    suppressSizeHandling = false;
    deviceResourcesCreated = false;
    deviceResourcesRestored = false;
    behaviorFlags = 0;
    updateContinuously = true;
    stepPending = false;
    appTime = 0.0f;
    frameElapsed = 0.0f;
    framesPerSecond = 0.0f;
    deviceDescription[0] = '\0';
    frameStatistics[0] = '\0';
    windowTitle = "D3D9 Application";
    initialClientWidth = 400;
    initialClientHeight = 300;
    showCursorInFullscreen = false;
    preferFullscreen = false;
    // The object starts paused; Initialize undoes this once the device exists.
    Pause(true);
    clipCursorInFullscreen = true;
}

ApplicationFramework::~ApplicationFramework() {
    // A window that outlives the object must not reach it any more.
    if (application == this) application = nullptr;
}

HRESULT ApplicationFramework::CheckDeviceAcceptable(D3DCAPS9*, DWORD, D3DFORMAT) { return S_OK; }

void ApplicationFramework::ReleaseDirect3D() {
    SafeRelease(direct3d);
    enumeration.direct3d = nullptr;
}

HRESULT ApplicationFramework::Initialize(HINSTANCE instance) {
    direct3d = platform::CreateDirect3D(D3D_SDK_VERSION);
    if (!direct3d) return ReportError(AppErrorNoDirect3D, NoticeFatal);

    enumeration.direct3d = direct3d;
    enumeration.acceptDevice = ConfirmDeviceThunk;
    HRESULT result = enumeration.Enumerate();
    if (FAILED(result)) {
        ReleaseDirect3D();
        return ReportError(result, NoticeFatal);
    }

    if (!mainWindow) {
        WNDCLASSA windowClass = {};
        windowClass.style = 0;
        windowClass.lpfnWndProc = FrameworkWindowProc;
        windowClass.hInstance = instance;
        windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_MAIN_ICON));
        windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
        windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
        windowClass.lpszClassName = kWindowClassName;
        // A second registration in the same process fails harmlessly: the class exists.
        static_cast<void>(RegisterClassA(&windowClass));

        windowedStyle = kInitialWindowedStyle;
        RECT bounds;
        SetRect(&bounds, 0, 0, initialClientWidth, initialClientHeight);
        static_cast<void>(AdjustWindowRect(&bounds, windowedStyle, TRUE));
        HMENU menu = LoadMenuA(instance, MAKEINTRESOURCEA(IDR_MAIN_MENU));
        mainWindow = CreateWindowExA(0, kWindowClassName, windowTitle, windowedStyle, CW_USEDEFAULT,
                                     CW_USEDEFAULT, bounds.right - bounds.left,
                                     bounds.bottom - bounds.top, nullptr, menu, instance, nullptr);
    }
    if (!focusWindow) focusWindow = mainWindow;

    windowedStyle = static_cast<DWORD>(GetWindowLongA(mainWindow, GWL_STYLE));
    static_cast<void>(GetWindowRect(mainWindow, &windowedBounds));
    static_cast<void>(GetClientRect(mainWindow, &clientRect));

    // Each failure below is fatal: the report closes the window, whose shutdown sequence finds
    // the Direct3D object already released and nulled.
    result = ChooseInitialSettings();
    if (FAILED(result)) {
        ReleaseDirect3D();
        return ReportError(result, NoticeFatal);
    }

    static_cast<void>(FrameTimer(TimerStart));

    result = InitScene();
    if (FAILED(result)) {
        ReleaseDirect3D();
        return ReportError(result, NoticeFatal);
    }

    result = CreateDeviceFromSettings();
    if (FAILED(result)) {
        ReleaseDirect3D();
        return ReportError(result, NoticeFatal);
    }

    Pause(false);
    return S_OK;
}

int ApplicationFramework::RunLoop() {
    HACCEL accelerators = LoadAcceleratorsA(nullptr, MAKEINTRESOURCEA(IDR_ACCELERATORS));

    MSG message = {};
    message.message = WM_NULL;
    static_cast<void>(PeekMessageA(&message, nullptr, 0, 0, PM_NOREMOVE));
    while (message.message != WM_QUIT) {
        // Running, the loop never waits. Paused, frozen in single-frame mode with no frame asked
        // for, or with a client area of no pixels to draw into, it sleeps in GetMessageA until a
        // message brings something to do (-1, an error, reads nothing and must not re-dispatch
        // the previous message). A lost device is still polled, so that a frozen program gets
        // its device back.
        const bool nothingToDraw = (!updateContinuously && !stepPending) || (windowed && clientAreaEmpty);
        const bool idle = !active || (nothingToDraw && !deviceLost);
        const bool read = idle ? GetMessageA(&message, nullptr, 0, 0) > 0
                               : PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE) != 0;
        if (read) {
            if (accelerators && mainWindow && TranslateAcceleratorA(mainWindow, accelerators, &message)) {
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageA(&message);
            continue;
        }
        if (deviceLost) Sleep(100);
        if (active && FAILED(StepFrame())) SendMessageA(mainWindow, WM_CLOSE, 0, 0);
    }

    if (accelerators) DestroyAcceleratorTable(accelerators);
    return static_cast<int>(message.wParam);
}

HRESULT ApplicationFramework::StepFrame() {
    // Nothing to draw on (never created, or released by a closing window).
    if (!device) return S_OK;

    if (deviceLost) {
        const HRESULT cooperation = device->TestCooperativeLevel();
        if (cooperation == D3DERR_DEVICELOST) return S_OK;
        if (cooperation == D3DERR_DEVICENOTRESET) {
            if (windowed) {
                // The desktop may have changed format while the device was lost.
                const AdapterInfo* adapterInfo = settings.CurrentAdapterInfo();
                static_cast<void>(direct3d->GetAdapterDisplayMode(adapterInfo->adapterOrdinal,
                                                                  &settings.windowedDisplayMode));
                presentParams.BackBufferFormat = settings.windowedDisplayMode.Format;
            }
            return ResetDevice();
        }
        if (FAILED(cooperation)) return cooperation;
        deviceLost = false;
    }

    // A window squeezed to its caption and menu has no pixels to draw into; its device keeps
    // the old back buffer until the client area has pixels again.
    if (windowed && clientAreaEmpty) return S_OK;

    // Continuous drawing needs a running timer. One stopped by a pause that ended in single-frame
    // mode is picked up here; the frame that P requested is drawn although no time has passed.
    if (updateContinuously && active && ProcessState().timer.stopped) static_cast<void>(FrameTimer(TimerStart));
    const double time = FrameTimer(TimerGetAppTime);
    const double elapsed = FrameTimer(TimerGetElapsedTime);
    if (updateContinuously && elapsed == 0.0 && !stepPending) return S_OK;
    if (!updateContinuously && !stepPending) return S_OK;

    appTime = static_cast<float>(time);
    frameElapsed = static_cast<float>(elapsed);

    HRESULT result = UpdateFrame();
    if (FAILED(result)) return result;
    stepPending = false;

    result = RenderFrame();
    if (FAILED(result)) return result;

    // Mesa's software presenter under Wine learns the size of the window's surface only at the
    // swap after, so the first frame at a new client size is shown at the old one: off the
    // window. Running, the next frame mends it; a frozen frame would stay lost, so it is shown
    // once more, drawn again as the same picture.
    if (PresentingAtNewSize() && !updateContinuously) {
        if (device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) {
            deviceLost = true;
            return S_OK;
        }
        repeatingFrame = true;
        result = RenderFrame();
        repeatingFrame = false;
        if (FAILED(result)) return result;
    }

    RefreshFrameStats();

    if (device->Present(nullptr, nullptr, nullptr, nullptr) == D3DERR_DEVICELOST) deviceLost = true;
    return S_OK;
}

bool ApplicationFramework::PresentingAtNewSize() {
    RECT client = {};
    static_cast<void>(GetClientRect(mainWindow, &client));
    const SIZE size = {client.right - client.left, client.bottom - client.top};
    // A surface presented for the first time is measured then: only a later change is late.
    const bool first = presentedClientSize.cx < 0;
    const bool changed = size.cx != presentedClientSize.cx || size.cy != presentedClientSize.cy;
    presentedClientSize = size;
    return changed && !first;
}

void ApplicationFramework::Pause(bool pause) {
    int& count = ProcessState().pauseCount;
    count += pause ? 1 : -1;
    active = count == 0;
    // The timer stops on the first pause and restarts when the last one is undone.
    if (pause && count == 1 && updateContinuously) static_cast<void>(FrameTimer(TimerStop));
    if (count == 0 && updateContinuously) static_cast<void>(FrameTimer(TimerStart));

    // The frame rate is measured over absolute time: a dialog open for a minute would otherwise
    // show as a rate near zero in the next measurement (and in a saved picture). The paused span
    // is moved out of the measurement window; the very first measurement stays as it is.
    FrameRateState& frameRate = ProcessState().frameRate;
    if (pause && count == 1) frameRate.pausedAt = FrameTimer(TimerGetAbsoluteTime);
    if (!pause && count == 0 && frameRate.pausedAt > 0.0) {
        if (frameRate.lastMeasurementTime > 0.0) {
            frameRate.lastMeasurementTime += FrameTimer(TimerGetAbsoluteTime) - frameRate.pausedAt;
        }
        frameRate.pausedAt = 0.0;
    }
}

void ApplicationFramework::Shutdown() {
    if (shutdownStarted) return;
    shutdownStarted = true;
    ReleaseDevice();
    ReleaseDirect3D();
    static_cast<void>(CleanupScene());
    if (HMENU menu = GetMenu(mainWindow)) DestroyMenu(menu);
    // A menu taken off for fullscreen belongs to no window, so nothing else would destroy it.
    if (detachedMenu) {
        DestroyMenu(detachedMenu);
        detachedMenu = nullptr;
    }
    DestroyWindow(mainWindow);
    PostQuitMessage(0);
    mainWindow = nullptr;
}

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (!application) return DefWindowProcA(window, message, wParam, lParam);
    return application->HandleWindowMessage(window, message, wParam, lParam);
}

bool ConfirmDeviceThunk(D3DCAPS9* caps, VertexProcessingType vertexProcessing, D3DFORMAT backBufferFormat) {
    if (!application) return true;
    const DWORD flags = BehaviorFlagsFor(vertexProcessing);
    return SUCCEEDED(application->CheckDeviceAcceptable(caps, flags, backBufferFormat));
}
