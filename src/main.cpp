// Entry point: the one ViewerApplication of the process, from start-up to the loop's exit code.
#include <windows.h>
#include <commctrl.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "viewer/viewer_application.h"
#include "viewer/viewer_command_line.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    const std::vector<std::string> arguments(__argv + (__argc > 0 ? 1 : 0), __argv + __argc);
    const ViewerCommandLine commandLine = ParseViewerCommandLine(arguments);
    if (!commandLine.error.empty()) {
        const std::string text = commandLine.error + "\n\n" + ViewerUsage();
        platform::ShowMessageBox(nullptr, text.c_str(), "DX9 Quillant 5.2", MB_ICONERROR | MB_OK);
        return 2;
    }
    // Before the framework asks for its Direct3D object.
    platform::UseDirect3DLibrary(commandLine.direct3dLibrary);

    ViewerApplication viewer;
    InitCommonControls();
    // A failed start-up has already shown its fatal message.
    if (FAILED(viewer.Initialize(instance))) return 0;
    return viewer.RunLoop();
}
