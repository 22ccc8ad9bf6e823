// Entry point: one ViewerApplication for the life of the process.
#include <windows.h>
#include <commctrl.h>

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    InitCommonControls();
    MessageBoxA(nullptr, "placeholder", "DX9 Quillant 5.2", MB_OK);
    return 0;
}
