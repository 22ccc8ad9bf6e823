// The per-sample measurements' cost on the system's Direct3D 9 at 4 samples, each on the viewer's
// device after a few frames: the first run (which builds the runtime's shaders for its states)
// and the best of the following ones, for alpha to coverage, centroid and multisampling off.
#include <windows.h>
#include <d3d9.h>

#include <cstdio>
#include <string>

#include "analysis/alpha_to_coverage/alpha_to_coverage_probe.h"
#include "analysis/antialias_off/antialias_off_probe.h"
#include "analysis/centroid/centroid_probe.h"
#include "analysis/positions/sample_probe.h"
#include "analysis/resolve/resolve_counting.h"
#include "analysis/resolve/resolve_probe.h"
#include "probe_timing.h"

int main() {
    return RunOnViewer([](ViewerApplication& app) {
        if (!UseDrawnDevice(app, D3DMULTISAMPLE_4_SAMPLES)) {
            std::printf("no 4-sample device\n");
            return 1;
        }
        IDirect3DDevice9* device = app.device;
        ProbeTarget target;
        SampleMeasurement positions;
        ResolveMeasurement resolve;
        if (FAILED(DescribeProbeTarget(device, &target)) ||
            FAILED(MeasureSamplePositions(device, target, &positions)) ||
            FAILED(MeasureResolve(device, target, positions, &resolve))) {
            std::printf("positions or resolve not measured\n");
            return 1;
        }
        // Coverage is read through the resolve as measured, as the session does.
        const ResolveCounting counting = CountingThrough(resolve, target.Maskable());
        PrintFirstAndBest("alpha to coverage, 4 samples", [&](std::string* verdict) {
            AlphaToCoverageMeasurement m;
            const HRESULT hr = MeasureAlphaToCoverage(device, target, positions, counting, &m);
            *verdict = AlphaToCoverageColumnText(m);
            return hr;
        });
        PrintFirstAndBest("centroid, 4 samples", [&](std::string* verdict) {
            CentroidMeasurement m;
            const HRESULT hr = MeasureCentroid(device, target, positions, counting, &m);
            *verdict = CentroidVerdictText(m);
            return hr;
        });
        PrintFirstAndBest("multisampling off, 4 samples", [&](std::string* verdict) {
            AntialiasOffMeasurement m;
            const HRESULT hr = MeasureAntialiasOff(device, target, positions, &m);
            *verdict = AntialiasOffVerdictText(m);
            return hr;
        });
        return 0;
    });
}
