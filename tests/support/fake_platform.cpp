#include "support/fake_platform.h"

#include "platform/platform.h"

namespace fake_platform {

IDirect3D9* nextDirect3D = nullptr;
platform::Direct3DLibrary direct3dLibrary;
std::vector<MessageBoxCall> messageBoxes;
void (*onMessageBox)(const MessageBoxCall& call) = nullptr;
LONGLONG counterFrequency = 1000000;
LONGLONG counterValue = 1;
DWORD milliseconds = 1;
bool cursorClipped = false;
RECT cursorClip = {};
int cursorClipRequests = 0;

void Reset() {
    nextDirect3D = nullptr;
    direct3dLibrary = platform::Direct3DLibrary();
    messageBoxes.clear();
    onMessageBox = nullptr;
    counterFrequency = 1000000;
    counterValue = 1;
    milliseconds = 1;
    cursorClipped = false;
    cursorClip = {};
    cursorClipRequests = 0;
}

}  // namespace fake_platform

namespace platform {

IDirect3D9* CreateDirect3D(UINT) {
    IDirect3D9* object = fake_platform::nextDirect3D;
    fake_platform::nextDirect3D = nullptr;
    return object;
}

void UseDirect3DLibrary(const std::string& path) { fake_platform::direct3dLibrary.requested = path; }

Direct3DLibrary LoadedDirect3DLibrary() { return fake_platform::direct3dLibrary; }

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    fake_platform::messageBoxes.push_back({owner, text ? text : "", caption ? caption : "", type});
    if (fake_platform::onMessageBox) fake_platform::onMessageBox(fake_platform::messageBoxes.back());
    return IDOK;
}

BOOL QueryCounterFrequency(LARGE_INTEGER* frequency) {
    frequency->QuadPart = fake_platform::counterFrequency;
    return fake_platform::counterFrequency != 0;
}

BOOL QueryCounter(LARGE_INTEGER* counter) {
    counter->QuadPart = fake_platform::counterValue;
    return TRUE;
}

DWORD MillisecondTime() { return fake_platform::milliseconds; }

BOOL ClipCursorTo(const RECT* bounds) {
    ++fake_platform::cursorClipRequests;
    fake_platform::cursorClipped = bounds != nullptr;
    fake_platform::cursorClip = bounds ? *bounds : RECT{};
    return TRUE;
}

}  // namespace platform
