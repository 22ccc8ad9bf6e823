// Each render-target format read back in its own channels and units: a known texel resolved into
// a 2 x 2 picture with its margin, read through the probes' read-back, channel by channel.
#include "analysis/probing/probe_target.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <vector>

#include "support/fake_device.h"
#include "support/present_parameters.h"

namespace {

constexpr float kNone = -99.0f;  // the format has no such channel

struct FormatCase {
    D3DFORMAT format;
    std::vector<DWORD> words;  // the texel, little-endian words of wordBytes each
    int wordBytes;
    float red, green, blue, alpha;
    int colourSteps;           // the steps of the channel IntensityChannel picks
};

const FormatCase kCases[] = {
    {D3DFMT_X8R8G8B8, {0x00FF8040}, 4, 1.0f, 128 / 255.0f, 64 / 255.0f, kNone, 255},
    {D3DFMT_A8R8G8B8, {0x80FF8040}, 4, 1.0f, 128 / 255.0f, 64 / 255.0f, 128 / 255.0f, 255},
    {D3DFMT_A8B8G8R8, {0x80402010}, 4, 16 / 255.0f, 32 / 255.0f, 64 / 255.0f, 128 / 255.0f, 255},
    // 10 bits a colour: 1023, 512, 1 and alpha 2 of 3.
    {D3DFMT_A2R10G10B10, {0xBFF80001}, 4, 1.0f, 512 / 1023.0f, 1 / 1023.0f, 2 / 3.0f, 1023},
    {D3DFMT_A2B10G10R10, {0x801803FF}, 4, 1.0f, 512 / 1023.0f, 1 / 1023.0f, 2 / 3.0f, 1023},
    // One step of the 6-bit green, the 5-bit red full, blue 16 of 31.
    {D3DFMT_R5G6B5, {0xF830}, 2, 1.0f, 1 / 63.0f, 16 / 31.0f, kNone, 63},
    {D3DFMT_X1R5G5B5, {0x87E1}, 2, 1 / 31.0f, 1.0f, 1 / 31.0f, kNone, 31},
    {D3DFMT_A16B16G16R16, {0xFFFF, 0x8000, 0x0001, 0x0000}, 2, 1.0f, 32768 / 65535.0f, 1 / 65535.0f, 0.0f, 65535},
    // Floats as stored: above 1.0 and below 0 too.
    {D3DFMT_A16B16G16R16F, {0x4100, 0x3A00, 0xBC00, 0x3C00}, 2, 2.5f, 0.75f, -1.0f, 1.0f, 2048},
    {D3DFMT_G16R16F, {0x3800, 0x4200}, 2, 0.5f, 3.0f, kNone, kNone, 2048},
    {D3DFMT_R16F, {0x3D00}, 2, 1.25f, kNone, kNone, kNone, 2048},  // red stands in for green
    {D3DFMT_A32B32G32R32F, {0x3FC00000, 0x3E800000, 0x3E000000, 0x42C80000}, 4, 1.5f, 0.25f, 0.125f, 100.0f,
     1 << 24},
};

TEST(FormatReadBack, EachListedFormatComesBackInItsOwnChannelsAndUnits) {
    for (const FormatCase& c : kCases) {
        SCOPED_TRACE(testing::Message() << "format " << c.format);
        fakes::FakeDevice device(test_support::WindowedPresentParameters(64, 64, D3DMULTISAMPLE_4_SAMPLES));
        const ProbeTarget target = {D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_X8R8G8B8, c.format};
        ProbeSurfaces surfaces;
        ASSERT_EQ(S_OK, CreateProbeSurfaces(&device, target, 2, 2, 1, &surfaces));
        // The texel at the picture's (1, 1), which is the target's (2, 2) inside its margin.
        fakes::FakeSurface* drawn = fakes::FakeSurface::From(surfaces.multisampled.Get());
        BYTE* texel = drawn->bytes.data() + 2 * drawn->pitch + 2 * drawn->bytesPerPixel;
        for (size_t w = 0; w < c.words.size(); ++w) std::memcpy(texel + w * c.wordBytes, &c.words[w], c.wordBytes);
        ASSERT_EQ(static_cast<int>(drawn->bytesPerPixel), static_cast<int>(c.words.size()) * c.wordBytes);
        ASSERT_EQ(S_OK, ResolveIntoCell(&device, surfaces, 0));
        ProbeReadBack readBack;
        ASSERT_EQ(S_OK, readBack.Read(&device, surfaces));

        const float expected[4] = {c.red, c.green, c.blue, c.alpha};
        for (Channel channel : {Channel::Red, Channel::Green, Channel::Blue, Channel::Alpha}) {
            ChannelLayout layout;
            const float want = expected[static_cast<int>(channel)];
            ASSERT_EQ(ChannelOf(c.format, channel, &layout), want != kNone) << static_cast<int>(channel);
            if (want == kNone) continue;
            const IntensityImage image = readBack.Cell(0, layout);
            ASSERT_EQ(image.width, 2);
            EXPECT_FLOAT_EQ(image.At(1, 1), want) << static_cast<int>(channel);
            EXPECT_EQ(image.At(0, 0) + image.At(1, 0) + image.At(0, 1), 0.0f);
        }
        ChannelLayout intensity;
        ASSERT_TRUE(IntensityChannel(c.format, &intensity));
        EXPECT_EQ(readBack.Cell(0, intensity).levels, c.colourSteps);
        EXPECT_FLOAT_EQ(readBack.Cell(0, intensity).At(1, 1), c.green != kNone ? c.green : c.red);
    }
    // The half floats no drawing here gives: the smallest subnormal, infinity; and formats without colour.
    EXPECT_EQ(HalfToFloat(0x0001), std::ldexp(1.0f, -24));
    EXPECT_EQ(HalfToFloat(0xFC00), -HUGE_VALF);
    ChannelLayout none;
    EXPECT_FALSE(ChannelOf(D3DFMT_L8, Channel::Red, &none) || IntensityChannel(D3DFMT_D24S8, &none));
}

}  // namespace
