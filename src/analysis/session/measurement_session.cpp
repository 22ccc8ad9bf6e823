// The measurement session: the target described once, then each measurement's probe in turn.
#include "analysis/session/measurement_session.h"

#include <chrono>

#include "analysis/probing/probe_target.h"
#include "analysis/session/measurement_module.h"

HRESULT MeasureMode(IDirect3DDevice9* device, ModeMeasurement* measurement, ProbeObserver observer, void* context) {
    if (device == nullptr || measurement == nullptr) return E_INVALIDARG;
    const auto start = std::chrono::steady_clock::now();
    ModeMeasurement result;
    HRESULT hr = DescribeProbeTarget(device, &result.mode, measurement->mode.renderTargetFormat);
    for (const MeasurementModule& module : MeasurementModules()) {
        if (FAILED(hr) || module.measure == nullptr) continue;
        // Its key without the leading slash: "samplePositions", "resolve/transfer".
        if (observer != nullptr) observer(context, module.key + 1);
        hr = module.measure(device, &result);
    }
    if (FAILED(hr)) return hr;
    result.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    *measurement = result;
    return S_OK;
}
