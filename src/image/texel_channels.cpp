// The render-target formats' channel layouts and the conversion of one texel's channel.
#include "image/texel_channels.h"

#include <cmath>
#include <cstring>

namespace {

constexpr ChannelLayout U(int bytes, int shift, int bits) { return {bytes, 0, shift, bits, ChannelEncoding::Unorm}; }
constexpr ChannelLayout U16(int bytes, int offset) { return {bytes, offset, 0, 16, ChannelEncoding::Unorm}; }
constexpr ChannelLayout H(int bytes, int offset) { return {bytes, offset, 0, 16, ChannelEncoding::Half}; }
constexpr ChannelLayout F(int bytes, int offset) { return {bytes, offset, 0, 32, ChannelEncoding::Float}; }
constexpr ChannelLayout None() { return {}; }

struct FormatLayout {
    D3DFORMAT format;
    ChannelLayout channels[4];  // red, green, blue, alpha; bits 0 where the format has none
};

const FormatLayout kLayouts[] = {
    {D3DFMT_A8R8G8B8, {U(4, 16, 8), U(4, 8, 8), U(4, 0, 8), U(4, 24, 8)}},
    {D3DFMT_X8R8G8B8, {U(4, 16, 8), U(4, 8, 8), U(4, 0, 8), None()}},
    {D3DFMT_A8B8G8R8, {U(4, 0, 8), U(4, 8, 8), U(4, 16, 8), U(4, 24, 8)}},
    {D3DFMT_X8B8G8R8, {U(4, 0, 8), U(4, 8, 8), U(4, 16, 8), None()}},
    {D3DFMT_A2R10G10B10, {U(4, 20, 10), U(4, 10, 10), U(4, 0, 10), U(4, 30, 2)}},
    {D3DFMT_A2B10G10R10, {U(4, 0, 10), U(4, 10, 10), U(4, 20, 10), U(4, 30, 2)}},
    {D3DFMT_R5G6B5, {U(2, 11, 5), U(2, 5, 6), U(2, 0, 5), None()}},
    {D3DFMT_X1R5G5B5, {U(2, 10, 5), U(2, 5, 5), U(2, 0, 5), None()}},
    {D3DFMT_A1R5G5B5, {U(2, 10, 5), U(2, 5, 5), U(2, 0, 5), U(2, 15, 1)}},
    {D3DFMT_A4R4G4B4, {U(2, 8, 4), U(2, 4, 4), U(2, 0, 4), U(2, 12, 4)}},
    {D3DFMT_X4R4G4B4, {U(2, 8, 4), U(2, 4, 4), U(2, 0, 4), None()}},
    {D3DFMT_R3G3B2, {U(1, 5, 3), U(1, 2, 3), U(1, 0, 2), None()}},
    {D3DFMT_A8R3G3B2, {U(2, 5, 3), U(2, 2, 3), U(2, 0, 2), U(2, 8, 8)}},
    {D3DFMT_G16R16, {U16(4, 0), U16(4, 2), None(), None()}},
    {D3DFMT_A16B16G16R16, {U16(8, 0), U16(8, 2), U16(8, 4), U16(8, 6)}},
    {D3DFMT_R16F, {H(2, 0), None(), None(), None()}},
    {D3DFMT_G16R16F, {H(4, 0), H(4, 2), None(), None()}},
    {D3DFMT_A16B16G16R16F, {H(8, 0), H(8, 2), H(8, 4), H(8, 6)}},
    {D3DFMT_R32F, {F(4, 0), None(), None(), None()}},
    {D3DFMT_G32R32F, {F(8, 0), F(8, 4), None(), None()}},
    {D3DFMT_A32B32G32R32F, {F(16, 0), F(16, 4), F(16, 8), F(16, 12)}},
};

}  // namespace

bool ChannelOf(D3DFORMAT format, Channel channel, ChannelLayout* layout) {
    for (const FormatLayout& entry : kLayouts) {
        if (entry.format != format) continue;
        const ChannelLayout& found = entry.channels[static_cast<int>(channel)];
        if (found.bits == 0) return false;
        *layout = found;
        return true;
    }
    return false;
}

float HalfToFloat(WORD half) {
    const int sign = (half >> 15) & 1;
    const int exponent = (half >> 10) & 0x1F;
    const int mantissa = half & 0x3FF;
    float value;
    if (exponent == 0) {
        value = std::ldexp(static_cast<float>(mantissa), -24);  // subnormal
    } else if (exponent == 31) {
        value = mantissa == 0 ? HUGE_VALF : NAN;
    } else {
        value = std::ldexp(static_cast<float>(mantissa | 0x400), exponent - 25);
    }
    return sign ? -value : value;
}

float ChannelValue(const BYTE* texel, const ChannelLayout& layout) {
    const BYTE* word = texel + layout.offset;
    switch (layout.encoding) {
    case ChannelEncoding::Half: {
        WORD half = 0;
        std::memcpy(&half, word, sizeof(half));
        return HalfToFloat(half);
    }
    case ChannelEncoding::Float: {
        float value = 0.0f;
        std::memcpy(&value, word, sizeof(value));
        return value;
    }
    case ChannelEncoding::Unorm:
        break;
    }
    DWORD pixel = 0;
    const int bytes = layout.bytesPerPixel - layout.offset < 4 ? layout.bytesPerPixel - layout.offset : 4;
    std::memcpy(&pixel, word, static_cast<size_t>(bytes));
    const DWORD largest = static_cast<DWORD>(ChannelSteps(layout));
    return static_cast<float>((pixel >> layout.shift) & largest) / static_cast<float>(largest);
}

int ChannelSteps(const ChannelLayout& layout) {
    switch (layout.encoding) {
    case ChannelEncoding::Half: return 1 << 11;
    case ChannelEncoding::Float: return 1 << 24;
    case ChannelEncoding::Unorm: break;
    }
    return static_cast<int>((1u << layout.bits) - 1);
}
