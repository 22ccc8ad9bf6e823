// The window's rectangle after fullscreen, held while the mode change settles. Without a window
// manager Wine's X11 driver can answer an older configure request, the fullscreen one, seconds
// after the window was put back: the window then stands at the display's size in its windowed
// style. While the hold lasts such a rectangle is taken for that late answer and replaced by the
// one held; any other rectangle is the user's or another program's, and is held from then on.
// The late answer is caught as it arrives too: a frame at the display's size can take seconds on a
// software rasteriser, and the hold's timer waits behind it.
#include "framework/application_framework.h"
#include "platform/platform.h"

void ApplicationFramework::HoldWindowedBounds() {
    if (!mainWindow) return;
    holdingBounds = true;
    heldBounds = windowedBounds;
    holdUntil = platform::MillisecondTime() + kHoldBoundsMilliseconds;
    static_cast<void>(SetTimer(mainWindow, kHoldBoundsTimer, 250, nullptr));
}

bool ApplicationFramework::AtLateFullscreenRectangle() const {
    if (!holdingBounds || !windowed || !mainWindow) return false;
    if (static_cast<LONG>(platform::MillisecondTime() - holdUntil) >= 0) return false;
    RECT now = {};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetWindowRect(mainWindow, &now) ||
        !GetMonitorInfoA(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        return false;
    }
    // A window that had the display's size as a window keeps it.
    return EqualRect(&now, &monitor.rcMonitor) && !EqualRect(&heldBounds, &monitor.rcMonitor);
}

void ApplicationFramework::CheckHeldBounds() {
    const bool over = !holdingBounds || !windowed || !mainWindow ||
                      static_cast<LONG>(platform::MillisecondTime() - holdUntil) >= 0;
    if (over) {
        if (mainWindow) static_cast<void>(KillTimer(mainWindow, kHoldBoundsTimer));
        holdingBounds = false;
        return;
    }
    // An icon, a maximised window, a drag or a switch in progress has a rectangle of its own.
    if (IsIconic(mainWindow) || IsZoomed(mainWindow) || inSizeMoveLoop || suppressSizeHandling) return;
    if (AtLateFullscreenRectangle()) {
        windowedBounds = heldBounds;
        ReturnToWindowedBounds();
        return;
    }
    RECT now = {};
    if (!GetWindowRect(mainWindow, &now)) return;
    if (!EqualRect(&now, &heldBounds)) {
        heldBounds = now;
        return;
    }
    // The same rectangle once more: after a mode change Wine can be left with the display's size
    // in its server (where other programs read the window's rectangle) while this process's own
    // copy says the rectangle it set. Set again, they agree; the size is the same, so no WM_SIZE.
    static_cast<void>(SetWindowPos(mainWindow, nullptr, now.left, now.top, now.right - now.left, now.bottom - now.top,
                                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER));
}
