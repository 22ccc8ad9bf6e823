// Telling a missing display from other reasons Direct3D 9 did not start.
#include "survey/display_check.h"

#include <windows.h>

std::string MissingDisplayText() {
    HDESK desktop = OpenInputDesktop(0, FALSE, DESKTOP_READOBJECTS);
    if (!desktop) {
        return "no desktop: this session has no desktop to draw on (a service, or a locked or disconnected "
               "session)";
    }
    CloseDesktop(desktop);
    // Wine answers every desktop question without a display, but cannot make a window.
    HWND probe = CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                 GetModuleHandleA(nullptr), nullptr);
    if (!probe) {
        return "no display: no window can be made (under Wine: DISPLAY is not set or its X server cannot be "
               "reached)";
    }
    DestroyWindow(probe);
    return std::string();
}
