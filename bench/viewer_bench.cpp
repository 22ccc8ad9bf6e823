// The viewer's costs: refilling the pattern resources at the largest grid against a plain write of
// the same bytes, the processor time to issue one frame against a device that does nothing, and
// the real frame time on the system's Direct3D 9 at the default size, without and with 4x.
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "support/fake_device.h"
#include "support/present_parameters.h"
#include "pattern/pattern_contents.h"
#include "viewer/viewer_application.h"

namespace {

double Now() {
    static LARGE_INTEGER rate = [] {
        LARGE_INTEGER r;
        QueryPerformanceFrequency(&r);
        return r;
    }();
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(rate.QuadPart);
}

// Best per-call time of runs x calls, in microseconds: the least disturbed by a busy machine.
template <typename Work>
double BestMicroseconds(int runs, int calls, Work work) {
    double best = 1e30;
    for (int run = 0; run < runs; ++run) {
        const double start = Now();
        for (int call = 0; call < calls; ++call) work();
        best = std::min(best, (Now() - start) / calls);
    }
    return best * 1e6;
}

// A viewer on the fake device with its call log off: a device that only keeps its state.
struct OfflineViewer {
    explicit OfflineViewer(UINT width, UINT height)
        : device(std::make_unique<fakes::FakeDevice>(test_support::WindowedPresentParameters(width, height))),
          app(std::make_unique<ViewerApplication>()) {
        device->deleteOnFinalRelease = false;
        device->recordCalls = false;
        app->device = device.get();
        app->deviceCaps = device->caps;
        app->presentParams = test_support::WindowedPresentParameters(width, height);
        static_cast<void>(app->CreateDeviceResources());
        static_cast<void>(app->RestoreDeviceResources());
    }
    ~OfflineViewer() {
        app->ReleaseDeviceResources();
        app->DestroyDeviceResources();
        app->device = nullptr;
        app.reset();
    }
    std::unique_ptr<fakes::FakeDevice> device;
    std::unique_ptr<ViewerApplication> app;
};

void RebuildAgainstPlainWrite() {
    OfflineViewer viewer(512, 384);
    viewer.app->gridSize = 128;
    if (FAILED(viewer.app->RebuildPatternResources()) ||
        viewer.device->vertexBuffers.empty()) {
        std::printf("rebuild pattern at 128x128: failed\n");
        return;
    }
    const UINT bytes = PointBufferBytes(128);
    const double rebuild =
        BestMicroseconds(7, 20, [&] { static_cast<void>(viewer.app->RebuildPatternResources()); });

    // The same bytes, already computed, copied into a buffer of their own.
    std::vector<BYTE> source(bytes);
    WritePointGrid(reinterpret_cast<PositionVertex*>(source.data()), 128, 0.125f, 0.0f, 0.0f);
    std::vector<BYTE> target(bytes);
    volatile BYTE sink = 0;
    const double plain = BestMicroseconds(7, 20, [&] {
        std::memcpy(target.data(), source.data(), bytes);
        sink = sink + target[bytes / 2];
    });
    std::printf("rebuild pattern at 128x128 (%u bytes): %.0f us; plain write of the same bytes: "
                "%.0f us; ratio %.2f (target within 3)\n",
                bytes, rebuild, plain, rebuild / plain);
}

void IssueFrame(const char* name, UINT width, UINT height, int mode, double targetMicroseconds) {
    OfflineViewer viewer(width, height);
    viewer.app->drawMode = mode;
    static_cast<void>(viewer.app->RenderFrame());
    const double frame =
        BestMicroseconds(7, 50, [&] { static_cast<void>(viewer.app->RenderFrame()); });
    std::printf("issue one frame, %s at %ux%u: %.1f us (target below %.0f us), %d draw calls\n",
                name, width, height, frame, targetMicroseconds,
                (viewer.device->drawPrimitiveCount + viewer.device->drawPrimitiveUPCount) /
                    (7 * 50 + 1));
}

// Frames on the real runtime: RenderFrame and Present, as StepFrame makes them without its
// 1 ms sleep.
void RealFrames(ViewerApplication& app, const char* name) {
    for (int warm = 0; warm < 5; ++warm) {
        static_cast<void>(app.RenderFrame());
        static_cast<void>(app.device->Present(nullptr, nullptr, nullptr, nullptr));
    }
    const double frame = BestMicroseconds(3, 30, [&] {
        static_cast<void>(app.RenderFrame());
        static_cast<void>(app.device->Present(nullptr, nullptr, nullptr, nullptr));
    });
    std::printf("real frame on the system's Direct3D 9, defaults at %ux%u, %s: %.2f ms\n",
                app.presentParams.BackBufferWidth, app.presentParams.BackBufferHeight, name,
                frame / 1000.0);
}

void RealRuntime() {
    ViewerApplication app;
    if (FAILED(app.Initialize(GetModuleHandleA(nullptr))) || app.device == nullptr) {
        std::printf("real frame: no Direct3D 9 device\n");
        return;
    }
    RealFrames(app, "no multisampling");
    app.settings.multisampleType = D3DMULTISAMPLE_4_SAMPLES;
    app.settings.multisampleQuality = 0;
    app.ReleaseDevice();
    if (SUCCEEDED(app.CreateDeviceFromSettings()) && app.device != nullptr) {
        RealFrames(app, "4x multisampling");
    } else {
        std::printf("real frame, 4x multisampling: device not available\n");
    }
    SendMessageA(app.mainWindow, WM_CLOSE, 0, 0);
}

}  // namespace

int main() {
    RebuildAgainstPlainWrite();
    IssueFrame("Three Square", 512, 384, DrawModeThreeSquare, 30);
    IssueFrame("Three Square", 1280, 1024, DrawModeThreeSquare, 30);
    IssueFrame("tiled (Both)", 1280, 1024, DrawModeBoth, 400);
    RealRuntime();
    return 0;
}
