// The per-sample probes' shared states and the black-out of all samples but one.
#include "analysis/probing/per_sample_drawing.h"

#include "analysis/probing/probe_target.h"
#include "pattern/pass_states.h"

void SetPerSampleDrawingStates(IDirect3DDevice9* device) {
    SetProbeStates(device);
    SetPassOpeningStates(device, D3DTADDRESS_CLAMP);
    device->SetRenderState(D3DRS_SHADEMODE, D3DSHADE_GOURAUD);
    device->SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);
    device->SetTexture(0, nullptr);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
}

HRESULT KeepOnlySample(IDirect3DDevice9* device, UINT width, UINT height, int sample) {
    SetPerSampleDrawingStates(device);
    const float w = static_cast<float>(width) + 1.0f;
    const float h = static_cast<float>(height) + 1.0f;
    const D3DCOLOR black = D3DCOLOR_ARGB(255, 0, 0, 0);
    const ColouredVertex quad[4] = {
        {-1.0f, -1.0f, 0.5f, 1.0f, black},
        {w, -1.0f, 0.5f, 1.0f, black},
        {-1.0f, h, 0.5f, 1.0f, black},
        {w, h, 0.5f, 1.0f, black},
    };
    device->SetRenderState(D3DRS_MULTISAMPLEMASK, ~(1u << sample));
    const HRESULT hr = device->DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, quad, sizeof(ColouredVertex));
    device->SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);
    return hr;
}
