// The per-sample measurements' cost on the system's Direct3D 9 at 4 samples, each on the viewer's
// device after a few frames: the first run (which builds the runtime's shaders for its states)
// and the best of the following ones, for alpha to coverage, centroid and multisampling off.
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>

#include "analysis/alpha_to_coverage_probe.h"
#include "analysis/antialias_off_probe.h"
#include "analysis/centroid_probe.h"
#include "analysis/sample_probe.h"
#include "viewer/viewer_application.h"

namespace {

void Time(const char* label, const std::function<HRESULT(std::string* verdict)>& measure) {
    double first = 0.0;
    double best = 1e30;
    std::string verdict;
    for (int run = 0; run < 6; ++run) {
        const auto start = std::chrono::steady_clock::now();
        if (FAILED(measure(&verdict))) {
            std::printf("%-34s failed\n", label);
            return;
        }
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
        if (run == 0) first = ms;
        else best = std::min(best, ms);
    }
    std::printf("%-34s first %8.1f ms, then best %7.1f ms  (%s)\n", label, first, best, verdict.c_str());
}

}  // namespace

int main() {
    ViewerApplication app;
    if (FAILED(app.Initialize(GetModuleHandleA(nullptr))) || app.device == nullptr) {
        std::printf("no Direct3D 9 device\n");
        return 1;
    }
    app.settings.multisampleType = D3DMULTISAMPLE_4_SAMPLES;
    app.settings.multisampleQuality = 0;
    app.ReleaseDevice();
    if (FAILED(app.CreateDeviceFromSettings()) || app.device == nullptr) {
        std::printf("no 4-sample device\n");
        return 1;
    }
    for (int frame = 0; frame < 3; ++frame) {
        static_cast<void>(app.RenderFrame());
        static_cast<void>(app.device->Present(nullptr, nullptr, nullptr, nullptr));
    }
    IDirect3DDevice9* device = app.device;
    ProbeTarget target;
    SampleMeasurement positions;
    if (FAILED(DescribeProbeTarget(device, &target)) || FAILED(MeasureSamplePositions(device, target, &positions))) {
        std::printf("positions not measured\n");
        return 1;
    }
    Time("alpha to coverage, 4 samples", [&](std::string* verdict) {
        AlphaToCoverageMeasurement m;
        const HRESULT hr = MeasureAlphaToCoverage(device, target, positions, &m);
        *verdict = AlphaToCoverageColumnText(m);
        return hr;
    });
    Time("centroid, 4 samples", [&](std::string* verdict) {
        CentroidMeasurement m;
        const HRESULT hr = MeasureCentroid(device, target, positions, &m);
        *verdict = CentroidVerdictText(m);
        return hr;
    });
    Time("multisampling off, 4 samples", [&](std::string* verdict) {
        AntialiasOffMeasurement m;
        const HRESULT hr = MeasureAntialiasOff(device, target, positions, &m);
        *verdict = AntialiasOffVerdictText(m);
        return hr;
    });
    SendMessageA(app.mainWindow, WM_CLOSE, 0, 0);
    return 0;
}
