// The back-buffer formats a kept frame can come in, widened to A8R8G8B8.
#include "image/image_pixels.h"

#include <cstring>

#include "image/texel_channels.h"

namespace {

// A channel of bits wide at shift, scaled to 0..255 with rounding.
BYTE Scaled(DWORD pixel, int shift, int bits) {
    const DWORD largest = (1u << bits) - 1;
    const DWORD value = (pixel >> shift) & largest;
    return static_cast<BYTE>((value * 255 + largest / 2) / largest);
}

DWORD Argb(BYTE r, BYTE g, BYTE b) { return 0xFF000000u | DWORD{r} << 16 | DWORD{g} << 8 | b; }

BYTE Clamped(float value) {
    if (!(value > 0.0f)) return 0;  // NaN as well
    if (value >= 1.0f) return 255;
    return static_cast<BYTE>(value * 255.0f + 0.5f);
}

// Any other pictured format, channel by channel through its layout.
void WidenRowByChannels(D3DFORMAT format, const BYTE* row, UINT width, DWORD* out) {
    ChannelLayout red, green, blue;
    static_cast<void>(ChannelOf(format, Channel::Red, &red));
    const bool hasGreen = ChannelOf(format, Channel::Green, &green);
    const bool hasBlue = ChannelOf(format, Channel::Blue, &blue);
    for (UINT x = 0; x < width; ++x) {
        const BYTE* texel = row + static_cast<size_t>(x) * red.bytesPerPixel;
        const BYTE r = Clamped(ChannelValue(texel, red));
        if (!hasGreen) {
            out[x] = Argb(r, r, r);
            continue;
        }
        out[x] = Argb(r, Clamped(ChannelValue(texel, green)), hasBlue ? Clamped(ChannelValue(texel, blue)) : 0);
    }
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
    return IsKeptFrameFormat(format) || ChannelOf(format, Channel::Red, &red);
}

bool WidenRowToArgb(D3DFORMAT format, const BYTE* row, UINT width, DWORD* out) {
    if (!IsKeptFrameFormat(format)) {
        if (!IsPicturedFormat(format)) return false;
        WidenRowByChannels(format, row, width, out);
        return true;
    }
    for (UINT x = 0; x < width; ++x) {
        DWORD pixel = 0;
        const bool wide = format == D3DFMT_X8R8G8B8 || format == D3DFMT_A8R8G8B8 || format == D3DFMT_A2R10G10B10;
        std::memcpy(&pixel, row + x * (wide ? 4 : 2), wide ? 4 : 2);
        switch (format) {
        case D3DFMT_A2R10G10B10:
            out[x] = Argb(Scaled(pixel, 20, 10), Scaled(pixel, 10, 10), Scaled(pixel, 0, 10));
            break;
        case D3DFMT_R5G6B5:
            out[x] = Argb(Scaled(pixel, 11, 5), Scaled(pixel, 5, 6), Scaled(pixel, 0, 5));
            break;
        case D3DFMT_X1R5G5B5:
        case D3DFMT_A1R5G5B5:
            out[x] = Argb(Scaled(pixel, 10, 5), Scaled(pixel, 5, 5), Scaled(pixel, 0, 5));
            break;
        default:
            out[x] = pixel | 0xFF000000u;
            break;
        }
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
