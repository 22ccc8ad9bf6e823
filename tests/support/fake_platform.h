// Controls for the fake platform seams linked into unit tests: the Direct3D object handed out,
// the message boxes shown (recorded, never displayed), two hand-driven clocks and the cursor
// clip (recorded, never applied to the shared desktop).
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

#include "platform/platform.h"

namespace fake_platform {

struct MessageBoxCall {
    HWND owner;
    std::string text;
    std::string caption;
    UINT type;
};

// What platform::CreateDirect3D returns (the reference passes to the caller); null by default.
extern IDirect3D9* nextDirect3D;
// What platform::LoadedDirect3DLibrary answers: its requested path is what UseDirect3DLibrary was
// given last; no module by default.
extern platform::Direct3DLibrary direct3dLibrary;
extern std::vector<MessageBoxCall> messageBoxes;
// Called when a box is shown (after it is recorded), e.g. to check state at that moment.
extern void (*onMessageBox)(const MessageBoxCall& call);

// A frequency of 0 means "no performance counter".
extern LONGLONG counterFrequency;
extern LONGLONG counterValue;
extern DWORD milliseconds;

// The last clip asked for; cursorClipped is false after a request to free the cursor.
extern bool cursorClipped;
extern RECT cursorClip;
extern int cursorClipRequests;

void Reset();

}  // namespace fake_platform
