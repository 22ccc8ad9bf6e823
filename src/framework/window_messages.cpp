// The framework's handler of the main window's messages: pausing around blocking actions,
// resizing, fullscreen cursor and hit-testing, power events, the three framework commands and
// the shutdown. A rule either answers the message itself or lets DefWindowProcA see it.
#include "framework/application_framework.h"
#include "framework/error_reporting.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"

namespace {

// What a rule decided: pass the message on to DefWindowProcA, or answer it with a result.
struct Outcome {
    bool answered;
    LRESULT result;
};
constexpr Outcome kPassOn = {false, 0};
constexpr Outcome Answer(LRESULT result) { return {true, result}; }

// System commands a fullscreen window swallows: no keyboard menu, moving, sizing, maximizing
// or monitor power-down over a fullscreen device.
constexpr WPARAM kFullscreenSwallowedCommands[] = {SC_SIZE, SC_MOVE, SC_MAXIMIZE, SC_KEYMENU, SC_MONITORPOWER};

constexpr int kMinimumTrackSize = 100;

}  // namespace

struct FrameworkMessageRules {
    using Rule = Outcome (*)(ApplicationFramework& app, HWND window, WPARAM wParam, LPARAM lParam);
    struct Entry {
        UINT message;
        Rule rule;
    };

    static Outcome Size(ApplicationFramework& app, HWND, WPARAM wParam, LPARAM) {
        if (app.windowed && app.mainWindow) {
            app.windowedStyle = static_cast<DWORD>(GetWindowLongA(app.mainWindow, GWL_STYLE));
        }
        switch (wParam) {
        case SIZE_MINIMIZED:
            if (app.clipCursorInFullscreen && !app.windowed) static_cast<void>(platform::ClipCursorTo(nullptr));
            // An icon resized or moved hears SIZE_MINIMIZED again: one pause for one restore.
            if (!app.minimized) app.Pause(true);
            app.minimized = true;
            app.maximized = false;
            break;
        case SIZE_MAXIMIZED:
            if (app.minimized) app.Pause(false);
            app.minimized = false;
            app.maximized = true;
            static_cast<void>(app.HandleSizeChange());
            break;
        case SIZE_RESTORED:
            if (app.maximized) {
                app.maximized = false;
                static_cast<void>(app.HandleSizeChange());
            } else if (app.minimized) {
                app.Pause(false);
                app.minimized = false;
                static_cast<void>(app.HandleSizeChange());
            } else if (!app.inSizeMoveLoop) {
                // Resized by another program, a window manager or keyboard snapping: no size-move
                // loop ends it, so the back buffer follows now (nothing happens for the same size).
                static_cast<void>(app.HandleSizeChange());
            }
            // Otherwise a drag resize: handled once, at WM_EXITSIZEMOVE.
            break;
        default:
            break;
        }
        return kPassOn;
    }

    // A move alone changes no size, so WM_SIZE never tells of it: the rectangle to return to
    // follows every move of the window as a window. An icon's place (a minimised window sits far
    // off the screen) and a fullscreen window's are not; neither is a switch in progress.
    static Outcome Move(ApplicationFramework& app, HWND window, WPARAM, LPARAM) {
        if (app.windowed && !app.suppressSizeHandling && app.mainWindow == window && !IsIconic(window)) {
            RECT now = {};
            static_cast<void>(GetWindowRect(window, &now));
            // Restored from an icon onto no display at all (a window manager's restore under Wine
            // has put it below the screen): back where it was before it was minimised, which
            // windowedBounds still holds. Its WM_MOVE comes before the WM_SIZE that ends the icon.
            if (app.minimized && MonitorFromRect(&now, MONITOR_DEFAULTTONULL) == nullptr) {
                app.ReturnToWindowedBounds();
                return kPassOn;
            }
            app.windowedBounds = now;
        }
        return kPassOn;
    }

    static Outcome Paint(ApplicationFramework& app, HWND, WPARAM, LPARAM) {
        if (!app.device || !app.windowed || !app.deviceResourcesCreated || !app.deviceResourcesRestored) {
            return kPassOn;
        }
        // A frozen frame is shown again by the application as it was drawn: a new frame here
        // would move the frame number and the rate on a picture that is meant to stand still.
        if (!app.updateContinuously) return kPassOn;
        // A paused window still repaints its last scene.
        if (!app.active) {
            static_cast<void>(app.RenderFrame());
            static_cast<void>(app.device->Present(nullptr, nullptr, nullptr, nullptr));
        }
        return kPassOn;
    }

    static Outcome Close(ApplicationFramework& app, HWND, WPARAM, LPARAM) {
        app.Shutdown();
        return Answer(0);
    }

    static Outcome SetCursor(ApplicationFramework& app, HWND, WPARAM, LPARAM) {
        if (!app.active || app.windowed) return kPassOn;
        ::SetCursor(nullptr);
        if (app.showCursorInFullscreen && app.device) app.device->ShowCursor(TRUE);
        return Answer(TRUE);
    }

    static Outcome GetMinMaxInfo(ApplicationFramework&, HWND, WPARAM, LPARAM lParam) {
        MINMAXINFO* info = reinterpret_cast<MINMAXINFO*>(lParam);
        if (info) {
            info->ptMinTrackSize.x = kMinimumTrackSize;
            info->ptMinTrackSize.y = kMinimumTrackSize;
        }
        return kPassOn;
    }

    static Outcome HitTest(ApplicationFramework& app, HWND, WPARAM, LPARAM) {
        // A fullscreen window has no caption or border to hit.
        return app.windowed ? kPassOn : Answer(HTCLIENT);
    }

    static Outcome Command(ApplicationFramework& app, HWND window, WPARAM wParam, LPARAM) {
        switch (LOWORD(wParam)) {
        case IDM_CHANGEDEVICE:
            app.Pause(true);
            static_cast<void>(app.ChangeDeviceFromDialog());
            app.Pause(false);
            return Answer(0);
        case IDM_TOGGLEFULLSCREEN:
            // Only the keyboard's Alt+Enter leaves an Alt release behind; the menu item does not.
            app.swallowNextAltRelease = GetKeyState(VK_MENU) < 0;
            app.Pause(true);
            // ToggleFullscreen reports its own failure as fatal, which silences this one.
            if (FAILED(app.ToggleFullscreen())) static_cast<void>(ReportError(AppErrorResetFailed, NoticeFatal));
            app.Pause(false);
            return Answer(0);
        case IDM_EXIT:
            SendMessageA(window, WM_CLOSE, 0, 0);
            return Answer(0);
        default:
            return kPassOn;
        }
    }

    // Wine delivers the release as WM_KEYUP with VK_LMENU, Windows as WM_SYSKEYUP with VK_MENU.
    static Outcome KeyUp(ApplicationFramework& app, HWND, WPARAM wParam, LPARAM) {
        const bool alt = wParam == VK_MENU || wParam == VK_LMENU || wParam == VK_RMENU;
        if (!alt || !app.swallowNextAltRelease) return kPassOn;
        app.swallowNextAltRelease = false;
        return Answer(0);
    }

    static Outcome SysCommand(ApplicationFramework& app, HWND, WPARAM wParam, LPARAM) {
        if (app.windowed) return kPassOn;
        for (WPARAM swallowed : kFullscreenSwallowedCommands) {
            if (wParam == swallowed) return Answer(1);
        }
        return kPassOn;
    }

    static Outcome MouseMove(ApplicationFramework& app, HWND, WPARAM, LPARAM) {
        if (app.active && app.device) {
            POINT position = {};
            static_cast<void>(GetCursorPos(&position));
            if (!app.windowed) static_cast<void>(ScreenToClient(app.mainWindow, &position));
            app.device->SetCursorPosition(position.x, position.y, 0);
        }
        return kPassOn;
    }

    static Outcome EnterModalLoop(ApplicationFramework& app, HWND, WPARAM, LPARAM) {
        app.Pause(true);
        return kPassOn;
    }

    static Outcome ExitMenuLoop(ApplicationFramework& app, HWND, WPARAM, LPARAM) {
        app.Pause(false);
        return kPassOn;
    }

    // The loop's ends come in pairs from the system's own loop, not always from a window
    // manager's: an end without a start must not undo another pause (a count below zero would
    // stop drawing for good), nor a second start add one.
    static Outcome EnterSizeMove(ApplicationFramework& app, HWND, WPARAM, LPARAM) {
        if (!app.inSizeMoveLoop) app.Pause(true);
        app.inSizeMoveLoop = true;
        return kPassOn;
    }

    static Outcome ExitSizeMove(ApplicationFramework& app, HWND, WPARAM, LPARAM) {
        if (app.inSizeMoveLoop) app.Pause(false);
        app.inSizeMoveLoop = false;
        static_cast<void>(app.HandleSizeChange());
        return kPassOn;
    }

    static Outcome Timer(ApplicationFramework& app, HWND, WPARAM wParam, LPARAM) {
        if (wParam != ApplicationFramework::kHoldBoundsTimer) return kPassOn;
        app.CheckHeldBounds();
        return Answer(0);
    }

    static Outcome PowerBroadcast(ApplicationFramework&, HWND, WPARAM wParam, LPARAM) {
        if (wParam == PBT_APMQUERYSUSPEND || wParam == PBT_APMRESUMESUSPEND) return Answer(TRUE);
        return kPassOn;
    }

    static constexpr Entry kRules[] = {
        {WM_SIZE, Size},
        {WM_MOVE, Move},
        {WM_PAINT, Paint},
        {WM_CLOSE, Close},
        {WM_SETCURSOR, SetCursor},
        {WM_GETMINMAXINFO, GetMinMaxInfo},
        {WM_NCHITTEST, HitTest},
        {WM_COMMAND, Command},
        {WM_SYSCOMMAND, SysCommand},
        {WM_SYSKEYUP, KeyUp},
        {WM_KEYUP, KeyUp},
        {WM_MOUSEMOVE, MouseMove},
        {WM_ENTERMENULOOP, EnterModalLoop},
        {WM_ENTERSIZEMOVE, EnterSizeMove},
        {WM_EXITMENULOOP, ExitMenuLoop},
        {WM_EXITSIZEMOVE, ExitSizeMove},
        {WM_POWERBROADCAST, PowerBroadcast},
        {WM_TIMER, Timer},
    };

    static Outcome Dispatch(ApplicationFramework& app, HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        for (const Entry& entry : kRules) {
            if (entry.message == message) return entry.rule(app, window, wParam, lParam);
        }
        return kPassOn;
    }
};

LRESULT ApplicationFramework::HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    const Outcome outcome = FrameworkMessageRules::Dispatch(*this, window, message, wParam, lParam);
    if (outcome.answered) return outcome.result;
    return DefWindowProcA(window, message, wParam, lParam);
}
