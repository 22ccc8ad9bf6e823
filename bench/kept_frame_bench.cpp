// What a kept picture costs: the resolve and read-back of one 512 x 384 frame, and the viewer's
// processor time over five seconds running and five frozen (frozen should be next to nothing).
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <cstdio>
#include <vector>

#include "framework/application_framework.h"
#include "resources/resource_ids.h"
#include "image/kept_frame.h"
#include "viewer/viewer_application.h"

namespace {

double Now() {
    LARGE_INTEGER counter, frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double ProcessorSeconds(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0.0;
    const auto seconds = [](const FILETIME& t) {
        return static_cast<double>(static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) * 1e-7;
    };
    return seconds(kernel) + seconds(user);
}

// The share of one core the process used over the next `seconds`.
double CoreShare(HANDLE process, double seconds) {
    const double cpuStart = ProcessorSeconds(process);
    const double start = Now();
    Sleep(static_cast<DWORD>(seconds * 1000));
    return (ProcessorSeconds(process) - cpuStart) / (Now() - start);
}

struct LoopShares {
    double running = 0.0;
    double frozen = 0.0;
};

// Watches the viewer's loop from a second thread: five seconds running, then Space, then five
// seconds frozen, then closes the window. The process's time covers the loop's thread and the
// runtime's own drawing thread.
DWORD WINAPI WatchLoop(void* parameter) {
    auto* app = static_cast<ViewerApplication*>(static_cast<void**>(parameter)[0]);
    auto* shares = static_cast<LoopShares*>(static_cast<void**>(parameter)[1]);
    Sleep(1500);  // past the first frames
    shares->running = CoreShare(GetCurrentProcess(), 5.0);
    PostMessageA(app->mainWindow, WM_COMMAND, IDM_REPAINT, 0);
    Sleep(1000);
    shares->frozen = CoreShare(GetCurrentProcess(), 5.0);
    PostMessageA(app->mainWindow, WM_CLOSE, 0, 0);
    return 0;
}

void BenchRunningAndFrozen() {
    ViewerApplication app;
    if (FAILED(app.Initialize(GetModuleHandleA(nullptr))) || !app.device) {
        std::printf("processor time: no device\n");
        return;
    }
    LoopShares shares;
    void* parameter[2] = {&app, &shares};
    HANDLE watcher = CreateThread(nullptr, 0, WatchLoop, parameter, 0, nullptr);
    static_cast<void>(app.RunLoop());
    WaitForSingleObject(watcher, INFINITE);
    CloseHandle(watcher);
    std::printf("Processor time over 5 s: running %.2f of a core, frozen %.3f of a core\n", shares.running,
                shares.frozen);
}

// Resolve and read-back of one frame of the real viewer, at one sample and at four.
void BenchKeepingAFrame() {
    ViewerApplication app;
    if (FAILED(app.Initialize(GetModuleHandleA(nullptr))) || !app.device) {
        std::printf("kept frame: no device\n");
        return;
    }
    for (D3DMULTISAMPLE_TYPE type : {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES}) {
        if (app.presentParams.MultiSampleType != type) {
            app.settings.multisampleType = type;
            app.settings.multisampleQuality = 0;
            app.ReleaseDevice();
            if (FAILED(app.CreateDeviceFromSettings())) break;
        }
        std::vector<double> times;
        for (int i = 0; i < 30; ++i) {
            static_cast<void>(app.RenderFrame());  // running: nothing kept
            const double start = Now();
            bool kept = SUCCEEDED(ResolveBackBuffer(app.device, app.resolvedFrame)) &&
                        SUCCEEDED(ReadBackResolved(app.device, app.resolvedFrame, &app.frontBufferCopy));
            // The runtime may queue the copy: it is done once the pixels can be read.
            D3DLOCKED_RECT locked = {};
            kept = kept && SUCCEEDED(app.frontBufferCopy->LockRect(&locked, nullptr, D3DLOCK_READONLY));
            const double end = Now();
            if (kept) static_cast<void>(app.frontBufferCopy->UnlockRect());
            static_cast<void>(app.device->Present(nullptr, nullptr, nullptr, nullptr));
            if (kept) times.push_back(end - start);
        }
        if (times.empty()) continue;
        std::sort(times.begin(), times.end());
        std::printf("Keeping a %ux%u frame (%s): min %.2f ms, median %.2f ms (%zu frames)\n",
                    app.presentParams.BackBufferWidth, app.presentParams.BackBufferHeight,
                    type == D3DMULTISAMPLE_NONE ? "1 sample" : "4 samples", times.front() * 1e3,
                    times[times.size() / 2] * 1e3, times.size());
    }
    SendMessageA(app.mainWindow, WM_CLOSE, 0, 0);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
    }
}

}  // namespace

int main() {
    BenchKeepingAFrame();
    BenchRunningAndFrozen();
    return 0;
}
