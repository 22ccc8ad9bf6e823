// The position probe with one state changed; the comparison is the decoder's.
#include "analysis/antialias_off/antialias_off_probe.h"


#include "analysis/antialias_off/antialias_off_decoder.h"
#include "analysis/positions/sample_probe.h"

HRESULT MeasureAntialiasOff(IDirect3DDevice9* device, const ProbeTarget& target,
                            const SampleMeasurement& positions, AntialiasOffMeasurement* out) {
    if (device == nullptr || out == nullptr) return E_INVALIDARG;
    AntialiasOffMeasurement result;
    if (target.type != D3DMULTISAMPLE_NONE) {
        SampleProbeOptions options;
        options.multisampleAntialias = false;
        const HRESULT hr = MeasureSamplePositions(device, target, options, &result.positions);
        if (FAILED(hr)) return hr;
        DecodeAntialiasOff(positions, &result);
    }
    *out = result;
    return S_OK;
}
