// The resolve measurement's cost on the system's Direct3D 9: the whole measurement of a 4-sample
// mode on the viewer's device after a few frames (the first on that device, and the best of the
// following ones), and the decoders alone on readings of the size a 16-sample mode gives.
#include <windows.h>
#include <d3d9.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>

#include "analysis/probing/probe_target.h"
#include "analysis/resolve/resolve_decoder.h"
#include "analysis/resolve/resolve_probe.h"
#include "analysis/positions/sample_probe.h"
#include "probe_timing.h"

namespace {

void TimeMeasurements(ViewerApplication& app, D3DMULTISAMPLE_TYPE type, const char* label) {
    ProbeTarget target;
    SampleMeasurement positions;
    if (!UseDrawnDevice(app, type) || FAILED(DescribeProbeTarget(app.device, &target)) ||
        FAILED(MeasureSamplePositions(app.device, target, &positions))) {
        std::printf("%-34s no device or no positions\n", label);
        return;
    }
    PrintFirstAndBest(label, [&](std::string* found) {
        ResolveMeasurement measurement;
        const HRESULT hr = MeasureResolve(app.device, target, positions, &measurement);
        *found = ResolveColumnText(measurement) + "; " + FilterColumnText(measurement) + "; " +
                 CoverageColumnText(measurement);
        return hr;
    });
}

// Readings of a 16-sample mode that averages stored values: the most a mode gives the decoders.
ResolveReadings SixteenSampleReadings() {
    ResolveReadings r;
    r.colourSamples = 16;
    r.srgbTried = true;
    r.alphaScale = 255;
    for (int k = 0; k <= 16; ++k) {
        const int white = static_cast<int>(std::lround(255.0 * k / 16));
        const int grey = static_cast<int>(std::lround(128.0 * k / 16));
        r.white.push_back({k, white});
        r.grey.push_back({k, grey});
        r.srgbWhite.push_back({k, white});
        r.srgbGrey.push_back({k, static_cast<int>(std::lround(188.0 * k / 16))});
        r.alpha.push_back({k, white});
    }
    for (int s = 0; s < 16; ++s) {
        FootprintMap map;
        map.values[2][2] = 16;
        r.footprints.push_back(map);
    }
    for (const char* edge : {"vertical", "horizontal", "shallow"}) {
        EdgeSweep sweep;
        sweep.edge = edge;
        for (int k = 0; k <= 156; ++k) {
            sweep.offsets.push_back(k * kEdgeStep);
            sweep.values.push_back(std::min(255, k * 255 / 128 / 16 * 16));
        }
        r.sweeps.push_back(sweep);
    }
    return r;
}

}  // namespace

int main() {
    return RunOnViewer([](ViewerApplication& app) {
        TimeMeasurements(app, D3DMULTISAMPLE_NONE, "resolve measurement at 1x");
        TimeMeasurements(app, D3DMULTISAMPLE_4_SAMPLES, "resolve measurement at 4 samples");

        const ResolveReadings readings = SixteenSampleReadings();
        ResolveMeasurement measurement;
        const double best = BestMilliseconds(50, [&] { DecodeResolve(readings, &measurement); });
        std::printf("%-34s best %8.3f ms  (%s)\n", "resolve decoders alone, 16 samples", best,
                    CoverageColumnText(measurement).c_str());
        return 0;
    });
}
