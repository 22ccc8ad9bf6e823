// Reading a frame back from the back buffer through a resolve into a plain render target.
#include "viewer/resolved_back_buffer.h"

#include <wrl/client.h>

using Microsoft::WRL::ComPtr;

HRESULT ReadResolvedBackBuffer(IDirect3DDevice9* device, IDirect3DSurface9** copy) {
    if (!device || !copy) return E_POINTER;
    ComPtr<IDirect3DSurface9> backBuffer;
    HRESULT result = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, backBuffer.GetAddressOf());
    if (FAILED(result)) return result;
    D3DSURFACE_DESC desc = {};
    result = backBuffer->GetDesc(&desc);
    if (FAILED(result)) return result;

    // A multisampled surface cannot be read back directly; a plain one of the same size and
    // format takes the resolve. Both are made per call: the device's reset cycle never sees them.
    ComPtr<IDirect3DSurface9> resolved;
    result = device->CreateRenderTarget(desc.Width, desc.Height, desc.Format, D3DMULTISAMPLE_NONE, 0, FALSE,
                                        resolved.GetAddressOf(), nullptr);
    if (FAILED(result)) return result;
    result = device->StretchRect(backBuffer.Get(), nullptr, resolved.Get(), nullptr, D3DTEXF_NONE);
    if (FAILED(result)) return result;

    ComPtr<IDirect3DSurface9> pixels;
    result = device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format, D3DPOOL_SYSTEMMEM,
                                                 pixels.GetAddressOf(), nullptr);
    if (FAILED(result)) return result;
    result = device->GetRenderTargetData(resolved.Get(), pixels.Get());
    if (FAILED(result)) return result;
    *copy = pixels.Detach();
    return S_OK;
}
