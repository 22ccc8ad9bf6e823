// What every off-screen probe draws into: a render target of the device's own back-buffer format,
// multisample type and quality, a plain target its pictures are resolved into, and a system-memory
// copy they are read back through, with the caller's device state kept around the drawing.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include "analysis/probing/multisample_mode.h"
#include "analysis/positions/sample_decoder.h"
#include "image/texel_channels.h"

// A probe draws in the mode of the device's swap chain 0: the multisample type and quality and the
// back buffer's format (the display's where the back buffer's is D3DFMT_UNKNOWN), as its present
// parameters give them, into render targets of renderTargetFormat: the back buffer's format, or the
// one asked for (another format the adapter multisamples at that type and quality).
using ProbeTarget = MultisampleMode;

HRESULT DescribeProbeTarget(IDirect3DDevice9* device, ProbeTarget* target,
                            D3DFORMAT renderTargetFormat = D3DFMT_UNKNOWN);

// CheckDeviceFormat on the device's own adapter, device type and display format: what the runtime
// says of a surface of format with usage (a capability query, or a driver's FOURCC convention).
HRESULT CheckDeviceSurfaceFormat(IDirect3DDevice9* device, DWORD usage, D3DFORMAT format);
// The same for another kind of resource: runtimes answer some queries for textures alone.
HRESULT CheckDeviceResourceFormat(IDirect3DDevice9* device, DWORD usage, D3DRESOURCETYPE resource,
                                  D3DFORMAT format);

// The channel a probe that draws white reads its intensities from: green, or red in a format
// without green (R16F, R32F). False for a format the read-back does not know.
bool IntensityChannel(D3DFORMAT format, ChannelLayout* layout);

// Pixels left empty on every side of a probe's picture. An implementation may clip where its own
// pixel-centre convention puts the target's edge rather than at the edge itself (DXVK on lavapipe
// loses the samples left of x = 0.5 in column 0 and above y = 0.5 in row 0), so no pixel a probe
// reads lies on an edge of the target it was drawn in. A probe draws its picture's pixel (x, y)
// at target pixel (x + kProbeMargin, y + kProbeMargin); the read-back hands out the picture alone.
constexpr int kProbeMargin = 1;

// The surfaces one measurement draws with: pictures of cellWidth x cellHeight pixels, each with
// its margin, columns x rows of them in the resolved target. Released when the measurement ends.
struct ProbeSurfaces {
    Microsoft::WRL::ComPtr<IDirect3DSurface9> multisampled;
    Microsoft::WRL::ComPtr<IDirect3DSurface9> resolved;
    Microsoft::WRL::ComPtr<IDirect3DSurface9> readBack;
    UINT cellWidth = 0;
    UINT cellHeight = 0;
    UINT columns = 1;

    // The multisampled target's size: the picture and its margin on both sides.
    UINT TargetWidth() const { return cellWidth + 2u * kProbeMargin; }
    UINT TargetHeight() const { return cellHeight + 2u * kProbeMargin; }
};

HRESULT CreateProbeSurfaces(IDirect3DDevice9* device, const ProbeTarget& target, UINT cellWidth,
                            UINT cellHeight, UINT cells, ProbeSurfaces* surfaces);

// Resolves the multisampled target into cell k of the resolved one.
HRESULT ResolveIntoCell(IDirect3DDevice9* device, const ProbeSurfaces& surfaces, size_t cell);

// Reads every cell back with one GetRenderTargetData (the device waits once) and hands each
// cell's picture of channel to take, cell by cell, without its margin, in the channel's own units
// and steps (a float channel's values as stored, above 1.0 included). It holds the read-back
// surface locked until it goes: one owner only, so moved rather than copied, and a moved-from one
// holds nothing.
class ProbeReadBack {
public:
    ProbeReadBack() = default;
    ProbeReadBack(const ProbeReadBack&) = delete;
    ProbeReadBack& operator=(const ProbeReadBack&) = delete;
    ProbeReadBack(ProbeReadBack&& other) noexcept;
    ProbeReadBack& operator=(ProbeReadBack&& other) noexcept;
    ~ProbeReadBack();

    HRESULT Read(IDirect3DDevice9* device, const ProbeSurfaces& surfaces);
    IntensityImage Cell(size_t cell, const ChannelLayout& channel) const;

private:
    void Unlock();

    IDirect3DSurface9* locked_ = nullptr;
    const ProbeSurfaces* surfaces_ = nullptr;
    D3DLOCKED_RECT rect_ = {};
};

// The device's render target, depth surface and every state, as the caller had them; restored
// when the guard goes. A probe opens one before it changes anything.
class SavedDeviceState {
public:
    explicit SavedDeviceState(IDirect3DDevice9* device);
    ~SavedDeviceState();
    SavedDeviceState(const SavedDeviceState&) = delete;
    SavedDeviceState& operator=(const SavedDeviceState&) = delete;

private:
    IDirect3DDevice9* device_;
    Microsoft::WRL::ComPtr<IDirect3DStateBlock9> states_;
    Microsoft::WRL::ComPtr<IDirect3DSurface9> renderTarget_;
    Microsoft::WRL::ComPtr<IDirect3DSurface9> depthStencil_;
};

// Every state a probe's pictures depend on, beyond the opening the viewer's passes share: no
// depth, stencil, fog, scissor, clipping planes, blending or sRGB writing; all channels written;
// multisampling on; fixed-function drawing with identity world and view.
void SetProbeStates(IDirect3DDevice9* device);
