// The window's rectangle after fullscreen, held while the mode change settles: a late answer at
// the display's size is undone, another program's rectangle is kept, and the hold ends.
#include <gtest/gtest.h>

#include "support/framework_device_fixture.h"

namespace {

using test_support::FrameworkDeviceTest;

class HeldBoundsTest : public FrameworkDeviceTest {
protected:
    RECT WindowRect() const {
        RECT rect = {};
        GetWindowRect(app->mainWindow, &rect);
        return rect;
    }
    void PlaceWindow(const RECT& rect) {
        SetWindowPos(app->mainWindow, nullptr, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    bool At(const RECT& rect) const {
        const RECT now = WindowRect();
        return EqualRect(&now, &rect) != FALSE;
    }
    // The window manager and Wine's X11 driver answer a placement a moment later: what they answer
    // is the rectangle the window has.
    void Settle() {
        const DWORD until = GetTickCount() + 500;
        MSG message = {};
        while (static_cast<LONG>(GetTickCount() - until) < 0) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            Sleep(20);
        }
    }
    // Pumps messages until the window is at rect, for as long as a window manager may take to
    // answer (its late answers are the program's to undo as they come).
    bool SettlesAt(const RECT& rect) {
        const DWORD until = GetTickCount() + 3000;
        MSG message = {};
        while (!At(rect) && static_cast<LONG>(GetTickCount() - until) < 0) {
            while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
            Sleep(20);
        }
        return At(rect);
    }
    void TimerTick() { SendMessageA(app->mainWindow, WM_TIMER, ApplicationFramework::kHoldBoundsTimer, 0); }
};

TEST_F(HeldBoundsTest, AfterFullscreenTheDisplaysSizeIsUndoneAnotherSizeKeptUntilTheHoldEnds) {
    ASSERT_EQ(Start(true), S_OK);
    PlaceWindow(RECT{100, 80, 618, 508});
    Settle();
    const RECT before = WindowRect();
    MONITORINFO monitor = {};
    monitor.cbSize = sizeof(monitor);
    ASSERT_TRUE(GetMonitorInfoA(MonitorFromWindow(app->mainWindow, MONITOR_DEFAULTTOPRIMARY), &monitor));
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    ASSERT_TRUE(app->holdingBounds);

    // The late answer to the fullscreen request: the display's rectangle, in the windowed style.
    // No back buffer of the display's size is made for it, and it is undone from the queue, ahead
    // of the next frame, not only by the timer (which a slow frame holds up).
    const UINT widthBefore = app->presentParams.BackBufferWidth;
    PlaceWindow(monitor.rcMonitor);
    EXPECT_EQ(app->presentParams.BackBufferWidth, widthBefore);
    MSG message = {};
    while (PeekMessageA(&message, app->mainWindow, WM_TIMER, WM_TIMER, PM_REMOVE)) DispatchMessageA(&message);
    EXPECT_TRUE(SettlesAt(before));
    EXPECT_TRUE(EqualRect(&app->windowedBounds, &before));
    EXPECT_EQ(app->presentParams.BackBufferWidth, static_cast<UINT>(app->clientRect.right));

    // Another program's rectangle is the window's own from then on.
    const RECT outside = {40, 30, 340, 230};
    PlaceWindow(outside);
    const RECT placed = WindowRect();
    TimerTick();
    EXPECT_TRUE(At(placed));
    PlaceWindow(monitor.rcMonitor);
    TimerTick();
    EXPECT_TRUE(At(placed)) << "the late answer undone to the newer rectangle";

    // Once the hold is over the display's size is a size like any other.
    fake_platform::milliseconds += ApplicationFramework::kHoldBoundsMilliseconds;
    PlaceWindow(monitor.rcMonitor);
    TimerTick();
    EXPECT_TRUE(At(monitor.rcMonitor));
    EXPECT_FALSE(app->holdingBounds);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
}

TEST_F(HeldBoundsTest, AWindowRestoredFromItsIconOntoNoDisplayComesBackWhereItWas) {
    ASSERT_EQ(Start(true), S_OK);
    PlaceWindow(RECT{100, 80, 618, 508});
    const RECT before = WindowRect();
    // A restore's WM_MOVE comes before the WM_SIZE that ends the icon; a window manager's restore
    // under Wine has put the window below the display there.
    app->minimized = true;
    PlaceWindow(RECT{700, 1300, 1218, 1728});
    EXPECT_TRUE(At(before));
    app->minimized = false;
    // Moved off the display by another program once restored, it stays where it was put.
    const RECT away = {2000, 100, 2518, 528};
    PlaceWindow(away);
    EXPECT_TRUE(At(away));
}

}  // namespace
