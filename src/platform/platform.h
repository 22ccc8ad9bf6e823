// The platform calls that tests replace at link time: creating the Direct3D object, showing a
// message box, the two clocks and the cursor clip. Everything else calls Win32 and Direct3D
// directly.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>

namespace platform {

// Loads d3d9.dll at run time, so that a machine without the runtime gets our own message
// instead of a loader error; null when the library or Direct3DCreate9 is missing.
IDirect3D9* CreateDirect3D(UINT sdkVersion);

// The file CreateDirect3D loads from now on in place of the system's d3d9.dll (--d3d9 FILE),
// made a full path; empty for the system's.
void UseDirect3DLibrary(const std::string& path);

// What the last CreateDirect3D loaded: the module Direct3DCreate9 came from, or why there is none.
struct Direct3DLibrary {
    std::string requested;      // the full path asked for; empty for the system's d3d9.dll
    HMODULE module = nullptr;   // null where nothing was loaded
    std::string error;          // why no object came, a line; empty when one came
};
Direct3DLibrary LoadedDirect3DLibrary();

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type);

BOOL QueryCounterFrequency(LARGE_INTEGER* frequency);
BOOL QueryCounter(LARGE_INTEGER* counter);
DWORD MillisecondTime();

// The cursor clip belongs to the whole desktop (and the desktop drops it whenever another
// process takes the foreground), so tests record the request instead. Null frees the cursor.
BOOL ClipCursorTo(const RECT* bounds);

}  // namespace platform
