// The picture of one pixel: each measured sample is a dot where its position says, the standard
// positions are rings, the texture sampling a cross, all inside the drawn area, x across and y
// down from the pixel's top-left corner.
#include "viewer/sample_picture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/measurement_builders.h"

namespace {

using test_support::ExactAxis;
using test_support::ExactSample;

// A 32-bit top-down picture that GDI draws into and the test reads.
class Canvas {
public:
    Canvas(int width, int height) : width_(width) {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits_),
                                   nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas() {
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    HDC Dc() const { return dc_; }
    COLORREF At(POINT p) const {
        GdiFlush();
        const DWORD pixel = bits_[p.y * width_ + p.x];
        return RGB((pixel >> 16) & 0xFF, (pixel >> 8) & 0xFF, pixel & 0xFF);
    }
    // Whether the colour appears within distance of p.
    bool Near(POINT p, int distance, COLORREF colour) const {
        for (int dy = -distance; dy <= distance; ++dy) {
            for (int dx = -distance; dx <= distance; ++dx) {
                if (At(POINT{p.x + dx, p.y + dy}) == colour) return true;
            }
        }
        return false;
    }

private:
    int width_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ old_;
    DWORD* bits_ = nullptr;
};

TEST(SamplePicture, DotsRingsAndCrossesLandWhereTheirPositionsSay) {
    SampleMeasurement m;
    // Not the standard order, and one sample off the standard positions: dots and rings apart.
    m.samples = {ExactSample(0, 14, 6), ExactSample(1, 6, 2), ExactSample(2, 2, 10), ExactSample(3, 11, 13)};
    m.texturePositions = {ExactSample(-1, 4, 12)};
    const RECT area = {10, 20, 330, 340};
    Canvas canvas(340, 360);
    DrawSamplePicture(canvas.Dc(), area, m);

    for (const SamplePosition& sample : m.samples) {
        const POINT p = SamplePicturePoint(area, sample.x.sixteenths / 16.0, sample.y.sixteenths / 16.0);
        EXPECT_TRUE(canvas.Near(p, 3, kSampleDotColour)) << sample.x.sixteenths << ", " << sample.y.sixteenths;
    }
    // The standard (10, 14) has no sample on it: its ring stands alone.
    const POINT lonely = SamplePicturePoint(area, 10 / 16.0, 14 / 16.0);
    EXPECT_FALSE(canvas.Near(lonely, 3, kSampleDotColour));
    EXPECT_TRUE(canvas.Near(lonely, 16, kStandardRingColour));
    EXPECT_NE(canvas.At(lonely), kStandardRingColour);  // hollow
    const POINT texture = SamplePicturePoint(area, 4 / 16.0, 12 / 16.0);
    EXPECT_TRUE(canvas.Near(texture, 2, kTextureCrossColour));
    // x runs across and y down: (14, 6) is right of and above (2, 10).
    const POINT right = SamplePicturePoint(area, 14 / 16.0, 6 / 16.0);
    const POINT left = SamplePicturePoint(area, 2 / 16.0, 10 / 16.0);
    EXPECT_GT(right.x, left.x);
    EXPECT_LT(right.y, left.y);
}

TEST(SamplePicture, PixelFillsMostOfTheSquareAndLeavesRoomForEdgeSamples) {
    const RECT area = {0, 0, 400, 300};  // not square: the pixel is centred in the smaller side
    const POINT topLeft = SamplePicturePoint(area, 0, 0);
    const POINT bottomRight = SamplePicturePoint(area, 1, 1);
    const int side = bottomRight.x - topLeft.x;
    EXPECT_EQ(bottomRight.y - topLeft.y, side);
    EXPECT_GE(side, 240);
    EXPECT_GE(topLeft.y, 12);
    EXPECT_LE(bottomRight.y, 300 - 12);
    EXPECT_LE(std::abs((topLeft.x + bottomRight.x) - 400), 1);

    // A sample on the pixel's top-left corner is drawn whole inside the area.
    SampleMeasurement m;
    m.samples = {ExactSample(15, 0, 0)};
    Canvas canvas(400, 300);
    DrawSamplePicture(canvas.Dc(), area, m);
    EXPECT_TRUE(canvas.Near(topLeft, 2, kSampleDotColour));
}

}  // namespace
