// The framework's window-message handler: pausing around blocking actions, minimizing and
// restoring, the back buffer following the client area, the paused repaint, fullscreen cursor,
// hit-testing and system commands, power events and the framework commands.
#include <gtest/gtest.h>

#include <utility>

#include "support/framework_device_fixture.h"

namespace {

using test_support::FrameworkDeviceTest;

class WindowMessagesTest : public FrameworkDeviceTest {
protected:
    void SetUp() override {
        FrameworkDeviceTest::SetUp();
        ASSERT_EQ(Start(), S_OK);
        window = app->mainWindow;
        app->log.clear();
    }
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        return SendMessageA(window, message, wParam, lParam);
    }
    HWND window = nullptr;
};

TEST_F(WindowMessagesTest, WindowCannotBeTrackedSmallerThan100By100) {
    MINMAXINFO info = {};
    Send(WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&info));
    EXPECT_EQ(info.ptMinTrackSize.x, 100);
    EXPECT_EQ(info.ptMinTrackSize.y, 100);
}

TEST_F(WindowMessagesTest, ExitCommandClosesTheApplication) {
    EXPECT_EQ(Send(WM_COMMAND, 40006), 0);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(app->mainWindow, nullptr);
    EXPECT_EQ(app->device, nullptr);
    EXPECT_EQ(app->Count("CleanupScene"), 1);
    int exitCode = -1;
    EXPECT_TRUE(test_support::TakeQuitMessage(&exitCode));
    EXPECT_EQ(exitCode, 0);
}

TEST_F(WindowMessagesTest, SecondCloseDoesNotRunTheShutdownAgain) {
    Send(WM_CLOSE);
    Send(WM_CLOSE);
    EXPECT_EQ(app->Count("CleanupScene"), 1);
}

TEST_F(WindowMessagesTest, FullscreenSwallowsMenuMoveSizeMaximizeAndMonitorPowerCommands) {
    app->windowed = false;
    for (WPARAM command : {SC_SIZE, SC_MOVE, SC_MAXIMIZE, SC_KEYMENU, SC_MONITORPOWER}) {
        EXPECT_EQ(Send(WM_SYSCOMMAND, command), 1) << std::hex << command;
    }
    EXPECT_TRUE(IsWindow(window));
    // Any other system command still reaches the default handling: SC_CLOSE closes.
    Send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_FALSE(IsWindow(window));
}

// The accelerator takes the Enter of Alt+Enter, so the system sees Alt pressed and released
// alone and would open the menu bar, pausing the picture until Esc.
class AltEnterReleaseTest : public WindowMessagesTest {
protected:
    void ToggleWithAlt(bool altDown) {
        BYTE keys[256] = {};
        GetKeyboardState(keys);
        keys[VK_MENU] = altDown ? 0x80 : 0;
        SetKeyboardState(keys);
        Send(WM_COMMAND, 40003);
        keys[VK_MENU] = 0;
        SetKeyboardState(keys);
    }
};

TEST_F(AltEnterReleaseTest, ReleaseIsSwallowedOnceInEitherForm) {
    // Windows reports the release as WM_SYSKEYUP VK_MENU, Wine as WM_KEYUP VK_LMENU.
    const std::pair<UINT, WPARAM> releases[] = {{WM_SYSKEYUP, VK_MENU}, {WM_KEYUP, VK_LMENU}, {WM_KEYUP, VK_RMENU}};
    for (const auto& [message, key] : releases) {
        ToggleWithAlt(true);
        EXPECT_TRUE(app->swallowNextAltRelease);
        EXPECT_EQ(Send(message, key, 0xC0380001), 0) << message << " " << key;
        EXPECT_FALSE(app->swallowNextAltRelease);
    }
    EXPECT_TRUE(app->active);
}

TEST_F(AltEnterReleaseTest, OtherKeysAndTheMenuItemLeaveTheNextAltReleaseAlone) {
    ToggleWithAlt(true);
    Send(WM_KEYUP, VK_RETURN, 0xC01C0001);
    EXPECT_TRUE(app->swallowNextAltRelease);
    Send(WM_KEYUP, VK_LMENU, 0xC0380001);
    // Chosen from the menu with the mouse, no Alt release follows.
    ToggleWithAlt(false);
    EXPECT_FALSE(app->swallowNextAltRelease);
}

TEST_F(WindowMessagesTest, WindowedModePassesSystemCommandsOn) {
    EXPECT_EQ(Send(WM_SYSCOMMAND, SC_MONITORPOWER, 2), 0);
    Send(WM_SYSCOMMAND, SC_CLOSE);
    EXPECT_FALSE(IsWindow(window));
}

TEST_F(WindowMessagesTest, FullscreenWindowIsAllClientArea) {
    app->windowed = false;
    EXPECT_EQ(Send(WM_NCHITTEST, 0, MAKELPARAM(-5000, -5000)), HTCLIENT);
    app->windowed = true;
    EXPECT_NE(Send(WM_NCHITTEST, 0, MAKELPARAM(-5000, -5000)), HTCLIENT);
}

TEST_F(WindowMessagesTest, SuspendQueriesAndResumesAreAcknowledged) {
    EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMQUERYSUSPEND), TRUE);
    EXPECT_EQ(Send(WM_POWERBROADCAST, PBT_APMRESUMESUSPEND), TRUE);
}

TEST_F(WindowMessagesTest, MenuAndSizeMoveLoopsPauseUntilTheyEnd) {
    Send(WM_ENTERMENULOOP);
    EXPECT_FALSE(app->active);
    Send(WM_EXITMENULOOP);
    EXPECT_TRUE(app->active);

    Send(WM_ENTERSIZEMOVE);
    EXPECT_FALSE(app->active);
    SetWindowPos(window, nullptr, 0, 0, 300, 200, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Device()->resetCount, 0) << "a drag resize waits for the end of the loop";
    Send(WM_EXITSIZEMOVE);
    EXPECT_TRUE(app->active);
    EXPECT_EQ(Device()->resetCount, 1);
    EXPECT_EQ(Device()->presentParameters.BackBufferWidth, 300u);
}

TEST_F(WindowMessagesTest, UnpairedLoopEndsAndRepeatedMinimizeLeaveThePauseBalanced) {
    // A window manager's move may end a loop it never started, or start one twice.
    Send(WM_EXITSIZEMOVE);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    Send(WM_ENTERSIZEMOVE);
    Send(WM_ENTERSIZEMOVE);
    Send(WM_EXITSIZEMOVE);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    // An icon moved or resized hears SIZE_MINIMIZED again; one restore resumes drawing.
    Send(WM_SIZE, SIZE_MINIMIZED);
    Send(WM_SIZE, SIZE_MINIMIZED);
    Send(WM_SIZE, SIZE_RESTORED);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    EXPECT_TRUE(app->active);
    Wait(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(app->Count("RenderFrame"), 1);
}

TEST_F(WindowMessagesTest, MinimizePausesAndRestoreResumesAndResetsForANewSize) {
    Send(WM_SIZE, SIZE_MINIMIZED);
    EXPECT_TRUE(app->minimized);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 1);
    SetWindowPos(window, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
    Send(WM_SIZE, SIZE_RESTORED);
    EXPECT_FALSE(app->minimized);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    EXPECT_EQ(Device()->resetCount, 1);
    EXPECT_EQ(Device()->presentParameters.BackBufferWidth, 320u);
}

TEST_F(WindowMessagesTest, RestoreFromMinimizedWithTheSameSizeOnlyResumes) {
    Send(WM_SIZE, SIZE_MINIMIZED);
    Send(WM_SIZE, SIZE_RESTORED);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    EXPECT_EQ(Device()->resetCount, 0);
}

TEST_F(WindowMessagesTest, MaximizeFromMinimizedResumesAndRestoreFromMaximizedResizes) {
    Send(WM_SIZE, SIZE_MINIMIZED);
    SetWindowPos(window, nullptr, 0, 0, 640, 480, SWP_NOMOVE | SWP_NOZORDER);
    Send(WM_SIZE, SIZE_MAXIMIZED);
    EXPECT_TRUE(app->maximized);
    EXPECT_FALSE(app->minimized);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    EXPECT_EQ(Device()->resetCount, 1);
    SetWindowPos(window, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    Send(WM_SIZE, SIZE_RESTORED);
    EXPECT_FALSE(app->maximized);
    EXPECT_EQ(Device()->resetCount, 2);
}

TEST_F(WindowMessagesTest, SizeMessagesWithoutADeviceOnlyTrackTheWindow) {
    app->ReleaseDevice();
    Send(WM_SIZE, SIZE_MINIMIZED);
    SetWindowPos(window, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
    Send(WM_SIZE, SIZE_RESTORED);
    EXPECT_EQ(app->clientRect.right, 320);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
}

TEST_F(WindowMessagesTest, PausedWindowRepaintsItsLastSceneAndARunningOneDoesNot) {
    const int presentsBefore = Device()->presentCount;
    Send(WM_PAINT);
    EXPECT_EQ(app->Count("RenderFrame"), 0);
    app->Pause(true);
    Send(WM_PAINT);
    EXPECT_EQ(app->Count("RenderFrame"), 1);
    EXPECT_EQ(Device()->presentCount, presentsBefore + 1);
    app->windowed = false;
    Send(WM_PAINT);
    EXPECT_EQ(app->Count("RenderFrame"), 1) << "not in fullscreen";
}

TEST_F(WindowMessagesTest, FrozenFrameIsNeitherDrawnNorRequestedAgainOnPaintPausedOrNot) {
    // The application shows its kept frame again; a new frame would move the frame number.
    app->updateContinuously = false;
    app->stepPending = false;
    const int presentsBefore = Device()->presentCount;
    Send(WM_PAINT);
    app->Pause(true);
    Send(WM_PAINT);
    app->Pause(false);
    EXPECT_FALSE(app->stepPending);
    EXPECT_EQ(app->Count("RenderFrame"), 0);
    EXPECT_EQ(Device()->presentCount, presentsBefore);
    app->updateContinuously = true;
}

TEST_F(WindowMessagesTest, FullscreenHidesTheSystemCursorAndShowsTheDeviceCursorIfWanted) {
    app->windowed = false;
    app->showCursorInFullscreen = true;
    EXPECT_EQ(Send(WM_SETCURSOR, reinterpret_cast<WPARAM>(window), HTCLIENT), TRUE);
    EXPECT_TRUE(Device()->cursorVisible);
}

TEST_F(WindowMessagesTest, MouseMovesTheDeviceCursorWhileActive) {
    Device()->ClearCalls();
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(Device()->CountCalls("SetCursorPosition"), 1);
    app->Pause(true);
    Send(WM_MOUSEMOVE);
    EXPECT_EQ(Device()->CountCalls("SetCursorPosition"), 1);
}

TEST_F(WindowMessagesTest, OtherCommandsAndMessagesGetDefaultProcessing) {
    EXPECT_EQ(Send(WM_COMMAND, 40011), 0);
    EXPECT_TRUE(IsWindow(window));
    char title[32] = {};
    Send(WM_SETTEXT, 0, reinterpret_cast<LPARAM>("renamed"));
    GetWindowTextA(window, title, sizeof(title));
    EXPECT_STREQ(title, "renamed");
}

TEST_F(WindowMessagesTest, WindowOutlivingTheApplicationGetsDefaultProcessing) {
    SendMessageA(window, WM_CLOSE, 0, 0);
    test_support::TakeQuitMessage();
    HWND orphan = test_support::CreateFrameworkWindow();
    app.reset();
    EXPECT_EQ(application, nullptr);
    char title[32] = {};
    SendMessageA(orphan, WM_SETTEXT, 0, reinterpret_cast<LPARAM>("alone"));
    GetWindowTextA(orphan, title, sizeof(title));
    EXPECT_STREQ(title, "alone");
    DestroyWindow(orphan);
}

// --- Size messages and the back buffer -------------------------------------------------------

TEST_F(WindowMessagesTest, ResizeFromOutsideASizeMoveLoopResetsTheBackBufferAtOnce) {
    // Another program, a tiling window manager or keyboard snapping: no size-move loop.
    SetWindowPos(window, nullptr, 0, 0, 914, 142, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Device()->resetCount, 1);
    EXPECT_EQ(app->backBufferDesc.Width, 914u);
    EXPECT_EQ(app->backBufferDesc.Height, 142u);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    SetWindowPos(window, nullptr, 50, 60, 914, 142, SWP_NOZORDER);
    EXPECT_EQ(Device()->resetCount, 1) << "a move keeps the size";
}

TEST_F(WindowMessagesTest, ClientWithNoPixelsKeepsTheDeviceAndItsBackBufferAndDrawsNothing) {
    const SIZE emptyClients[] = {{300, 0}, {0, 200}};
    for (const SIZE& empty : emptyClients) {
        SetWindowPos(window, nullptr, 0, 0, empty.cx, empty.cy, SWP_NOMOVE | SWP_NOZORDER);
        // The minimise and restore that used to end the program at a zero-height client.
        Send(WM_SIZE, SIZE_MINIMIZED);
        Send(WM_SIZE, SIZE_RESTORED);
        EXPECT_EQ(Device()->resetCount, 0) << empty.cx << "x" << empty.cy;
        EXPECT_TRUE(fake_platform::messageBoxes.empty());
        EXPECT_TRUE(IsWindow(window));
        EXPECT_EQ(app->clientRect.right, 400) << "the client the back buffer still fits";
        EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
        Wait(10);
        EXPECT_EQ(app->StepFrame(), S_OK);
        EXPECT_EQ(app->Count("RenderFrame"), 0);

        // Pixels again, at the back buffer's own size: nothing to reset, drawing goes on.
        SetWindowPos(window, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
        Wait(10);
        EXPECT_EQ(app->StepFrame(), S_OK);
        EXPECT_EQ(app->Count("RenderFrame"), 1);
        EXPECT_EQ(Device()->resetCount, 0);
        app->log.clear();
    }

    // Frozen, pixels coming back at the back buffer's own size still bring a frame of them, and
    // wake the loop, which sleeps while there are none (a size sent from another thread would not).
    app->updateContinuously = false;
    SetWindowPos(window, nullptr, 0, 0, 400, 0, SWP_NOMOVE | SWP_NOZORDER);
    app->stepPending = false;
    MSG wake = {};
    while (PeekMessageA(&wake, window, WM_NULL, WM_NULL, PM_REMOVE)) {
    }
    SetWindowPos(window, nullptr, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_TRUE(app->stepPending);
    EXPECT_TRUE(PeekMessageA(&wake, window, WM_NULL, WM_NULL, PM_REMOVE));
    EXPECT_EQ(Device()->resetCount, 0);
    app->updateContinuously = true;
    app->stepPending = false;

    // An Alt+Enter pair from a client with no pixels keeps a back buffer with pixels.
    SetWindowPos(window, nullptr, 0, 0, 320, 0, SWP_NOMOVE | SWP_NOZORDER);
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    EXPECT_EQ(Device()->presentParameters.BackBufferWidth, 400u);
    EXPECT_EQ(Device()->presentParameters.BackBufferHeight, 300u);
    EXPECT_TRUE(fake_platform::messageBoxes.empty());

    // The first size with pixels that differs from the back buffer resets to it, once.
    const int resets = Device()->resetCount;
    SetWindowPos(window, nullptr, 0, 0, 320, 240, SWP_NOMOVE | SWP_NOZORDER);
    EXPECT_EQ(Device()->resetCount, resets + 1);
    EXPECT_EQ(app->backBufferDesc.Height, 240u);
}

TEST_F(WindowMessagesTest, WindowedRectangleFollowsMovesAsAWindowOnly) {
    RECT moved = {};
    auto expectReturnTo = [&](const char* after) {
        ASSERT_EQ(app->ToggleFullscreen(), S_OK);
        // Fullscreen moves are not the window's own.
        SetWindowPos(window, nullptr, 0, 0, 1024, 768, SWP_NOZORDER);
        SetWindowPos(window, nullptr, 7, 9, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        ASSERT_EQ(app->ToggleFullscreen(), S_OK);
        RECT restored = {};
        GetWindowRect(window, &restored);
        EXPECT_TRUE(EqualRect(&restored, &moved)) << after << ": at " << restored.left << "," << restored.top;
        EXPECT_EQ(Device()->presentParameters.BackBufferWidth, 400u) << after;
    };

    // A move alone brings no size change, and the window returns to where it was moved.
    SetWindowPos(window, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    GetWindowRect(window, &moved);
    EXPECT_TRUE(EqualRect(&app->windowedBounds, &moved));
    expectReturnTo("a move");

    // Minimised the window sits at its icon's place; restored by a window manager under Wine it
    // is first put far off the screen with its size (the size message comes there), then moved
    // back where it was.
    ShowWindow(window, SW_MINIMIZE);
    EXPECT_TRUE(EqualRect(&app->windowedBounds, &moved)) << "an icon's place is not the window's";
    ShowWindow(window, SW_RESTORE);
    SetWindowPos(window, nullptr, 289, 1278, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    Send(WM_SIZE, SIZE_RESTORED);
    SetWindowPos(window, nullptr, 30, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    expectReturnTo("a restore by a window manager");
    EXPECT_EQ(Device()->resetCount, 4) << "the two round trips only";
}

TEST_F(WindowMessagesTest, SizeMessagesInFullscreenLeaveTheWindowedRectanglesAlone) {
    SetWindowPos(window, nullptr, 30, 40, 512, 384, SWP_NOZORDER);
    const RECT bounds = app->windowedBounds;
    const RECT client = app->clientRect;
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    const int resets = Device()->resetCount;

    // What a fullscreen window may go through: the desktop size, minimise and restore, maximise,
    // a size-move loop.
    SetWindowPos(window, nullptr, 0, 0, 1024, 768, SWP_NOZORDER);
    Send(WM_SIZE, SIZE_MINIMIZED);
    Send(WM_SIZE, SIZE_RESTORED);
    Send(WM_SIZE, SIZE_MAXIMIZED);
    Send(WM_SIZE, SIZE_RESTORED);
    Send(WM_ENTERSIZEMOVE);
    Send(WM_EXITSIZEMOVE);
    EXPECT_TRUE(EqualRect(&app->windowedBounds, &bounds));
    EXPECT_TRUE(EqualRect(&app->clientRect, &client));
    EXPECT_EQ(Device()->resetCount, resets) << "the fullscreen back buffer is the display mode's";
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);

    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    EXPECT_EQ(Device()->presentParameters.BackBufferWidth, 512u);
    EXPECT_EQ(Device()->presentParameters.BackBufferHeight, 384u);
    RECT restored = {};
    GetWindowRect(window, &restored);
    EXPECT_TRUE(EqualRect(&restored, &bounds));
}

}  // namespace
