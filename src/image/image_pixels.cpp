// The formats a kept frame or a picture can come in, widened to A8R8G8B8 through their channels.
#include "image/image_pixels.h"

#include "image/texel_channels.h"

namespace {

DWORD Argb(BYTE r, BYTE g, BYTE b) { return 0xFF000000u | DWORD{r} << 16 | DWORD{g} << 8 | b; }

BYTE Clamped(float value) {
    if (!(value > 0.0f)) return 0;  // NaN as well
    if (value >= 1.0f) return 255;
    return static_cast<BYTE>(value * 255.0f + 0.5f);
}

}  // namespace

bool IsKeptFrameFormat(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_X8R8G8B8:
    case D3DFMT_A8R8G8B8:
    case D3DFMT_A2R10G10B10:
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
    case D3DFMT_A1R5G5B5:
        return true;
    default:
        return false;
    }
}

bool IsPicturedFormat(D3DFORMAT format) {
    ChannelLayout red;
    return ChannelOf(format, Channel::Red, &red);
}

bool WidenRowToArgb(D3DFORMAT format, const BYTE* row, UINT width, DWORD* out) {
    ChannelLayout red, green, blue;
    if (!ChannelOf(format, Channel::Red, &red)) return false;
    const bool hasGreen = ChannelOf(format, Channel::Green, &green);
    const bool hasBlue = ChannelOf(format, Channel::Blue, &blue);
    for (UINT x = 0; x < width; ++x) {
        const BYTE* texel = row + static_cast<size_t>(x) * red.bytesPerPixel;
        const BYTE r = Clamped(ChannelValue(texel, red));
        out[x] = !hasGreen ? Argb(r, r, r)
                           : Argb(r, Clamped(ChannelValue(texel, green)), hasBlue ? Clamped(ChannelValue(texel, blue)) : 0);
    }
    return true;
}

HRESULT ReadSurfaceArgb(IDirect3DSurface9* surface, const RECT& rect, std::vector<DWORD>* pixels) {
    if (!surface || !pixels) return E_POINTER;
    D3DSURFACE_DESC desc = {};
    HRESULT result = surface->GetDesc(&desc);
    if (FAILED(result)) return result;
    if (!IsPicturedFormat(desc.Format)) return D3DERR_INVALIDCALL;
    const UINT width = static_cast<UINT>(rect.right - rect.left);
    const UINT height = static_cast<UINT>(rect.bottom - rect.top);
    D3DLOCKED_RECT locked = {};
    result = surface->LockRect(&locked, &rect, D3DLOCK_READONLY);
    if (FAILED(result)) return result;
    pixels->assign(static_cast<size_t>(width) * height, 0);
    for (UINT y = 0; y < height; ++y) {
        static_cast<void>(WidenRowToArgb(desc.Format, static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch,
                                         width, pixels->data() + static_cast<size_t>(y) * width));
    }
    return surface->UnlockRect();
}
