// Where each render-target format keeps its colour channels, and one channel of one texel read in
// the format's own units: unsigned normalised channels as 0 .. 1 in their own steps, float
// channels as the floats stored, above 1.0 and below 0 included.
#pragma once

#include <windows.h>
#include <d3d9.h>

enum class Channel { Red, Green, Blue, Alpha };

enum class ChannelEncoding { Unorm, Half, Float };

// One channel of a format: the pixel's size, the byte its word starts at, and within that word
// the shift and width of an unsigned normalised channel (a float channel fills its word).
struct ChannelLayout {
    int bytesPerPixel = 0;
    int offset = 0;
    int shift = 0;
    int bits = 0;
    ChannelEncoding encoding = ChannelEncoding::Unorm;
};

// False for a format the read-back does not know, or one without the channel.
bool ChannelOf(D3DFORMAT format, Channel channel, ChannelLayout* layout);

// The channel of the texel at texel, in the format's own units (see above).
float ChannelValue(const BYTE* texel, const ChannelLayout& layout);

// The steps a value of the channel is counted in: its largest value for an unsigned normalised
// channel (255 for 8 bits, 31 for 5), and for a float one the steps of its mantissa just below 1.0
// (2048 for 16-bit floats, 2^24 for 32-bit ones), where a resolve's fractions of 1.0 fall.
int ChannelSteps(const ChannelLayout& layout);

// A 16-bit float (1 sign, 5 exponent, 10 mantissa bits) as a float.
float HalfToFloat(WORD half);
