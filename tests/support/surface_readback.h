// What a real device's back buffer holds as the screen would show it: resolved into a plain
// render target, then read back through GetRenderTargetData into system memory.
#pragma once

#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <algorithm>
#include <vector>

namespace test_support {

struct Picture {
    UINT width = 0;
    UINT height = 0;
    std::vector<DWORD> pixels;  // A8R8G8B8 or X8R8G8B8, top row first

    DWORD At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x] & 0xFFFFFF; }
    int Red(int x, int y) const { return (At(x, y) >> 16) & 0xFF; }
    int Green(int x, int y) const { return (At(x, y) >> 8) & 0xFF; }
    int Blue(int x, int y) const { return At(x, y) & 0xFF; }
};

inline Picture ReadBack(IDirect3DDevice9* device) {
    using Microsoft::WRL::ComPtr;
    Picture picture;
    ComPtr<IDirect3DSurface9> back;
    if (FAILED(device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &back))) return picture;
    D3DSURFACE_DESC desc = {};
    back->GetDesc(&desc);
    ComPtr<IDirect3DSurface9> resolved;
    ComPtr<IDirect3DSurface9> system;
    if (FAILED(device->CreateRenderTarget(desc.Width, desc.Height, desc.Format,
                                          D3DMULTISAMPLE_NONE, 0, FALSE, &resolved, nullptr)) ||
        FAILED(device->StretchRect(back.Get(), nullptr, resolved.Get(), nullptr, D3DTEXF_NONE)) ||
        FAILED(device->CreateOffscreenPlainSurface(desc.Width, desc.Height, desc.Format,
                                                   D3DPOOL_SYSTEMMEM, &system, nullptr)) ||
        FAILED(device->GetRenderTargetData(resolved.Get(), system.Get()))) {
        return picture;
    }
    D3DLOCKED_RECT locked = {};
    if (FAILED(system->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return picture;
    picture.width = desc.Width;
    picture.height = desc.Height;
    picture.pixels.resize(static_cast<size_t>(desc.Width) * desc.Height);
    for (UINT y = 0; y < desc.Height; ++y) {
        const DWORD* row =
            reinterpret_cast<const DWORD*>(static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch);
        std::copy(row, row + desc.Width, picture.pixels.begin() + static_cast<size_t>(y) * desc.Width);
    }
    system->UnlockRect();
    return picture;
}

}  // namespace test_support
