#include "pattern/pass_states.h"

void SetPassOpeningStates(IDirect3DDevice9* device, D3DTEXTUREADDRESS addressing) {
    static_cast<void>(device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE));
    static_cast<void>(device->SetRenderState(D3DRS_CULLMODE, D3DCULL_NONE));
    static_cast<void>(device->SetRenderState(D3DRS_CLIPPING, TRUE));
    static_cast<void>(device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE));
    static_cast<void>(device->SetRenderState(D3DRS_LIGHTING, FALSE));
    static_cast<void>(device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT));
    static_cast<void>(device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT));
    static_cast<void>(device->SetSamplerState(0, D3DSAMP_MIPFILTER, D3DTEXF_NONE));
    static_cast<void>(device->SetSamplerState(0, D3DSAMP_ADDRESSU, addressing));
    static_cast<void>(device->SetSamplerState(0, D3DSAMP_ADDRESSV, addressing));
}

void SelectTextureFactor(IDirect3DDevice9* device) {
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TFACTOR));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TFACTOR));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1));
}

void PassOpaqueTexelsOnly(IDirect3DDevice9* device) {
    static_cast<void>(device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE));
    static_cast<void>(device->SetRenderState(D3DRS_ALPHAREF, 0x80));
    static_cast<void>(device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL));
}
