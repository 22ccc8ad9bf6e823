// The measurement session: the target described once, then each probe in turn.
#include "analysis/measurement_session.h"

#include <chrono>

#include "analysis/alpha_to_coverage_probe.h"
#include "analysis/antialias_off_probe.h"
#include "analysis/centroid_probe.h"
#include "analysis/probe_target.h"
#include "analysis/resolve_probe.h"
#include "analysis/sample_probe.h"

HRESULT MeasureMode(IDirect3DDevice9* device, ModeMeasurement* measurement, ProbeObserver observer, void* context) {
    if (device == nullptr || measurement == nullptr) return E_INVALIDARG;
    const auto start = std::chrono::steady_clock::now();
    const auto announce = [observer, context](const char* probe) {
        if (observer) observer(context, probe);
        return true;
    };
    ModeMeasurement result;
    HRESULT hr = DescribeProbeTarget(device, &result.mode);
    if (SUCCEEDED(hr) && announce("samplePositions")) {
        hr = MeasureSamplePositions(device, result.mode, &result.samplePositions);
    }
    const SampleMeasurement& positions = result.samplePositions;
    if (SUCCEEDED(hr) && announce("resolve")) hr = MeasureResolve(device, result.mode, positions, &result.resolve);
    if (SUCCEEDED(hr) && announce("alphaToCoverage")) {
        hr = MeasureAlphaToCoverage(device, result.mode, positions, &result.alphaToCoverage);
    }
    if (SUCCEEDED(hr) && announce("centroid")) hr = MeasureCentroid(device, result.mode, positions, &result.centroid);
    if (SUCCEEDED(hr) && announce("antialiasOff")) {
        hr = MeasureAntialiasOff(device, result.mode, positions, &result.antialiasOff);
    }
    if (FAILED(hr)) return hr;
    result.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    *measurement = result;
    return S_OK;
}
