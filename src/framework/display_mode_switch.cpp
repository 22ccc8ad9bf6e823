// Changing how the device is shown: window style and menu per mode, the windowed/fullscreen
// switch, back-buffer size after a resize, and a new device from the settings dialog.
#include "settings_dialog/settings_dialog.h"
#include "framework/application_framework.h"
#include "framework/error_reporting.h"

namespace {

constexpr DWORD kFullscreenStyle = WS_POPUP | WS_VISIBLE | WS_SYSMENU;

// A failed switch or rebuild keeps the out-of-video-memory message; all else is a failed reset.
HRESULT SwitchFailureCode(HRESULT result) {
    return result == D3DERR_OUTOFVIDEOMEMORY ? result : AppErrorResetFailed;
}

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
    const UINT oldAdapter = oldCombo->adapterOrdinal;
    const D3DDEVTYPE oldDeviceType = oldCombo->deviceType;

    Pause(true);
    suppressSizeHandling = true;
    windowed = !windowed;
    settings.isWindowed = windowed;
    static_cast<void>(ApplyWindowStyleForMode());

    HRESULT result;
    if (newCombo->adapterOrdinal == oldAdapter && newCombo->deviceType == oldDeviceType) {
        BuildPresentParameters();
        result = ResetDevice();
    } else {
        ReleaseDevice();
        result = CreateDeviceFromSettings();
    }

    suppressSizeHandling = false;
    if (FAILED(result)) {
        if (!windowed) {
            windowed = true;
            settings.isWindowed = true;
            static_cast<void>(ApplyWindowStyleForMode());
            ReturnToWindowedBounds();
        }
        // The application closes; the pause stays.
        return ReportError(SwitchFailureCode(result), NoticeFatal);
    }
    // Size messages were ignored during the switch, so this is the rectangle from before it.
    if (windowed) ReturnToWindowedBounds();
    Pause(false);
    return S_OK;
}

HRESULT ApplicationFramework::HandleSizeChange() {
    // The rectangles are the window's to return to: only a window (not fullscreen, not an icon)
    // has them. A fullscreen back buffer is the display mode's whatever the window does.
    // (The window's first WM_SIZE comes while it is being created, before mainWindow is set.)
    if (suppressSizeHandling || !windowed || !mainWindow || IsIconic(mainWindow)) return S_OK;
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
    // The window comes back with no frame in it, and a paused loop draws none: without one the
    // dialog would stand over a black window. A frozen picture is the application's to show
    // again, on the WM_PAINT the switch sends.
    if (updateContinuously && deviceResourcesRestored && SUCCEEDED(RenderFrame())) {
        static_cast<void>(device->Present(nullptr, nullptr, nullptr, nullptr));
    }
    return S_OK;
}

HRESULT ApplicationFramework::ChangeDeviceFromDialog() {
    if (FAILED(LeaveFullscreenForDialog())) return E_FAIL;

    SettingsDialog dialog(&enumeration, settings);
    if (dialog.Show(mainWindow) != IDOK) return S_OK;

    settings = dialog.settings;
    windowed = settings.isWindowed;
    ReleaseDevice();
    const HRESULT result = CreateDeviceFromSettings();
    if (FAILED(result)) {
        if (!windowed) {
            windowed = true;
            settings.isWindowed = true;
            static_cast<void>(ApplyWindowStyleForMode());
            ReturnToWindowedBounds();
        }
        return ReportError(SwitchFailureCode(result), NoticeFatal);
    }
    // The new device has requested its frame in single-frame mode (CreateDeviceFromSettings).
    return S_OK;
}
