// Entry point: the one ViewerApplication of the process, from start-up to the loop's exit code.
#include <windows.h>
#include <commctrl.h>

#include "viewer/viewer_application.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    ViewerApplication viewer;
    InitCommonControls();
    // A failed start-up has already shown its fatal message.
    if (FAILED(viewer.Initialize(instance))) return 0;
    return viewer.RunLoop();
}
