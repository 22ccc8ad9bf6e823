// The picture of one pixel: each measured sample is a dot where its position says, the standard
// positions are rings, the texture sampling a cross, all inside the drawn area, x across and y
// down from the pixel's top-left corner.
#include "viewer/sample_picture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "support/gdi_canvas.h"
#include "support/measurement_builders.h"

namespace {

using test_support::Canvas;
using test_support::ExactAxis;
using test_support::Canvas;
using test_support::ExactSample;

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
