// The viewer's device objects: the managed pattern objects that survive resets, refilled on every
// settings change, the baseline device state, and the surfaces the drawn frame is kept in.
#include <windows.h>
#include <d3d9.h>

#include "font/text_font.h"
#include "image/kept_frame.h"
#include "pattern/ortho_projection.h"
#include "pattern/pattern_contents.h"
#include "framework/safe_release.h"
#include "viewer/viewer_application.h"

namespace {

HRESULT CreateManagedTexture(IDirect3DDevice9* device, UINT size, IDirect3DTexture9** texture) {
    return device->CreateTexture(size, size, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, texture,
                                 nullptr);
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

HRESULT ViewerApplication::RebuildPatternResources() {
    if (device == nullptr) {
        return E_FAIL;
    }
    const UINT needed = PointBufferBytes(gridSize);
    // The grid buffer only ever grows: a smaller grid uses the front of the one we have.
    if (pointVertexBufferBytes < needed || pointVertexBuffer == nullptr) {
        SafeRelease(pointVertexBuffer);
        if (FAILED(device->CreateVertexBuffer(needed, D3DUSAGE_WRITEONLY, D3DFVF_XYZ,
                                              D3DPOOL_MANAGED, &pointVertexBuffer, nullptr))) {
            pointVertexBuffer = nullptr;
            return E_FAIL;
        }
        pointVertexBufferBytes = needed;
    }
    FillVertexBuffer<PositionVertex>(pointVertexBuffer, [this](PositionVertex* vertices) {
        WritePointGrid(vertices, gridSize, pointSize, geometryOffsetX, geometryOffsetY);
    });

    if (quadVertexBuffer == nullptr &&
        FAILED(device->CreateVertexBuffer(kQuadVertices * sizeof(TexturedVertex),
                                          D3DUSAGE_WRITEONLY, D3DFVF_XYZ | D3DFVF_TEX1,
                                          D3DPOOL_MANAGED, &quadVertexBuffer, nullptr))) {
        quadVertexBuffer = nullptr;
        return E_FAIL;
    }
    FillVertexBuffer<TexturedVertex>(quadVertexBuffer, [this](TexturedVertex* vertices) {
        WriteTexturedQuad(vertices, gridSize, textureOffsetX, textureOffsetY);
    });

    if (pointTexture == nullptr &&
        FAILED(CreateManagedTexture(device, kPointTextureSize, &pointTexture))) {
        pointTexture = nullptr;
        return E_FAIL;
    }
    FillTexture(pointTexture,
                [this](BYTE* bits, INT pitch) { WritePointTexture(bits, pitch, pointSize); });

    if (halfTexture == nullptr &&
        FAILED(CreateManagedTexture(device, kHalfTextureSize, &halfTexture))) {
        halfTexture = nullptr;
        return E_FAIL;
    }
    FillTexture(halfTexture, [](BYTE* bits, INT pitch) { WriteHalfTexture(bits, pitch); });
    return S_OK;
}

HRESULT ViewerApplication::CreateDeviceResources() {
    if (textFont != nullptr) {
        // Without its glyphs the overlay is lost, but the pattern is what matters.
        static_cast<void>(textFont->CreateDeviceResources(device));
    }
    if (FAILED(RebuildPatternResources())) {
        return E_FAIL;
    }
    UpdateMenuChecks();
    return S_OK;
}

HRESULT ViewerApplication::RestoreDeviceResources() {
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

    if (textFont != nullptr) {
        static_cast<void>(textFont->RestoreDeviceResources());
    }

    // A target that cannot be made only costs the kept pictures; their users expect null.
    SafeRelease(resolvedFrame);
    static_cast<void>(CreateResolveTarget(device, backBufferDesc, &resolvedFrame));
    return S_OK;
}

HRESULT ViewerApplication::ReleaseDeviceResources() {
    if (textFont != nullptr) {
        static_cast<void>(textFont->ReleaseDeviceResources());
    }
    // The kept frames are in system memory and stay; only the render target must go.
    SafeRelease(resolvedFrame);
    return S_OK;
}

HRESULT ViewerApplication::DestroyDeviceResources() {
    if (textFont != nullptr) {
        static_cast<void>(textFont->DestroyDeviceResources());
    }
    SafeRelease(pointVertexBuffer);
    SafeRelease(quadVertexBuffer);
    SafeRelease(pointTexture);
    SafeRelease(halfTexture);
    SafeRelease(frontBufferCopy);
    SafeRelease(shownFrame);
    keepNextFrame = false;
    return S_OK;
}
