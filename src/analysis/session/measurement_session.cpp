// The measurement session: the target described once, then each probe in turn.
#include "analysis/session/measurement_session.h"

#include <chrono>

#include "analysis/alpha_to_coverage/alpha_to_coverage_probe.h"
#include "analysis/antialias_off/antialias_off_probe.h"
#include "analysis/centroid/centroid_probe.h"
#include "analysis/probing/probe_target.h"
#include "analysis/resolve/resolve_probe.h"
#include "analysis/positions/sample_probe.h"

HRESULT MeasureMode(IDirect3DDevice9* device, ModeMeasurement* measurement) {
    if (device == nullptr || measurement == nullptr) return E_INVALIDARG;
    const auto start = std::chrono::steady_clock::now();
    ModeMeasurement result;
    HRESULT hr = DescribeProbeTarget(device, &result.mode);
    if (SUCCEEDED(hr)) hr = MeasureSamplePositions(device, result.mode, &result.samplePositions);
    const SampleMeasurement& positions = result.samplePositions;
    if (SUCCEEDED(hr)) hr = MeasureResolve(device, result.mode, positions, &result.resolve);
    if (SUCCEEDED(hr)) hr = MeasureAlphaToCoverage(device, result.mode, positions, &result.alphaToCoverage);
    if (SUCCEEDED(hr)) hr = MeasureCentroid(device, result.mode, positions, &result.centroid);
    if (SUCCEEDED(hr)) hr = MeasureAntialiasOff(device, result.mode, positions, &result.antialiasOff);
    if (FAILED(hr)) return hr;
    result.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    *measurement = result;
    return S_OK;
}
