// The device cursor: a window cursor copied into a device cursor image (monochrome and colour
// cursors, transparency, the corner watermark, the hot spot) and the cursor set-up of a
// fullscreen device.
#include <gtest/gtest.h>

#include <vector>

#include "support/framework_device_fixture.h"

namespace {

using test_support::FrameworkDeviceTest;

constexpr int kSize = 32;
constexpr DWORD kMark = 0xFF808080;

// Planes of a 32 x 32 monochrome cursor, one bit per pixel, leftmost pixel in the top bit.
struct Planes {
    BYTE andPlane[kSize * kSize / 8];
    BYTE xorPlane[kSize * kSize / 8];
    Planes() {
        std::fill(std::begin(andPlane), std::end(andPlane), 0xFF);
        std::fill(std::begin(xorPlane), std::end(xorPlane), 0x00);
    }
    void Set(int x, int y, bool andBit, bool xorBit) {
        const int index = y * (kSize / 8) + x / 8;
        const BYTE bit = static_cast<BYTE>(0x80 >> (x % 8));
        andPlane[index] = static_cast<BYTE>(andBit ? andPlane[index] | bit : andPlane[index] & ~bit);
        xorPlane[index] = static_cast<BYTE>(xorBit ? xorPlane[index] | bit : xorPlane[index] & ~bit);
    }
};

class DeviceCursorTest : public FrameworkDeviceTest {
protected:
    void SetUp() override {
        FrameworkDeviceTest::SetUp();
        ASSERT_EQ(Start(), S_OK);
    }
    void TearDown() override {
        for (HCURSOR cursor : cursors) DestroyCursor(cursor);
        FrameworkDeviceTest::TearDown();
    }
    HCURSOR Monochrome(const Planes& planes, int hotX, int hotY) {
        HCURSOR cursor = CreateCursor(GetModuleHandleA(nullptr), hotX, hotY, kSize, kSize, planes.andPlane,
                                      planes.xorPlane);
        cursors.push_back(cursor);
        return cursor;
    }
    DWORD Pixel(UINT x, UINT y) {
        fakes::FakeSurface* surface = fakes::FakeSurface::From(Device()->cursorSurface);
        return surface ? surface->PixelAt(x, y) : 0xDEADBEEF;
    }
    std::vector<HCURSOR> cursors;
};

TEST_F(DeviceCursorTest, MonochromeCursorBecomesOpaqueColoursOnATransparentImage) {
    Planes planes;
    for (int y = 8; y < 12; ++y) {
        for (int x = 16; x < 20; ++x) planes.Set(x, y, false, true);  // white
    }
    for (int y = 20; y < 24; ++y) {
        for (int x = 20; x < 24; ++x) planes.Set(x, y, false, false);  // black
    }
    ASSERT_EQ(app->SetDeviceCursor(Device(), Monochrome(planes, 3, 5), false), S_OK);
    fakes::FakeSurface* surface = fakes::FakeSurface::From(Device()->cursorSurface);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->desc.Width, 32u);
    EXPECT_EQ(surface->desc.Height, 32u) << "the image is half the mask bitmap";
    EXPECT_EQ(surface->desc.Format, D3DFMT_A8R8G8B8);
    EXPECT_EQ(Device()->cursorHotSpotX, 3u);
    EXPECT_EQ(Device()->cursorHotSpotY, 5u);
    EXPECT_EQ(Pixel(17, 9), 0xFFFFFFFFu);
    EXPECT_EQ(Pixel(21, 22), 0xFF000000u);
    EXPECT_EQ(Pixel(17, 13), 0u) << "rows are not flipped";
    EXPECT_EQ(Pixel(25, 9), 0u);
    EXPECT_EQ(Pixel(0, 0), 0u) << "no watermark unless asked";
}

TEST_F(DeviceCursorTest, WatermarkMarksTheTopLeftCorner) {
    ASSERT_EQ(app->SetDeviceCursor(Device(), Monochrome(Planes(), 0, 0), true), S_OK);
    // Row 0 of the mark is 0xCCC0: pixels 0, 1, 4, 5, 8, 9 set; row 1 is 0xA2A0.
    const bool row0[12] = {true, true, false, false, true, true, false, false, true, true, false, false};
    for (int x = 0; x < 12; ++x) EXPECT_EQ(Pixel(x, 0), row0[x] ? kMark : 0u) << x;
    EXPECT_EQ(Pixel(0, 1), kMark);
    EXPECT_EQ(Pixel(1, 1), 0u);
    EXPECT_EQ(Pixel(6, 1), kMark);
    EXPECT_EQ(Pixel(0, 5), 0u) << "five rows only";
    EXPECT_EQ(Pixel(12, 0), 0u) << "twelve columns only";
}

TEST_F(DeviceCursorTest, ColourCursorKeepsItsColoursWithFullAlpha) {
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = 16;
    info.bmiHeader.biHeight = -16;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(colour, nullptr);
    DWORD* pixels = static_cast<DWORD*>(bits);
    for (int i = 0; i < 16 * 16; ++i) pixels[i] = 0x00123456;
    pixels[2 * 16 + 3] = 0x00ABCDEF;  // (3, 2)
    BYTE maskBits[16 * 2];  // 1 bpp, rows padded to 16 bits; 0 = opaque
    std::fill(std::begin(maskBits), std::end(maskBits), 0x00);
    maskBits[15 * 2 + 1] = 0x01;  // (15, 15) transparent
    HBITMAP mask = CreateBitmap(16, 16, 1, 1, maskBits);
    ICONINFO icon = {FALSE, 7, 9, mask, colour};
    HCURSOR cursor = CreateIconIndirect(&icon);
    DeleteObject(mask);
    DeleteObject(colour);
    ASSERT_NE(cursor, nullptr);
    cursors.push_back(cursor);

    ASSERT_EQ(app->SetDeviceCursor(Device(), cursor, false), S_OK);
    fakes::FakeSurface* surface = fakes::FakeSurface::From(Device()->cursorSurface);
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->desc.Height, 16u) << "a colour cursor's image is as high as its mask";
    EXPECT_EQ(Pixel(0, 0), 0xFF123456u);
    EXPECT_EQ(Pixel(3, 2), 0xFFABCDEFu);
    EXPECT_EQ(Pixel(15, 15), 0u);
    EXPECT_EQ(Device()->cursorHotSpotX, 7u);
    EXPECT_EQ(Device()->cursorHotSpotY, 9u);
}

TEST_F(DeviceCursorTest, FailuresAreReturned) {
    EXPECT_EQ(app->SetDeviceCursor(Device(), nullptr, true), E_FAIL);
    Device()->setCursorPropertiesResult = D3DERR_INVALIDCALL;
    EXPECT_EQ(app->SetDeviceCursor(Device(), Monochrome(Planes(), 0, 0), true), D3DERR_INVALIDCALL);
    Device()->setCursorPropertiesResult = D3D_OK;
    Device()->createOffscreenPlainSurfaceResult = E_OUTOFMEMORY;
    EXPECT_EQ(app->SetDeviceCursor(Device(), Monochrome(Planes(), 0, 0), true), E_OUTOFMEMORY);
}

TEST_F(DeviceCursorTest, FullscreenDeviceGetsTheWindowCursorAndTheClipFollowsTheMode) {
    SetClassLongPtrA(app->mainWindow, GCLP_HCURSOR, reinterpret_cast<LONG_PTR>(Monochrome(Planes(), 2, 2)));
    app->showCursorInFullscreen = true;
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    EXPECT_NE(Device()->cursorSurface, nullptr);
    EXPECT_EQ(Device()->cursorHotSpotX, 2u);
    EXPECT_TRUE(Device()->cursorVisible);
    EXPECT_EQ(Pixel(0, 0), kMark) << "the device cursor is watermarked";
    RECT window = {};
    GetWindowRect(app->mainWindow, &window);
    EXPECT_TRUE(fake_platform::cursorClipped);
    EXPECT_TRUE(EqualRect(&fake_platform::cursorClip, &window)) << "the cursor stays on the fullscreen window";

    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    EXPECT_FALSE(fake_platform::cursorClipped) << "windowed mode frees the cursor";
}

TEST_F(DeviceCursorTest, MinimisingAFullscreenWindowFreesTheCursor) {
    ASSERT_EQ(app->ToggleFullscreen(), S_OK);
    ASSERT_TRUE(fake_platform::cursorClipped);
    SendMessageA(app->mainWindow, WM_SIZE, SIZE_MINIMIZED, 0);
    EXPECT_FALSE(fake_platform::cursorClipped) << "an iconic program must not hold the cursor";
}

TEST_F(DeviceCursorTest, WindowedDeviceGetsNoDeviceCursor) {
    app->showCursorInFullscreen = true;
    ASSERT_EQ(app->ResetDevice(), S_OK);
    EXPECT_EQ(Device()->cursorSurface, nullptr);
    EXPECT_FALSE(Device()->cursorVisible);
}

}  // namespace
