// The pattern's managed device objects, filled from the settings, and the baseline device state.
#include "pattern/pattern_objects.h"

#include "framework/safe_release.h"
#include "pattern/ortho_projection.h"
#include "pattern/pattern_contents.h"

namespace {

HRESULT CreateManagedTexture(IDirect3DDevice9* device, UINT size, IDirect3DTexture9** texture) {
    return device->CreateTexture(size, size, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, texture, nullptr);
}

// A lock that fails leaves nothing to write into: the old contents then stay.
template <typename Fill>
void FillTexture(IDirect3DTexture9* texture, Fill fill) {
    D3DLOCKED_RECT locked = {};
    if (FAILED(texture->LockRect(0, &locked, nullptr, 0)) || locked.pBits == nullptr) {
        return;
    }
    fill(static_cast<BYTE*>(locked.pBits), locked.Pitch);
    static_cast<void>(texture->UnlockRect(0));
}

template <typename Vertex, typename Fill>
void FillVertexBuffer(IDirect3DVertexBuffer9* buffer, Fill fill) {
    void* data = nullptr;
    if (FAILED(buffer->Lock(0, 0, &data, 0)) || data == nullptr) {
        return;
    }
    fill(static_cast<Vertex*>(data));
    static_cast<void>(buffer->Unlock());
}

}  // namespace

HRESULT FillPointGrid(IDirect3DDevice9* device, const PatternSettings& settings, IDirect3DVertexBuffer9** buffer,
                      UINT* bufferBytes) {
    const UINT needed = PointBufferBytes(settings.gridSize);
    if (*bufferBytes < needed || *buffer == nullptr) {
        SafeRelease(*buffer);
        if (FAILED(device->CreateVertexBuffer(needed, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, D3DPOOL_MANAGED, buffer,
                                              nullptr))) {
            *buffer = nullptr;
            return E_FAIL;
        }
        *bufferBytes = needed;
    }
    FillVertexBuffer<PositionVertex>(*buffer, [&settings](PositionVertex* vertices) {
        WritePointGrid(vertices, settings.gridSize, settings.pointSize, settings.geometryOffsetX,
                       settings.geometryOffsetY);
    });
    return S_OK;
}

HRESULT FillTexturedQuad(IDirect3DDevice9* device, const PatternSettings& settings, IDirect3DVertexBuffer9** buffer) {
    if (*buffer == nullptr &&
        FAILED(device->CreateVertexBuffer(kQuadVertices * sizeof(TexturedVertex), D3DUSAGE_WRITEONLY,
                                          D3DFVF_XYZ | D3DFVF_TEX1, D3DPOOL_MANAGED, buffer, nullptr))) {
        *buffer = nullptr;
        return E_FAIL;
    }
    FillVertexBuffer<TexturedVertex>(*buffer, [&settings](TexturedVertex* vertices) {
        WriteTexturedQuad(vertices, settings.gridSize, settings.textureOffsetX, settings.textureOffsetY);
    });
    return S_OK;
}

HRESULT FillPointTexture(IDirect3DDevice9* device, const PatternSettings& settings, IDirect3DTexture9** texture) {
    if (*texture == nullptr && FAILED(CreateManagedTexture(device, kPointTextureSize, texture))) {
        *texture = nullptr;
        return E_FAIL;
    }
    FillTexture(*texture, [&settings](BYTE* bits, INT pitch) { WritePointTexture(bits, pitch, settings.pointSize); });
    return S_OK;
}

HRESULT FillHalfTexture(IDirect3DDevice9* device, IDirect3DTexture9** texture) {
    if (*texture == nullptr && FAILED(CreateManagedTexture(device, kHalfTextureSize, texture))) {
        *texture = nullptr;
        return E_FAIL;
    }
    FillTexture(*texture, [](BYTE* bits, INT pitch) { WriteHalfTexture(bits, pitch); });
    return S_OK;
}

HRESULT FillPatternObjects(IDirect3DDevice9* device, const PatternSettings& settings, PatternObjects* objects) {
    HRESULT result = FillPointGrid(device, settings, &objects->pointVertexBuffer, &objects->pointVertexBufferBytes);
    if (SUCCEEDED(result)) result = FillTexturedQuad(device, settings, &objects->quadVertexBuffer);
    if (SUCCEEDED(result)) result = FillPointTexture(device, settings, &objects->pointTexture);
    if (SUCCEEDED(result)) result = FillHalfTexture(device, &objects->halfTexture);
    return result;
}

void ReleasePatternObjects(PatternObjects* objects) {
    SafeRelease(objects->pointVertexBuffer);
    SafeRelease(objects->quadVertexBuffer);
    SafeRelease(objects->pointTexture);
    SafeRelease(objects->halfTexture);
    objects->pointVertexBufferBytes = 0;
}

void SetBaselineStates(IDirect3DDevice9* device) {
    D3DMATERIAL9 material = {};
    material.Diffuse = {1.0f, 0.0f, 0.0f, 1.0f};
    material.Ambient = {1.0f, 0.0f, 0.0f, 1.0f};
    static_cast<void>(device->SetMaterial(&material));

    static_cast<void>(device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_CURRENT));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_CURRENT));

    static_cast<void>(device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT));
    static_cast<void>(device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT));

    static_cast<void>(device->SetRenderState(D3DRS_DITHERENABLE, TRUE));
    static_cast<void>(device->SetRenderState(D3DRS_SPECULARENABLE, FALSE));
    static_cast<void>(device->SetRenderState(D3DRS_ZENABLE, D3DZB_FALSE));
    static_cast<void>(device->SetRenderState(D3DRS_AMBIENT, 0x000F0F0F));

    const D3DMATRIX identity = IdentityMatrix();
    static_cast<void>(device->SetTransform(D3DTS_WORLD, &identity));
    static_cast<void>(device->SetTransform(D3DTS_VIEW, &identity));
    static_cast<void>(device->SetTransform(D3DTS_PROJECTION, &identity));

    static_cast<void>(device->SetRenderState(D3DRS_LIGHTING, FALSE));
}
