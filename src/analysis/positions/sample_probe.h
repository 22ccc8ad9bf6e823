// The off-screen measurement: draws the point pattern into a render target of the device's own
// back-buffer format, multisample type and quality, once per mask bit, resolves and reads it back,
// and decodes the pictures into sample positions. Knows nothing of any window; the device's
// render target, states and transforms are as before when it returns.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "analysis/probing/probe_target.h"
#include "analysis/positions/sample_measurement.h"

// Measures the mode of the device's swap chain 0 (format, multisample type and quality as its
// present parameters give them). Fails without touching measurement where the device cannot
// make the targets it needs.
HRESULT MeasureSamplePositions(IDirect3DDevice9* device, SampleMeasurement* measurement);
// The same for a target already described (the measurement session describes it once).
HRESULT MeasureSamplePositions(IDirect3DDevice9* device, const ProbeTarget& target,
                               SampleMeasurement* measurement);

// How the pictures are drawn, where a measurement asks for other than the usual.
struct SampleProbeOptions {
    // D3DRS_MULTISAMPLEANTIALIAS while drawing: FALSE measures what the device does with
    // multisampling switched off on the multisampled target.
    bool multisampleAntialias = true;
};
HRESULT MeasureSamplePositions(IDirect3DDevice9* device, const ProbeTarget& target,
                               const SampleProbeOptions& options, SampleMeasurement* measurement);
