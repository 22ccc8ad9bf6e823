// Changing how the device is shown: window style and menu per mode, the windowed/fullscreen
// switch, back-buffer size after a resize, and a new device from the settings dialog.
#include "settings_dialog/settings_dialog.h"
#include "framework/application_framework.h"
#include "framework/error_reporting.h"
#include "enumeration/result_codes.h"
#include "framework/process_state.h"

namespace {

constexpr DWORD kFullscreenStyle = WS_POPUP | WS_VISIBLE | WS_SYSMENU;

// A failed switch or rebuild keeps the out-of-video-memory message; all else is a failed reset.
HRESULT SwitchFailureCode(HRESULT result) {
    return result == D3DERR_OUTOFVIDEOMEMORY ? result : AppErrorResetFailed;
}

// A switch that failed with a result code and was undone: the viewer goes on as it was.
HRESULT ReportUndoneSwitch(const char* call, HRESULT result) {
    return ReportErrorText(result, NoticeWarning,
                           "The new settings could not be used:\n" + FailedCallText(call, result) +
                               ".\n\nThe device is back at the settings it had.");
}

// A failure already reported as fatal has closed the window: nothing is left to go back to.
bool ClosedByFatalReport() { return ProcessState().fatalReportShown; }

}  // namespace

HRESULT ApplicationFramework::ApplyWindowStyleForMode() {
    if (windowed) {
        static_cast<void>(SetWindowLongA(mainWindow, GWL_STYLE, static_cast<LONG>(windowedStyle)));
        if (detachedMenu) {
            static_cast<void>(SetMenu(mainWindow, detachedMenu));
            detachedMenu = nullptr;
        }
    } else {
        static_cast<void>(SetWindowLongA(mainWindow, GWL_STYLE, static_cast<LONG>(kFullscreenStyle)));
        if (!detachedMenu) {
            detachedMenu = GetMenu(mainWindow);
            static_cast<void>(SetMenu(mainWindow, nullptr));
        }
    }
    return S_OK;
}

HRESULT ApplicationFramework::ToggleFullscreen() {
    DeviceCombo* oldCombo = settings.CurrentDeviceCombo();
    DeviceCombo* newCombo = windowed ? settings.fullscreenDeviceCombo : settings.windowedDeviceCombo;
    // With no configuration for the other mode (none was found at start-up) there is nothing to
    // switch to; the device stays as it is.
    if (!oldCombo || !newCombo) return S_OK;
    DeviceSettings candidate = settings;
    candidate.isWindowed = !windowed;
    // Refused with its message: the device stays in the mode it is in.
    if (FAILED(RefuseModeItCannotCreate(candidate))) return S_OK;
    const bool sameDevice = newCombo->adapterOrdinal == oldCombo->adapterOrdinal &&
                            newCombo->deviceType == oldCombo->deviceType;

    Pause(true);
    suppressSizeHandling = true;
    HRESULT result = SwitchToMode(!windowed, sameDevice);
    if (FAILED(result) && !ClosedByFatalReport()) {
        // Back to the mode it came from; only a device that cannot go back either ends the program.
        const HRESULT back = SwitchToMode(!windowed, sameDevice);
        if (SUCCEEDED(back)) {
            static_cast<void>(ReportUndoneSwitch(sameDevice ? "Reset" : "CreateDevice", result));
            result = S_OK;
        }
    }
    suppressSizeHandling = false;
    // The application closes; the pause stays.
    if (FAILED(result)) return EndAfterFailedSwitch(result);
    // Size messages were ignored during the switch, so this is the rectangle from before it.
    if (windowed) {
        ReturnToWindowedBounds();
        HoldWindowedBounds();
    }
    Pause(false);
    return S_OK;
}

HRESULT ApplicationFramework::EndAfterFailedSwitch(HRESULT result) {
    if (!windowed) {
        windowed = true;
        settings.isWindowed = true;
        static_cast<void>(ApplyWindowStyleForMode());
        ReturnToWindowedBounds();
    }
    return ReportError(SwitchFailureCode(result), NoticeFatal);
}

HRESULT ApplicationFramework::SwitchToMode(bool toWindowed, bool sameDevice) {
    // The reset or release below first waits for the frames the device is still drawing: seconds
    // at the display's size on a software rasteriser. The window takes its rectangle before that,
    // while still fullscreen (its size messages then leave the windowed style and rectangle as
    // they are), so that it never stands at the display's size with a caption.
    if (toWindowed) ReturnToWindowedBounds();
    windowed = toWindowed;
    settings.isWindowed = windowed;
    static_cast<void>(ApplyWindowStyleForMode());
    if (sameDevice && device) {
        BuildPresentParameters();
        return ResetDevice();
    }
    ReleaseDevice();
    return CreateDeviceFromSettings();
}

HRESULT ApplicationFramework::HandleSizeChange() {
    // The rectangles are the window's to return to: only a window (not fullscreen, not an icon)
    // has them. A fullscreen back buffer is the display mode's whatever the window does.
    // (The window's first WM_SIZE comes while it is being created, before mainWindow is set.)
    if (suppressSizeHandling || !windowed || !mainWindow || IsIconic(mainWindow)) return S_OK;
    // Not a size to draw at: the hold puts the window back before the next frame.
    if (AtLateFullscreenRectangle()) {
        static_cast<void>(PostMessageA(mainWindow, WM_TIMER, kHoldBoundsTimer, 0));
        return S_OK;
    }
    static_cast<void>(GetWindowRect(mainWindow, &windowedBounds));
    RECT client = {};
    static_cast<void>(GetClientRect(mainWindow, &client));
    // No pixels, no back buffer to fit (a reset to a zero size fails): keep the old one.
    const bool wasEmpty = clientAreaEmpty;
    clientAreaEmpty = IsRectEmpty(&client) != FALSE;
    if (clientAreaEmpty) return S_OK;
    clientRect = client;
    // Pixels again: single-frame mode shows a frame of them even when no reset is needed (the
    // frame asked for while there were none was never drawn, or was of another size). The loop
    // sleeps while there are none; a size sent from another thread would not wake it.
    if (wasEmpty) {
        RequestFrameInSingleFrameMode();
        static_cast<void>(PostMessageA(mainWindow, WM_NULL, 0, 0));
    }

    // Compared with the back buffer, not with the last client size: a resize that came while
    // the device could not follow is caught up by the next one.
    const UINT width = static_cast<UINT>(client.right - client.left);
    const UINT height = static_cast<UINT>(client.bottom - client.top);
    if (width == presentParams.BackBufferWidth && height == presentParams.BackBufferHeight) return S_OK;
    // A device whose resources are still being created is built to the size it was given; a
    // reset now would restore resources that do not exist yet.
    if (device && !deviceResourcesCreated) return S_OK;

    Pause(true);
    presentParams.BackBufferWidth = width;
    presentParams.BackBufferHeight = height;
    if (device) {
        const HRESULT result = ResetDevice();
        if (FAILED(result)) {
            const HRESULT code = ReportError(SwitchFailureCode(result), NoticeFatal);
            Pause(false);
            return code;
        }
    }
    Pause(false);
    return S_OK;
}

HRESULT ApplicationFramework::LeaveFullscreenForDialog() {
    if (windowed) return S_OK;
    if (FAILED(ToggleFullscreen())) {
        static_cast<void>(ReportError(AppErrorResetFailed, NoticeFatal));
        return E_FAIL;
    }
    // A window mode refused before the switch leaves the device fullscreen: no dialog over it.
    if (!windowed) return E_ABORT;
    // The window comes back with no frame in it, and a paused loop draws none: without one the
    // dialog would stand over a black window. A frozen picture is the application's to show
    // again, on the WM_PAINT the switch sends.
    if (updateContinuously && deviceResourcesRestored && SUCCEEDED(RenderFrame())) {
        static_cast<void>(device->Present(nullptr, nullptr, nullptr, nullptr));
    }
    return S_OK;
}

HRESULT ApplicationFramework::ChangeDeviceFromDialog() {
    const HRESULT left = LeaveFullscreenForDialog();
    if (left == E_ABORT) return S_OK;
    if (FAILED(left)) return E_FAIL;

    SettingsDialog dialog(&enumeration, settings);
    if (dialog.Show(mainWindow) != IDOK) return S_OK;
    // Refused with its message: the device and the settings stay.
    if (FAILED(RefuseModeItCannotCreate(dialog.settings))) return S_OK;

    const DeviceSettings previous = settings;
    settings = dialog.settings;
    windowed = settings.isWindowed;
    ReleaseDevice();
    HRESULT result = CreateDeviceFromSettings();
    if (FAILED(result) && !ClosedByFatalReport()) {
        // Back to the device it had; only when that cannot be made either does the program end.
        settings = previous;
        windowed = settings.isWindowed;
        if (SUCCEEDED(CreateDeviceFromSettings())) {
            static_cast<void>(ReportUndoneSwitch("CreateDevice", result));
            return S_OK;
        }
    }
    if (FAILED(result)) return EndAfterFailedSwitch(result);
    // The new device has requested its frame in single-frame mode (CreateDeviceFromSettings).
    return S_OK;
}
