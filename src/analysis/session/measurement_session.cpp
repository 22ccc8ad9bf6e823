// The measurement session: the target described once, then each measurement's probe in turn.
#include "analysis/session/measurement_session.h"

#include <chrono>

#include "analysis/probing/probe_target.h"
#include "analysis/session/measurement_module.h"

namespace {

// Codes after which no probe can draw on this device: the session ends, nothing of it stands.
bool DeviceGone(HRESULT hr) {
    return hr == D3DERR_DEVICELOST || hr == D3DERR_DEVICEREMOVED || hr == D3DERR_DEVICEHUNG;
}

}  // namespace

HRESULT MeasureMode(IDirect3DDevice9* device, ModeMeasurement* measurement, ProbeObserver observer, void* context) {
    if (device == nullptr || measurement == nullptr) return E_INVALIDARG;
    // Drawn in the render-target format the caller's mode names; the back buffer's where it names none.
    MultisampleMode mode;
    const HRESULT hr = DescribeProbeTarget(device, &mode, measurement->mode.renderTargetFormat);
    if (FAILED(hr)) return hr;
    return MeasureModeAs(device, mode, measurement, observer, context);
}

HRESULT MeasureModeAs(IDirect3DDevice9* device, const MultisampleMode& mode, ModeMeasurement* measurement,
                      ProbeObserver observer, void* context) {
    if (device == nullptr || measurement == nullptr) return E_INVALIDARG;
    const auto start = std::chrono::steady_clock::now();
    ModeMeasurement result;
    result.mode = mode;
    HRESULT hr = S_OK;
    const std::vector<MeasurementModule>& modules = MeasurementModules();
    const MeasurementFailure* positions = nullptr;
    const MeasurementFailure* probe = nullptr;  // the failure of the last probe run, if it failed
    for (const MeasurementModule& module : modules) {
        if (module.measure == nullptr) {
            // Measured in the picture of the probe before it: its failure is this one's too.
            if (probe != nullptr) result.failures[module.key] = *probe;
            continue;
        }
        probe = nullptr;
        if (positions != nullptr) {
            probe = &(result.failures[module.key] = DeclinedForPositions(*positions));
            continue;
        }
        // Its key without the leading slash: "samplePositions", "resolve/transfer".
        if (observer != nullptr) observer(context, module.key + 1);
        hr = module.measure(device, &result);
        if (DeviceGone(hr)) return hr;
        if (FAILED(hr)) {
            probe = &(result.failures[module.key] = ProbeFailure(module.key + 1, hr));
            if (&module == &modules.front()) positions = probe;
        }
    }
    result.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    *measurement = result;
    return S_OK;
}
