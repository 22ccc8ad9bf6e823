// The window's rectangle after fullscreen, held while the mode change settles. Without a window
// manager Wine's X11 driver can answer an older configure request, the fullscreen one, seconds
// after the window was put back: the window then stands at the display's size in its windowed
// style. While the hold lasts such a rectangle is taken for that late answer and replaced by the
// one held; any other rectangle is the user's or another program's, and is held from then on.
#include "framework/application_framework.h"
#include "platform/platform.h"

void ApplicationFramework::HoldWindowedBounds() {
    if (!mainWindow) return;
    holdingBounds = true;
    heldBounds = windowedBounds;
    holdUntil = platform::MillisecondTime() + kHoldBoundsMilliseconds;
    static_cast<void>(SetTimer(mainWindow, kHoldBoundsTimer, 250, nullptr));
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
    RECT now = {};
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    if (!GetWindowRect(mainWindow, &now) ||
        !GetMonitorInfoA(MonitorFromWindow(mainWindow, MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        return;
    }
    if (!EqualRect(&now, &monitor.rcMonitor)) {
        heldBounds = now;
        return;
    }
    if (EqualRect(&heldBounds, &monitor.rcMonitor)) return;  // it had the display's size as a window
    windowedBounds = heldBounds;
    ReturnToWindowedBounds();
}
