// The probes' shared surfaces, read-back and saved-state guard.
#include "analysis/probing/probe_target.h"

#include <utility>

#include "pattern/ortho_projection.h"
#include "pattern/pass_states.h"

HRESULT DescribeProbeTarget(IDirect3DDevice9* device, ProbeTarget* target, D3DFORMAT renderTargetFormat) {
    Microsoft::WRL::ComPtr<IDirect3DSwapChain9> chain;
    D3DPRESENT_PARAMETERS present = {};
    HRESULT hr = device->GetSwapChain(0, &chain);
    if (SUCCEEDED(hr)) hr = chain->GetPresentParameters(&present);
    if (FAILED(hr)) return hr;
    target->format = present.BackBufferFormat;
    if (target->format == D3DFMT_UNKNOWN) {
        D3DDISPLAYMODE mode = {};
        if (FAILED(hr = device->GetDisplayMode(0, &mode))) return hr;
        target->format = mode.Format;
    }
    target->type = present.MultiSampleType;
    target->quality = present.MultiSampleQuality;
    target->renderTargetFormat = renderTargetFormat == D3DFMT_UNKNOWN ? target->format : renderTargetFormat;
    return S_OK;
}

HRESULT CheckDeviceSurfaceFormat(IDirect3DDevice9* device, DWORD usage, D3DFORMAT format) {
    return CheckDeviceResourceFormat(device, usage, D3DRTYPE_SURFACE, format);
}

HRESULT CheckDeviceResourceFormat(IDirect3DDevice9* device, DWORD usage, D3DRESOURCETYPE resource,
                                  D3DFORMAT format) {
    Microsoft::WRL::ComPtr<IDirect3D9> direct3d;
    D3DDEVICE_CREATION_PARAMETERS creation = {};
    D3DDISPLAYMODE mode = {};
    HRESULT hr = device->GetDirect3D(&direct3d);
    if (SUCCEEDED(hr)) hr = device->GetCreationParameters(&creation);
    if (SUCCEEDED(hr)) hr = device->GetDisplayMode(0, &mode);
    if (FAILED(hr)) return hr;
    return direct3d->CheckDeviceFormat(creation.AdapterOrdinal, creation.DeviceType, mode.Format, usage, resource,
                                       format);
}

bool IntensityChannel(D3DFORMAT format, ChannelLayout* layout) {
    return ChannelOf(format, Channel::Green, layout) || ChannelOf(format, Channel::Red, layout);
}

HRESULT CreateProbeSurfaces(IDirect3DDevice9* device, const ProbeTarget& target, UINT cellWidth,
                            UINT cellHeight, UINT cells, ProbeSurfaces* surfaces) {
    surfaces->cellWidth = cellWidth;
    surfaces->cellHeight = cellHeight;
    surfaces->columns = cells < 8 ? (cells == 0 ? 1 : cells) : 8;
    const UINT rows = (cells + surfaces->columns - 1) / surfaces->columns;
    const UINT width = surfaces->TargetWidth();
    const UINT height = surfaces->TargetHeight();
    HRESULT hr = device->CreateRenderTarget(width, height, target.DrawnFormat(), target.type, target.quality, FALSE,
                                            &surfaces->multisampled, nullptr);
    if (SUCCEEDED(hr)) {
        hr = device->CreateRenderTarget(width * surfaces->columns, height * rows, target.DrawnFormat(),
                                        D3DMULTISAMPLE_NONE, 0, FALSE, &surfaces->resolved, nullptr);
    }
    if (SUCCEEDED(hr)) {
        hr = device->CreateOffscreenPlainSurface(width * surfaces->columns, height * rows, target.DrawnFormat(),
                                                 D3DPOOL_SYSTEMMEM, &surfaces->readBack, nullptr);
    }
    return hr;
}

HRESULT ResolveIntoCell(IDirect3DDevice9* device, const ProbeSurfaces& surfaces, size_t cell) {
    const LONG column = static_cast<LONG>(cell % surfaces.columns);
    const LONG row = static_cast<LONG>(cell / surfaces.columns);
    // The whole target with its margin: a resolve of part of a multisampled surface is not
    // something every implementation does.
    const LONG w = static_cast<LONG>(surfaces.TargetWidth());
    const LONG h = static_cast<LONG>(surfaces.TargetHeight());
    const RECT rect = {column * w, row * h, (column + 1) * w, (row + 1) * h};
    return device->StretchRect(surfaces.multisampled.Get(), nullptr, surfaces.resolved.Get(), &rect,
                               D3DTEXF_NONE);
}

ProbeReadBack::ProbeReadBack(ProbeReadBack&& other) noexcept
    : locked_(std::exchange(other.locked_, nullptr)),
      surfaces_(std::exchange(other.surfaces_, nullptr)),
      rect_(std::exchange(other.rect_, D3DLOCKED_RECT{})) {}

ProbeReadBack& ProbeReadBack::operator=(ProbeReadBack&& other) noexcept {
    if (this != &other) {
        Unlock();
        locked_ = std::exchange(other.locked_, nullptr);
        surfaces_ = std::exchange(other.surfaces_, nullptr);
        rect_ = std::exchange(other.rect_, D3DLOCKED_RECT{});
    }
    return *this;
}

ProbeReadBack::~ProbeReadBack() { Unlock(); }

void ProbeReadBack::Unlock() {
    if (locked_) locked_->UnlockRect();
    locked_ = nullptr;
    surfaces_ = nullptr;
    rect_ = {};
}

HRESULT ProbeReadBack::Read(IDirect3DDevice9* device, const ProbeSurfaces& surfaces) {
    // A second read locks the surface anew, so the first lock goes before it.
    Unlock();
    HRESULT hr = device->GetRenderTargetData(surfaces.resolved.Get(), surfaces.readBack.Get());
    if (SUCCEEDED(hr)) hr = surfaces.readBack->LockRect(&rect_, nullptr, D3DLOCK_READONLY);
    if (SUCCEEDED(hr)) {
        locked_ = surfaces.readBack.Get();
        surfaces_ = &surfaces;
    }
    return hr;
}

IntensityImage ProbeReadBack::Cell(size_t cell, const ChannelLayout& channel) const {
    if (!locked_) return IntensityImage();
    const size_t column = cell % surfaces_->columns;
    const size_t row = cell / surfaces_->columns;
    const size_t top = row * surfaces_->TargetHeight() + kProbeMargin;
    const size_t left = column * surfaces_->TargetWidth() + kProbeMargin;
    const BYTE* first = static_cast<const BYTE*>(rect_.pBits) + top * rect_.Pitch + left * channel.bytesPerPixel;
    IntensityImage image;
    image.width = static_cast<int>(surfaces_->cellWidth);
    image.height = static_cast<int>(surfaces_->cellHeight);
    image.levels = ChannelSteps(channel);
    image.values.resize(static_cast<size_t>(image.width) * image.height);
    for (int y = 0; y < image.height; ++y) {
        const BYTE* texel = first + static_cast<size_t>(y) * rect_.Pitch;
        for (int x = 0; x < image.width; ++x, texel += channel.bytesPerPixel) {
            image.values[static_cast<size_t>(y) * image.width + x] = ChannelValue(texel, channel);
        }
    }
    return image;
}

SavedDeviceState::SavedDeviceState(IDirect3DDevice9* device) : device_(device) {
    if (SUCCEEDED(device->CreateStateBlock(D3DSBT_ALL, &states_))) states_->Capture();
    device->GetRenderTarget(0, &renderTarget_);
    if (FAILED(device->GetDepthStencilSurface(&depthStencil_))) depthStencil_.Reset();
}

SavedDeviceState::~SavedDeviceState() {
    device_->SetRenderTarget(0, renderTarget_.Get());
    device_->SetDepthStencilSurface(depthStencil_.Get());
    // After the render target: setting one resets the viewport, which the block restores.
    if (states_) states_->Apply();
}

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
