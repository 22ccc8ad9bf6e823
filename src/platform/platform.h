// The platform calls that tests replace at link time: creating the Direct3D object, showing a
// message box, the two clocks and the cursor clip. Everything else calls Win32 and Direct3D
// directly.
#pragma once

#include <windows.h>
#include <d3d9.h>

namespace platform {

// Loads d3d9.dll at run time, so that a machine without the runtime gets our own message
// instead of a loader error; null when the library or Direct3DCreate9 is missing.
IDirect3D9* CreateDirect3D(UINT sdkVersion);

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

BOOL QueryCounterFrequency(LARGE_INTEGER* frequency);
BOOL QueryCounter(LARGE_INTEGER* counter);
DWORD MillisecondTime();

// The cursor clip belongs to the whole desktop (and the desktop drops it whenever another
// process takes the foreground), so tests record the request instead. Null frees the cursor.
BOOL ClipCursorTo(const RECT* bounds);

}  // namespace platform
