// The probe draws the viewer's own point grid (and textured quad), with the viewer's projection
// conventions, into a small off-screen target of the swap chain's format and multisample mode:
// once per mask bit, once with every bit, once textured. Each picture is resolved into its own
// part of one plain target, and all are read back together, so that the device waits once.
#include "analysis/sample_probe.h"

#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <vector>

#include "analysis/probe_pattern.h"
#include "analysis/sample_decoder.h"
#include "pattern/ortho_projection.h"
#include "pattern/pass_states.h"
#include "pattern/pattern_contents.h"

namespace {

using Microsoft::WRL::ComPtr;

// Where a back-buffer format keeps its green channel.
struct ChannelLayout {
    int bytesPerPixel = 0;
    int shift = 0;
    int bits = 0;
};

bool GreenChannel(D3DFORMAT format, ChannelLayout* layout) {
    switch (format) {
        case D3DFMT_A8R8G8B8:
        case D3DFMT_X8R8G8B8: *layout = {4, 8, 8}; return true;
        case D3DFMT_A2R10G10B10:
        case D3DFMT_A2B10G10R10: *layout = {4, 10, 10}; return true;
        case D3DFMT_R5G6B5: *layout = {2, 5, 6}; return true;
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5: *layout = {2, 5, 5}; return true;
        default: return false;
    }
}

// What one measurement draws with; released when it ends.
struct ProbeObjects {
    ComPtr<IDirect3DSurface9> multisampled;
    ComPtr<IDirect3DSurface9> resolved;
    ComPtr<IDirect3DSurface9> readBack;
    ComPtr<IDirect3DVertexBuffer9> points;
    ComPtr<IDirect3DVertexBuffer9> quad;
    ComPtr<IDirect3DTexture9> texture;
};

HRESULT CreateObjects(IDirect3DDevice9* device, const ProbePattern& pattern, D3DFORMAT format,
                      D3DMULTISAMPLE_TYPE type, DWORD quality, UINT columns, UINT rows,
                      ProbeObjects* objects) {
    const UINT side = static_cast<UINT>(ProbeImageSide(pattern));
    HRESULT hr = device->CreateRenderTarget(side, side, format, type, quality, FALSE,
                                            &objects->multisampled, nullptr);
    if (SUCCEEDED(hr)) {
        hr = device->CreateRenderTarget(side * columns, side * rows, format, D3DMULTISAMPLE_NONE,
                                        0, FALSE, &objects->resolved, nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = device->CreateOffscreenPlainSurface(side * columns, side * rows, format,
                                                 D3DPOOL_SYSTEMMEM, &objects->readBack, nullptr);
    }
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

// Every state the pictures depend on, beyond the opening the viewer's passes share.
void SetProbeStates(IDirect3DDevice9* device) {
    SetPassOpeningStates(device, D3DTADDRESS_WRAP);
    const DWORD renderStates[][2] = {
        {D3DRS_ZENABLE, D3DZB_FALSE},
        {D3DRS_ZWRITEENABLE, FALSE},
        {D3DRS_STENCILENABLE, FALSE},
        {D3DRS_FOGENABLE, FALSE},
        {D3DRS_SCISSORTESTENABLE, FALSE},
        {D3DRS_CLIPPLANEENABLE, 0},
        {D3DRS_FILLMODE, D3DFILL_SOLID},
        {D3DRS_COLORWRITEENABLE, 0xF},
        {D3DRS_SRGBWRITEENABLE, FALSE},
        {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
        {D3DRS_BLENDOP, D3DBLENDOP_ADD},
        {D3DRS_SEPARATEALPHABLENDENABLE, FALSE},
        {D3DRS_SPECULARENABLE, FALSE},
        {D3DRS_VERTEXBLEND, D3DVBF_DISABLE},
        {D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE},
        {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF},
    };
    for (const auto& state : renderStates) {
        device->SetRenderState(static_cast<D3DRENDERSTATETYPE>(state[0]), state[1]);
    }
    device->SetVertexShader(nullptr);
    device->SetPixelShader(nullptr);
    device->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
    device->SetTextureStageState(0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE);
    device->SetTextureStageState(1, D3DTSS_COLOROP, D3DTOP_DISABLE);
    device->SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device->SetSamplerState(0, D3DSAMP_MAXMIPLEVEL, 0);
    device->SetSamplerState(0, D3DSAMP_SRGBTEXTURE, FALSE);
    const D3DMATRIX identity = IdentityMatrix();
    device->SetTransform(D3DTS_WORLD, &identity);
    device->SetTransform(D3DTS_VIEW, &identity);
}

// Tile (tx, ty) placed as the viewer places its tiles, by moving the projection window: the
// tile's first pixel begins at world tileOrigin.
void PlaceTile(IDirect3DDevice9* device, const ProbePattern& pattern, int tileX, int tileY) {
    const int tile = pattern.gridSize + 1;
    const float side = static_cast<float>(ProbeImageSide(pattern));
    const float xc = static_cast<float>(pattern.tileOriginX + 0.5 + tile - tileX * tile);
    const float yc = static_cast<float>(pattern.tileOriginY + 0.5 + tile - tileY * tile);
    const D3DMATRIX projection = OrthoProjection(xc - side * 0.5f, xc + side * 0.5f,
                                                 yc + side * 0.5f, yc - side * 0.5f, 0.0f, 1.0f);
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
    device->SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device->SetRenderState(D3DRS_ALPHAREF, 0x80);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
    device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
    device->SetStreamSource(0, objects.quad.Get(), 0, sizeof(TexturedVertex));
    for (int ty = 0; ty < 2; ++ty) {
        for (int tx = 0; tx < 2; ++tx) {
            PlaceTile(device, pattern, tx, ty);
            device->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2);
        }
    }
}

// The device's render target, depth surface and every state, as the caller had them.
class SavedDeviceState {
public:
    explicit SavedDeviceState(IDirect3DDevice9* device) : device_(device) {
        if (SUCCEEDED(device->CreateStateBlock(D3DSBT_ALL, &states_))) states_->Capture();
        device->GetRenderTarget(0, &renderTarget_);
        if (FAILED(device->GetDepthStencilSurface(&depthStencil_))) depthStencil_.Reset();
    }
    ~SavedDeviceState() {
        device_->SetRenderTarget(0, renderTarget_.Get());
        device_->SetDepthStencilSurface(depthStencil_.Get());
        // After the render target: setting one resets the viewport, which the block restores.
        if (states_) states_->Apply();
    }
    SavedDeviceState(const SavedDeviceState&) = delete;
    SavedDeviceState& operator=(const SavedDeviceState&) = delete;

private:
    IDirect3DDevice9* device_;
    ComPtr<IDirect3DStateBlock9> states_;
    ComPtr<IDirect3DSurface9> renderTarget_;
    ComPtr<IDirect3DSurface9> depthStencil_;
};

enum class Picture { Points, TexturedPoints };

struct Pass {
    Picture picture;
    DWORD mask;
};

// Draws every pass and resolves each into its cell of the resolved target.
HRESULT DrawPasses(IDirect3DDevice9* device, const ProbePattern& pattern,
                   const ProbeObjects& objects, const std::vector<Pass>& passes, UINT columns) {
    const LONG side = ProbeImageSide(pattern);
    SavedDeviceState saved(device);
    HRESULT hr = device->SetRenderTarget(0, objects.multisampled.Get());
    if (FAILED(hr)) return hr;
    device->SetDepthStencilSurface(nullptr);
    SetProbeStates(device);
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
        const LONG column = static_cast<LONG>(k % columns);
        const LONG row = static_cast<LONG>(k / columns);
        const RECT cell = {column * side, row * side, (column + 1) * side, (row + 1) * side};
        hr = device->StretchRect(objects.multisampled.Get(), nullptr, objects.resolved.Get(),
                                 &cell, D3DTEXF_NONE);
    }
    return hr;
}

}  // namespace

HRESULT MeasureSamplePositions(IDirect3DDevice9* device, SampleMeasurement* measurement) {
    if (device == nullptr || measurement == nullptr) return E_INVALIDARG;
    const auto start = std::chrono::steady_clock::now();

    ComPtr<IDirect3DSwapChain9> chain;
    D3DPRESENT_PARAMETERS present = {};
    HRESULT hr = device->GetSwapChain(0, &chain);
    if (SUCCEEDED(hr)) hr = chain->GetPresentParameters(&present);
    if (FAILED(hr)) return hr;
    D3DFORMAT format = present.BackBufferFormat;
    if (format == D3DFMT_UNKNOWN) {
        D3DDISPLAYMODE mode = {};
        if (FAILED(hr = device->GetDisplayMode(0, &mode))) return hr;
        format = mode.Format;
    }
    ChannelLayout channel;
    if (!GreenChannel(format, &channel)) return D3DERR_NOTAVAILABLE;
    const D3DMULTISAMPLE_TYPE type = present.MultiSampleType;
    const bool maskable = type != D3DMULTISAMPLE_NONE && type != D3DMULTISAMPLE_NONMASKABLE;

    const ProbePattern pattern = ChooseProbePattern(0.0);
    std::vector<Pass> passes;
    if (maskable) {
        for (int bit = 0; bit < static_cast<int>(type); ++bit) {
            passes.push_back({Picture::Points, 1u << bit});
        }
    }
    passes.push_back({Picture::Points, 0xFFFFFFFF});
    passes.push_back({Picture::TexturedPoints, 0xFFFFFFFF});
    const UINT columns = static_cast<UINT>(std::min<size_t>(passes.size(), 8));
    const UINT rows = static_cast<UINT>((passes.size() + columns - 1) / columns);

    ProbeObjects objects;
    hr = CreateObjects(device, pattern, format, type, present.MultiSampleQuality, columns, rows,
                       &objects);
    if (SUCCEEDED(hr)) hr = DrawPasses(device, pattern, objects, passes, columns);
    if (SUCCEEDED(hr)) hr = device->GetRenderTargetData(objects.resolved.Get(), objects.readBack.Get());
    D3DLOCKED_RECT locked = {};
    if (SUCCEEDED(hr)) hr = objects.readBack->LockRect(&locked, nullptr, D3DLOCK_READONLY);
    if (FAILED(hr)) return hr;

    ProbeImages images;
    images.pattern = pattern;
    images.multisampleType = static_cast<int>(type);
    images.multisampleQuality = present.MultiSampleQuality;
    images.maskable = maskable;
    images.sampleCount = maskable ? static_cast<int>(type) : (type == D3DMULTISAMPLE_NONE ? 1 : 0);
    const int side = ProbeImageSide(pattern);
    for (size_t k = 0; k < passes.size(); ++k) {
        const int column = static_cast<int>(k % columns);
        const int row = static_cast<int>(k / columns);
        const BYTE* cell = static_cast<const BYTE*>(locked.pBits) +
                           static_cast<size_t>(row) * side * locked.Pitch +
                           static_cast<size_t>(column) * side * channel.bytesPerPixel;
        IntensityImage image = IntensityFromPixels(cell, side, side, locked.Pitch,
                                                   channel.bytesPerPixel, channel.shift,
                                                   channel.bits);
        if (passes[k].picture == Picture::TexturedPoints) {
            images.texture = std::move(image);
        } else if (passes[k].mask == 0xFFFFFFFF) {
            images.allBits = std::move(image);
        } else {
            images.bitMaps.push_back(std::move(image));
        }
    }
    objects.readBack->UnlockRect();

    DecodeSamplePositions(images, measurement);
    measurement->milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return S_OK;
}
