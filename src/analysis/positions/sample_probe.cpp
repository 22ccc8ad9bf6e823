// The probe draws the viewer's own point grid (and textured quad), with the viewer's projection
// conventions, into a small off-screen target of the swap chain's format and multisample mode:
// once per mask bit, once with every bit, once textured. Each picture is resolved into its own
// part of one plain target, and all are read back together, so that the device waits once.
#include "analysis/positions/sample_probe.h"

#include <wrl/client.h>

#include <algorithm>
#include <vector>

#include "analysis/probing/probe_pattern.h"
#include "analysis/probing/probe_target.h"
#include "analysis/positions/sample_decoder.h"
#include "pattern/ortho_projection.h"
#include "pattern/pass_states.h"
#include "pattern/pattern_contents.h"

namespace {

using Microsoft::WRL::ComPtr;

// What one measurement draws with; released when it ends.
struct ProbeObjects {
    ProbeSurfaces surfaces;
    ComPtr<IDirect3DVertexBuffer9> points;
    ComPtr<IDirect3DVertexBuffer9> quad;
    ComPtr<IDirect3DTexture9> texture;
};

HRESULT CreateObjects(IDirect3DDevice9* device, const ProbePattern& pattern, const ProbeTarget& target,
                      UINT cells, ProbeObjects* objects) {
    const UINT side = static_cast<UINT>(ProbeImageSide(pattern));
    HRESULT hr = CreateProbeSurfaces(device, target, side, side, cells, &objects->surfaces);
    const UINT pointBytes = PointBufferBytes(pattern.gridSize);
    if (SUCCEEDED(hr)) {
        hr = device->CreateVertexBuffer(pointBytes, D3DUSAGE_WRITEONLY, D3DFVF_XYZ,
                                        D3DPOOL_MANAGED, &objects->points, nullptr);
    }
    void* data = nullptr;
    if (SUCCEEDED(hr) && SUCCEEDED(hr = objects->points->Lock(0, 0, &data, 0))) {
        WritePointGrid(static_cast<PositionVertex*>(data), pattern.gridSize, pattern.pointSize,
                       pattern.geometryOffsetX, pattern.geometryOffsetY);
        objects->points->Unlock();
    }
    if (SUCCEEDED(hr)) {
        hr = device->CreateVertexBuffer(kQuadVertices * sizeof(TexturedVertex), D3DUSAGE_WRITEONLY,
                                        D3DFVF_XYZ | D3DFVF_TEX1, D3DPOOL_MANAGED, &objects->quad,
                                        nullptr);
    }
    if (SUCCEEDED(hr) && SUCCEEDED(hr = objects->quad->Lock(0, 0, &data, 0))) {
        WriteTexturedQuad(static_cast<TexturedVertex*>(data), pattern.gridSize,
                          pattern.textureOffsetX, pattern.textureOffsetY);
        objects->quad->Unlock();
    }
    if (SUCCEEDED(hr)) {
        hr = device->CreateTexture(kPointTextureSize, kPointTextureSize, 1, 0, D3DFMT_A4R4G4B4,
                                   D3DPOOL_MANAGED, &objects->texture, nullptr);
    }
    D3DLOCKED_RECT locked = {};
    if (SUCCEEDED(hr) && SUCCEEDED(hr = objects->texture->LockRect(0, &locked, nullptr, 0))) {
        WritePointTexture(static_cast<BYTE*>(locked.pBits), locked.Pitch, pattern.pointSize);
        objects->texture->UnlockRect(0);
    }
    return hr;
}

// Tile (tx, ty) placed as the viewer places its tiles, by moving the projection window: the
// tile's first pixel begins at world tileOrigin. The window spans the target with its margin, one
// world unit a pixel, so the picture starts kProbeMargin pixels in.
void PlaceTile(IDirect3DDevice9* device, const ProbePattern& pattern, int tileX, int tileY) {
    const int tile = pattern.gridSize + 1;
    const float half = static_cast<float>(ProbeImageSide(pattern)) * 0.5f + kProbeMargin;
    const float xc = static_cast<float>(pattern.tileOriginX + 0.5 + tile - tileX * tile);
    const float yc = static_cast<float>(pattern.tileOriginY + 0.5 + tile - tileY * tile);
    const D3DMATRIX projection = OrthoProjection(xc - half, xc + half, yc + half, yc - half, 0.0f, 1.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
}

// White points into the samples mask enables, on black. No two points share a sample, so
// writing white is adding it; and unblended, texture-factor drawing is what the viewer's edge
// bands do, so the runtime has its shaders for it already.
void DrawPoints(IDirect3DDevice9* device, const ProbePattern& pattern, const ProbeObjects& objects,
                DWORD mask) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetTexture(0, nullptr);
    SelectTextureFactor(device);
    device->SetFVF(D3DFVF_XYZ);
    device->SetStreamSource(0, objects.points.Get(), 0, sizeof(PositionVertex));
    device->SetRenderState(D3DRS_MULTISAMPLEMASK, mask);
    const UINT triangles = 2u * static_cast<UINT>(pattern.gridSize * pattern.gridSize);
    for (int ty = 0; ty < 2; ++ty) {
        for (int tx = 0; tx < 2; ++tx) {
            PlaceTile(device, pattern, tx, ty);
            device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles);
        }
    }
}

// Opaque white where the point texture's white square passes the alpha test.
void DrawTexturedPoints(IDirect3DDevice9* device, const ProbePattern& pattern,
                        const ProbeObjects& objects) {
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device->SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);
    device->SetTexture(0, objects.texture.Get());
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    PassOpaqueTexelsOnly(device);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    device->SetStreamSource(0, objects.quad.Get(), 0, sizeof(TexturedVertex));
    for (int ty = 0; ty < 2; ++ty) {
        for (int tx = 0; tx < 2; ++tx) {
            PlaceTile(device, pattern, tx, ty);
            device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        }
    }
}

enum class Picture { Points, TexturedPoints };

struct Pass {
    Picture picture;
    DWORD mask;
};

// Draws every pass and resolves each into its cell of the resolved target.
HRESULT DrawPasses(IDirect3DDevice9* device, const ProbePattern& pattern, const ProbeObjects& objects,
                   const std::vector<Pass>& passes, const SampleProbeOptions& options) {
    SavedDeviceState saved(device);
    HRESULT hr = device->SetRenderTarget(0, objects.surfaces.multisampled.Get());
    if (FAILED(hr)) return hr;
    device->SetDepthStencilSurface(nullptr);
    SetProbeStates(device);
    device->SetRenderState(D3DRS_MULTISAMPLEANTIALIAS, options.multisampleAntialias ? TRUE : FALSE);
    for (size_t k = 0; k < passes.size() && SUCCEEDED(hr); ++k) {
        device->SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
        // A caller already inside a scene keeps it.
        const bool ownScene = SUCCEEDED(device->BeginScene());
        if (passes[k].picture == Picture::Points) {
            DrawPoints(device, pattern, objects, passes[k].mask);
        } else {
            DrawTexturedPoints(device, pattern, objects);
        }
        device->SetStreamSource(0, nullptr, 0, 0);
        if (ownScene) device->EndScene();
        hr = ResolveIntoCell(device, objects.surfaces, k);
    }
    return hr;
}

}  // namespace

HRESULT MeasureSamplePositions(IDirect3DDevice9* device, SampleMeasurement* measurement) {
    if (device == nullptr || measurement == nullptr) return E_INVALIDARG;
    ProbeTarget target;
    const HRESULT hr = DescribeProbeTarget(device, &target);
    return FAILED(hr) ? hr : MeasureSamplePositions(device, target, measurement);
}

HRESULT MeasureSamplePositions(IDirect3DDevice9* device, const ProbeTarget& target,
                               SampleMeasurement* measurement) {
    return MeasureSamplePositions(device, target, SampleProbeOptions(), measurement);
}

HRESULT MeasureSamplePositions(IDirect3DDevice9* device, const ProbeTarget& target,
                               const SampleProbeOptions& options, SampleMeasurement* measurement) {
    if (device == nullptr || measurement == nullptr) return E_INVALIDARG;
    ChannelLayout green;
    if (!IntensityChannel(target.DrawnFormat(), &green)) return D3DERR_NOTAVAILABLE;

    const ProbePattern pattern = ChooseProbePattern(0.0);
    std::vector<Pass> passes;
    for (int bit = 0; target.Maskable() && bit < static_cast<int>(target.type); ++bit) {
        passes.push_back({Picture::Points, 1u << bit});
    }
    passes.push_back({Picture::Points, 0xFFFFFFFF});
    passes.push_back({Picture::TexturedPoints, 0xFFFFFFFF});

    ProbeObjects objects;
    HRESULT hr = CreateObjects(device, pattern, target, static_cast<UINT>(passes.size()), &objects);
    if (SUCCEEDED(hr)) hr = DrawPasses(device, pattern, objects, passes, options);
    ProbeReadBack pictures;
    if (SUCCEEDED(hr)) hr = pictures.Read(device, objects.surfaces);
    if (FAILED(hr)) return hr;

    ProbeImages images;
    images.pattern = pattern;
    images.maskable = target.Maskable();
    images.sampleCount = target.MaskSamples();
    for (size_t k = 0; k < passes.size(); ++k) {
        IntensityImage image = pictures.Cell(k, green);
        if (passes[k].picture == Picture::TexturedPoints) {
            images.texture = std::move(image);
        } else if (passes[k].mask == 0xFFFFFFFF) {
            images.allBits = std::move(image);
        } else {
            images.bitMaps.push_back(std::move(image));
        }
    }

    DecodeSamplePositions(images, measurement);
    return S_OK;
}
