// The GDI client-area capture reads what was painted, top row first and opaque, and the
// black test looks only at colour bits inside its rectangle.
#include "viewer/image_capture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// A visible top-level window whose client area is painted in four known quadrants.
class PaintedWindow {
public:
    PaintedWindow(int width, int height) {
        WNDCLASSA windowClass = {};
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.hInstance = GetModuleHandleA(nullptr);
        windowClass.lpszClassName = "QuillantCaptureTest";
        RegisterClassA(&windowClass);
        RECT frame = {0, 0, width, height};
        AdjustWindowRect(&frame, WS_POPUP, FALSE);
        window_ = CreateWindowExA(WS_EX_TOPMOST, "QuillantCaptureTest", "capture", WS_POPUP, 40,
                                  40, frame.right - frame.left, frame.bottom - frame.top, nullptr,
                                  nullptr, windowClass.hInstance, nullptr);
        ShowWindow(window_, SW_SHOWNOACTIVATE);
        UpdateWindow(window_);
        Pump();
        HDC dc = GetDC(window_);
        Fill(dc, 0, 0, width / 2, height / 2, RGB(255, 0, 0));
        Fill(dc, width / 2, 0, width, height / 2, RGB(0, 255, 0));
        Fill(dc, 0, height / 2, width / 2, height, RGB(0, 0, 255));
        Fill(dc, width / 2, height / 2, width, height, RGB(10, 20, 30));
        ReleaseDC(window_, dc);
        GdiFlush();
    }
    ~PaintedWindow() { DestroyWindow(window_); }
    HWND Handle() const { return window_; }

private:
    static void Fill(HDC dc, int left, int top, int right, int bottom, COLORREF colour) {
        RECT r = {left, top, right, bottom};
        HBRUSH brush = CreateSolidBrush(colour);
        FillRect(dc, &r, brush);
        DeleteObject(brush);
    }
    static void Pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
    }
    HWND window_ = nullptr;
};

TEST(ImageCaptureTest, CopiesThePaintedClientAreaTopRowFirstAndOpaque) {
    PaintedWindow window(64, 48);
    std::vector<DWORD> pixels;
    ASSERT_EQ(CaptureClientArea(window.Handle(), 64, 48, pixels), S_OK);
    ASSERT_EQ(pixels.size(), 64u * 48u);
    // Quadrant centres, away from the boundaries between the fills.
    EXPECT_EQ(pixels[12 * 64 + 16], 0xFFFF0000u);
    EXPECT_EQ(pixels[12 * 64 + 48], 0xFF00FF00u);
    EXPECT_EQ(pixels[36 * 64 + 16], 0xFF0000FFu);
    EXPECT_EQ(pixels[36 * 64 + 48], 0xFF0A141Eu);
    // The first and last pixels belong to the top-left and bottom-right fills.
    EXPECT_EQ(pixels.front(), 0xFFFF0000u);
    EXPECT_EQ(pixels.back(), 0xFF0A141Eu);
}

TEST(ImageCaptureTest, RejectsMissingWindowAndEmptySize) {
    std::vector<DWORD> pixels(3, 1u);
    EXPECT_TRUE(FAILED(CaptureClientArea(nullptr, 8, 8, pixels)));
    EXPECT_TRUE(pixels.empty());
    PaintedWindow window(8, 8);
    EXPECT_TRUE(FAILED(CaptureClientArea(window.Handle(), 0, 8, pixels)));
    EXPECT_TRUE(FAILED(CaptureClientArea(window.Handle(), 8, 0, pixels)));
}

TEST(ImageCaptureTest, AllBlackLooksAtColourBitsInsideTheRectangleOnly) {
    // 6 x 4 pixels with 8 bytes of padding per row; alpha set everywhere.
    const int pitch = 6 * 4 + 8;
    std::vector<BYTE> image(pitch * 4, 0);
    auto put = [&](int x, int y, DWORD value) {
        memcpy(&image[y * pitch + x * 4], &value, 4);
    };
    for (int y = 0; y < 4; ++y) {
        for (int x = 0; x < 6; ++x) put(x, y, 0xFF000000u);
    }
    const RECT inner = {1, 1, 4, 3};
    EXPECT_TRUE(RectIsAllBlack(image.data(), pitch, inner));

    // Colour outside the rectangle, and in the row padding, does not count.
    put(0, 0, 0xFFFFFFFFu);
    put(4, 1, 0xFF0000FFu);
    put(1, 3, 0xFF00FF00u);
    image[1 * pitch + 6 * 4] = 0xFF;
    EXPECT_TRUE(RectIsAllBlack(image.data(), pitch, inner));

    // One unit of any channel at the rectangle's last pixel does.
    put(3, 2, 0xFF000001u);
    EXPECT_FALSE(RectIsAllBlack(image.data(), pitch, inner));
    put(3, 2, 0x00010000u);
    EXPECT_FALSE(RectIsAllBlack(image.data(), pitch, inner));

    const RECT empty = {3, 2, 3, 3};
    EXPECT_TRUE(RectIsAllBlack(image.data(), pitch, empty));
}

}  // namespace
