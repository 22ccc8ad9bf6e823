// What the probes' benches share: the viewer's device in one multisample mode after a few frames
// (Wine's one-off costs of a new device paid before anything is timed), and a measurement timed
// on its first run and at its best over the following ones.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "viewer/viewer_application.h"

inline double MillisecondsSince(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - since).count();
}

// Runs bench on the viewer as the program starts it, then closes the viewer; bench's result is
// the exit code.
inline int RunOnViewer(const std::function<int(ViewerApplication& app)>& bench) {
    ViewerApplication app;
    if (FAILED(app.Initialize(GetModuleHandleA(nullptr))) || app.device == nullptr) {
        std::printf("no Direct3D 9 device\n");
        return 1;
    }
    const int code = bench(app);
    SendMessageA(app.mainWindow, WM_CLOSE, 0, 0);
    return code;
}

// A new device of the type, as the settings dialog makes one, that has drawn three frames.
inline bool UseDrawnDevice(ViewerApplication& app, D3DMULTISAMPLE_TYPE type) {
    app.settings.multisampleType = type;
    app.settings.multisampleQuality = 0;
    app.ReleaseDevice();
    if (FAILED(app.CreateDeviceFromSettings()) || app.device == nullptr) return false;
    for (int frame = 0; frame < 3; ++frame) {
        static_cast<void>(app.RenderFrame());
        static_cast<void>(app.device->Present(nullptr, nullptr, nullptr, nullptr));
    }
    return true;
}

// Six runs of measure, which names what it found: "label  first .. ms, then best .. ms (found)".
inline void PrintFirstAndBest(const char* label, const std::function<HRESULT(std::string* found)>& measure) {
    double first = 0.0;
    double best = 1e30;
    std::string found;
    for (int run = 0; run < 6; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (FAILED(measure(&found))) {
            std::printf("%-34s failed\n", label);
            return;
        }
        const double ms = MillisecondsSince(start);
        if (run == 0) first = ms;
        else best = std::min(best, ms);
    }
    std::printf("%-34s first %8.1f ms, then best %7.1f ms  (%s)\n", label, first, best, found.c_str());
}

// The best of runs timings of work, in milliseconds: for the decoders, which need no device.
inline double BestMilliseconds(int runs, const std::function<void()>& work) {
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        work();
        best = std::min(best, MillisecondsSince(start));
    }
    return best;
}
