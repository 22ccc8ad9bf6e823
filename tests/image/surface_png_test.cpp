// Saving a rectangle of a surface: the rectangle is clipped to the surface, locked read-only and
// unlocked again, and a rectangle that misses the surface, or a surface of another format,
// writes nothing.
#include "image/png_writer.h"

#include <gtest/gtest.h>
#include <wrl/client.h>

#include <cstring>
#include <string>
#include <vector>

#include "support/png_decode.h"
#include "support/scratch_folder.h"
#include "support/fake_device.h"

namespace {

using Microsoft::WRL::ComPtr;
using fakes::FakeDevice;
using fakes::FakeSurface;
using test_support::DecodeRgb;
using test_support::ReadFileBytes;
using test_support::ScratchFolder;

constexpr UINT kWidth = 64;
constexpr UINT kHeight = 48;

DWORD PatternAt(UINT x, UINT y) {
    return 0x7F000000u | ((x * 4) << 16) | ((y * 5) << 8) | ((x + y) & 0xFF);
}

class SurfacePngTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_EQ(device.CreateOffscreenPlainSurface(kWidth, kHeight, D3DFMT_A8R8G8B8,
                                                     D3DPOOL_SCRATCH, &surface, nullptr),
                  D3D_OK);
        fake = FakeSurface::From(surface.Get());
        ASSERT_NE(fake, nullptr);
        for (UINT y = 0; y < kHeight; ++y) {
            for (UINT x = 0; x < kWidth; ++x) {
                const DWORD value = PatternAt(x, y);
                memcpy(&fake->bytes[y * fake->pitch + x * 4], &value, 4);
            }
        }
    }

    // The file holds exactly the surface's pixels of `expected`, as RGB.
    void ExpectFileShows(const std::string& path, const RECT& expected) {
        const test_support::DecodedPng png = DecodeRgb(ReadFileBytes(path));
        ASSERT_TRUE(png.ok);
        ASSERT_EQ(png.width, UINT(expected.right - expected.left));
        ASSERT_EQ(png.height, UINT(expected.bottom - expected.top));
        int wrong = 0;
        for (UINT y = 0; y < png.height; ++y) {
            for (UINT x = 0; x < png.width; ++x) {
                const DWORD want = PatternAt(expected.left + x, expected.top + y);
                const BYTE* got = &png.rgb[(y * png.width + x) * 3];
                if (got[0] != BYTE(want >> 16) || got[1] != BYTE(want >> 8) ||
                    got[2] != BYTE(want)) {
                    ++wrong;
                }
            }
        }
        EXPECT_EQ(wrong, 0);
        EXPECT_FALSE(fake->locked);
        EXPECT_EQ(fake->lastLockFlags, DWORD(D3DLOCK_READONLY));
    }

    FakeDevice device;
    ComPtr<IDirect3DSurface9> surface;
    FakeSurface* fake = nullptr;
    ScratchFolder folder;
};

TEST_F(SurfacePngTest, RectanglesInsideTheSurfaceAreWrittenAsTheyAre) {
    const RECT inner = {10, 5, 30, 25};
    const std::string innerPath = folder.Path("inner.png");
    ASSERT_EQ(SaveSurfaceRectToPng(surface.Get(), inner, innerPath.c_str()), S_OK);
    ExpectFileShows(innerPath, inner);

    // Touching the right and bottom edges, and the whole surface.
    const RECT corner = {44, 28, LONG(kWidth), LONG(kHeight)};
    const std::string cornerPath = folder.Path("corner.png");
    ASSERT_EQ(SaveSurfaceRectToPng(surface.Get(), corner, cornerPath.c_str()), S_OK);
    ExpectFileShows(cornerPath, corner);
    const RECT whole = {0, 0, LONG(kWidth), LONG(kHeight)};
    const std::string wholePath = folder.Path("whole.png");
    ASSERT_EQ(SaveSurfaceRectToPng(surface.Get(), whole, wholePath.c_str()), S_OK);
    ExpectFileShows(wholePath, whole);
    EXPECT_EQ(device.misuseCount, 0) << device.lastMisuse;
}

TEST_F(SurfacePngTest, RectanglesPartlyOutsideAreClippedToTheSurface) {
    struct Case {
        RECT asked;
        RECT written;
    };
    const Case cases[] = {
        {{-10, 40, 20, 60}, {0, 40, 20, 48}},   // window hanging off the bottom-left
        {{50, -8, 90, 12}, {50, 0, 64, 12}},    // off the top-right
        {{-5, -5, 100, 100}, {0, 0, 64, 48}},   // larger than the surface
    };
    int n = 0;
    for (const Case& c : cases) {
        const std::string path = folder.Path("clipped" + std::to_string(n++) + ".png");
        ASSERT_EQ(SaveSurfaceRectToPng(surface.Get(), c.asked, path.c_str()), S_OK) << n;
        ExpectFileShows(path, c.written);
        EXPECT_TRUE(EqualRect(&fake->lastLockRect, &c.written)) << n;
    }
    EXPECT_EQ(device.misuseCount, 0) << device.lastMisuse;
}

TEST_F(SurfacePngTest, NothingIsWrittenForARectangleThatMissesTheSurface) {
    const RECT misses[] = {
        {64, 0, 80, 10},     // just right of it
        {-20, -20, 0, 0},    // just above-left
        {20, 20, 20, 30},    // empty
        {30, 30, 10, 10},    // inverted
    };
    const std::string path = folder.Path("never.png");
    for (const RECT& r : misses) {
        EXPECT_TRUE(FAILED(SaveSurfaceRectToPng(surface.Get(), r, path.c_str())));
    }
    EXPECT_EQ(fake->lockCount, 0);
    EXPECT_TRUE(folder.Names().empty());
}

// Two pixels of each format, as stored, and the 8-bit RGB the picture shows of them.
struct WideningCase {
    const char* name;
    D3DFORMAT format;
    std::vector<BYTE> stored;
    std::vector<BYTE> shown;
};

std::vector<BYTE> Bytes(const void* data, size_t size) {
    const BYTE* bytes = static_cast<const BYTE*>(data);
    return std::vector<BYTE>(bytes, bytes + size);
}

TEST_F(SurfacePngTest, EveryRenderTargetFormatIsWidenedToEightBitChannelsOfItsOwn) {
    const WORD r5g6b5[2] = {0xF800, 0x07EF};                 // full red; full green, blue 15 of 31
    const DWORD a2b10g10r10[2] = {0x3FF, 0x200u << 20};       // red in the low bits; blue 512 of 1023
    const WORD r16f[2] = {0x3800, 0x4400};                    // 0.5 grey; 4.0 clamped to white
    const WORD g16r16[4] = {0xFFFF, 0x0000, 0x0000, 0x8000};  // red; half green, never blue
    const float a32b32g32r32f[8] = {1.0f, -1.0f, 0.25f, 1.0f, 0.0f, 2.0f, 0.0f, 1.0f};
    const WideningCase cases[] = {
        {"R5G6B5", D3DFMT_R5G6B5, Bytes(r5g6b5, sizeof r5g6b5), {255, 0, 0, 0, 255, 123}},
        {"A2B10G10R10", D3DFMT_A2B10G10R10, Bytes(a2b10g10r10, sizeof a2b10g10r10), {255, 0, 0, 0, 0, 128}},
        {"R16F", D3DFMT_R16F, Bytes(r16f, sizeof r16f), {128, 128, 128, 255, 255, 255}},
        {"G16R16", D3DFMT_G16R16, Bytes(g16r16, sizeof g16r16), {255, 0, 0, 0, 128, 0}},
        {"A32B32G32R32F", D3DFMT_A32B32G32R32F, Bytes(a32b32g32r32f, sizeof a32b32g32r32f), {255, 0, 64, 0, 255, 0}},
    };
    for (const WideningCase& c : cases) {
        SCOPED_TRACE(c.name);
        ComPtr<IDirect3DSurface9> pixels;
        ASSERT_EQ(device.CreateOffscreenPlainSurface(2, 1, c.format, D3DPOOL_SYSTEMMEM, &pixels, nullptr), D3D_OK);
        std::memcpy(fakes::FakeSurface::From(pixels.Get())->bytes.data(), c.stored.data(), c.stored.size());
        const std::string path = folder.Path(std::string(c.name) + ".png");
        ASSERT_EQ(S_OK, SaveSurfaceRectToPng(pixels.Get(), RECT{0, 0, 2, 1}, path.c_str()));
        const test_support::DecodedPng png = DecodeRgb(ReadFileBytes(path));
        ASSERT_TRUE(png.ok);
        EXPECT_EQ(c.shown, png.rgb);
    }
}

TEST_F(SurfacePngTest, OtherFormatsAndFailedWritesLeaveNoFileAndTheSurfaceUnlocked) {
    ComPtr<IDirect3DSurface9> eightBit;
    ASSERT_EQ(device.CreateOffscreenPlainSurface(8, 8, D3DFMT_L8, D3DPOOL_SCRATCH,
                                                 &eightBit, nullptr), D3D_OK);
    const RECT r = {0, 0, 8, 8};
    EXPECT_TRUE(FAILED(SaveSurfaceRectToPng(eightBit.Get(), r, folder.Path("a.png").c_str())));
    EXPECT_TRUE(FAILED(SaveSurfaceRectToPng(nullptr, r, folder.Path("b.png").c_str())));

    EXPECT_TRUE(FAILED(SaveSurfaceRectToPng(surface.Get(), r,
                                            folder.Path("missing\\c.png").c_str())));
    EXPECT_EQ(fake->lockCount, 1);
    EXPECT_FALSE(fake->locked);
    EXPECT_TRUE(folder.Names().empty());
}

}  // namespace
