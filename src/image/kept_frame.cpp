// The picture as the device drew it, resolved, read back and shown again through GDI.
#include "image/kept_frame.h"

#include <wrl/client.h>

#include <vector>

#include "image/image_pixels.h"

namespace {

using Microsoft::WRL::ComPtr;

bool SameSizeAndFormat(const D3DSURFACE_DESC& a, const D3DSURFACE_DESC& b) {
    return a.Width == b.Width && a.Height == b.Height && a.Format == b.Format;
}

}  // namespace

HRESULT CreateResolveTarget(IDirect3DDevice9* device, const D3DSURFACE_DESC& backBuffer,
                            IDirect3DSurface9** target) {
    if (!device || !target) return E_POINTER;
    *target = nullptr;
    if (!IsKeptFrameFormat(backBuffer.Format)) return D3DERR_INVALIDCALL;
    return device->CreateRenderTarget(backBuffer.Width, backBuffer.Height, backBuffer.Format,
                                      D3DMULTISAMPLE_NONE, 0, FALSE, target, nullptr);
}

HRESULT ResolveBackBuffer(IDirect3DDevice9* device, IDirect3DSurface9* target) {
    if (!device || !target) return E_POINTER;
    ComPtr<IDirect3DSurface9> backBuffer;
    HRESULT result = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    if (FAILED(result)) return result;
    // The whole of both: a back buffer that changed size since the target was made fails here.
    return device->StretchRect(backBuffer.Get(), nullptr, target, nullptr, D3DTEXF_NONE);
}

HRESULT ReadBackResolved(IDirect3DDevice9* device, IDirect3DSurface9* resolved, IDirect3DSurface9** copy) {
    if (!device || !resolved || !copy) return E_POINTER;
    D3DSURFACE_DESC source = {};
    HRESULT result = resolved->GetDesc(&source);
    if (FAILED(result)) return result;
    D3DSURFACE_DESC kept = {};
    if (*copy == nullptr || FAILED((*copy)->GetDesc(&kept)) || !SameSizeAndFormat(kept, source)) {
        ComPtr<IDirect3DSurface9> replacement;
        result = device->CreateOffscreenPlainSurface(source.Width, source.Height, source.Format,
                                                     D3DPOOL_SYSTEMMEM, &replacement, nullptr);
        if (FAILED(result)) return result;
        result = device->GetRenderTargetData(resolved, replacement.Get());
        if (FAILED(result)) return result;
        if (*copy) (*copy)->Release();
        *copy = replacement.Detach();
        return S_OK;
    }
    return device->GetRenderTargetData(resolved, *copy);
}

HRESULT ReadResolvedBackBuffer(IDirect3DDevice9* device, IDirect3DSurface9** copy) {
    if (!device || !copy) return E_POINTER;
    ComPtr<IDirect3DSurface9> backBuffer;
    HRESULT result = device->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer);
    if (FAILED(result)) return result;
    D3DSURFACE_DESC desc = {};
    result = backBuffer->GetDesc(&desc);
    if (FAILED(result)) return result;
    ComPtr<IDirect3DSurface9> resolved;
    result = CreateResolveTarget(device, desc, &resolved);
    if (FAILED(result)) return result;
    result = ResolveBackBuffer(device, resolved.Get());
    if (FAILED(result)) return result;
    IDirect3DSurface9* pixels = nullptr;
    result = ReadBackResolved(device, resolved.Get(), &pixels);
    if (FAILED(result)) return result;
    *copy = pixels;
    return S_OK;
}

HRESULT PaintKeptFrame(HDC context, IDirect3DSurface9* copy) {
    if (!context || !copy) return E_POINTER;
    D3DSURFACE_DESC desc = {};
    HRESULT result = copy->GetDesc(&desc);
    if (FAILED(result)) return result;
    const RECT whole = {0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
    std::vector<DWORD> pixels;
    result = ReadSurfaceArgb(copy, whole, &pixels);
    if (FAILED(result)) return result;

    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = static_cast<LONG>(desc.Width);
    info.bmiHeader.biHeight = -static_cast<LONG>(desc.Height);  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    const int lines = SetDIBitsToDevice(context, 0, 0, desc.Width, desc.Height, 0, 0, 0, desc.Height,
                                        pixels.data(), &info, DIB_RGB_COLORS);
    return lines == static_cast<int>(desc.Height) ? S_OK : E_FAIL;
}
