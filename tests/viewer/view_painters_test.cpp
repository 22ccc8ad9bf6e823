// The painters of the views' pictures: a diagram's dots, rings and crosses land where the positions
// say, x across and y down from the pixel's top-left corner; a ladder and a grid draw on the
// result's own scale, whatever it is.
#include "viewer/view_painters.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>

#include "analysis/positions/positions_view.h"
#include "support/gdi_canvas.h"
#include "support/measurement_builders.h"

namespace {

using test_support::Canvas;
using test_support::ExactSample;

int Count(const Canvas& canvas, const RECT& rect, COLORREF colour) {
    const DWORD* pixels = canvas.Bits();
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) count += (pixels[y * canvas.Width() + x] & 0xFFFFFF) == wanted;
    }
    return count;
}

TEST(PixelDiagram, DotsRingsAndCrossesLandWhereTheirPositionsSay) {
    // Not the standard order, and one sample off the standard positions: dots and rings apart.
    const std::vector<SamplePosition> samples = {ExactSample(0, 14, 6), ExactSample(1, 6, 2), ExactSample(2, 2, 10),
                                                 ExactSample(3, 11, 13)};
    const ViewDiagram diagram{"", "", ViewPoints(samples), StandardViewPoints(4), ViewPoints({ExactSample(-1, 4, 12)})};
    const RECT area = {10, 20, 330, 340};
    Canvas canvas(340, 360);
    PaintDiagram(canvas.Dc(), area, diagram);

    for (const SamplePosition& sample : samples) {
        const POINT p = DiagramPoint(area, sample.x.sixteenths / 16.0, sample.y.sixteenths / 16.0);
        EXPECT_TRUE(canvas.Near(p, 3, kSampleDotColour)) << sample.x.sixteenths << ", " << sample.y.sixteenths;
    }
    // The standard (10, 14) has no sample on it: its ring stands alone.
    const POINT lonely = DiagramPoint(area, 10 / 16.0, 14 / 16.0);
    EXPECT_FALSE(canvas.Near(lonely, 3, kSampleDotColour));
    EXPECT_TRUE(canvas.Near(lonely, 16, kStandardRingColour));
    EXPECT_NE(canvas.At(lonely), kStandardRingColour);  // hollow
    EXPECT_TRUE(canvas.Near(DiagramPoint(area, 4 / 16.0, 12 / 16.0), 2, kTextureCrossColour));
    // x runs across and y down: (14, 6) is right of and above (2, 10).
    const POINT right = DiagramPoint(area, 14 / 16.0, 6 / 16.0);
    const POINT left = DiagramPoint(area, 2 / 16.0, 10 / 16.0);
    EXPECT_GT(right.x, left.x);
    EXPECT_LT(right.y, left.y);
}

// Samples at one place are one dot naming them all (multisampling off puts every sample at the
// centre): no number hidden under another, and the dot wide enough for its label.
TEST(PixelDiagram, CoincidentSamplesAreOneDotNamingEachOfThem) {
    struct Case {
        std::vector<SamplePosition> samples;
        std::vector<std::string> labels;
    };
    const Case cases[] = {
        {{ExactSample(0, 8, 8), ExactSample(1, 8, 8), ExactSample(2, 8, 8), ExactSample(3, 8, 8)}, {"0-3"}},
        {{ExactSample(0, 8, 8), ExactSample(1, 2, 2), ExactSample(2, 8, 8)}, {"0,2", "1"}},
        {{ExactSample(0, 8, 8), ExactSample(1, 8, 8)}, {"0,1"}},
    };
    for (const Case& c : cases) {
        std::vector<SamplePosition> samples = c.samples;
        for (SamplePosition& sample : samples) sample.count = 2;
        const std::vector<ViewPoint> joined = JoinCoincident(ViewPoints(samples));
        ASSERT_EQ(c.labels.size(), joined.size()) << c.labels[0];
        for (size_t i = 0; i < joined.size(); ++i) {
            EXPECT_EQ(c.labels[i], joined[i].label);
            EXPECT_EQ(2, joined[i].count) << "the most any sample found there, not their sum";
        }
    }
    const RECT area = {10, 20, 330, 340};
    Canvas one(340, 360), four(340, 360);
    PaintDiagram(one.Dc(), area, {"", "", ViewPoints({ExactSample(0, 8, 8)}), {}, {}});
    PaintDiagram(four.Dc(), area, {"", "", JoinCoincident(ViewPoints(cases[0].samples)), {}, {}});
    EXPECT_GT(Count(four, area, kSampleDotColour), Count(one, area, kSampleDotColour));
}

TEST(PixelDiagram, PixelFillsMostOfTheSquareAndLeavesRoomForEdgeSamples) {
    const RECT area = {0, 0, 400, 300};  // not square: the pixel is centred in the smaller side
    const POINT topLeft = DiagramPoint(area, 0, 0);
    const POINT bottomRight = DiagramPoint(area, 1, 1);
    const int side = bottomRight.x - topLeft.x;
    EXPECT_EQ(bottomRight.y - topLeft.y, side);
    EXPECT_GE(side, 240);
    EXPECT_GE(topLeft.y, 12);
    EXPECT_LE(bottomRight.y, 300 - 12);
    EXPECT_LE(std::abs((topLeft.x + bottomRight.x) - 400), 1);

    // A sample on the pixel's top-left corner is drawn whole inside the area.
    Canvas canvas(400, 300);
    PaintDiagram(canvas.Dc(), area, ViewDiagram{"", "", ViewPoints({ExactSample(15, 0, 0)}), {}, {}});
    EXPECT_TRUE(canvas.Near(topLeft, 2, kSampleDotColour));
}

TEST(PixelEvaluation, CoveredSamplesCentroidAndEvaluatedPointWhereTheySay) {
    ViewEvaluation evaluation{"", "", ViewPoints({ExactSample(1, 14, 6), ExactSample(3, 10, 14)}),
                              ViewPoints({ExactSample(0, 6, 2)}), ViewSpot{0.75, 0.625}, ViewSpot{0.25, 0.75}};
    const RECT area = {0, 0, 200, 200};
    Canvas canvas(200, 200);
    PaintEvaluation(canvas.Dc(), area, evaluation);
    EXPECT_TRUE(canvas.Near(DiagramPoint(area, 14 / 16.0, 6 / 16.0), 2, kSampleDotColour));
    EXPECT_TRUE(canvas.Near(DiagramPoint(area, 6 / 16.0, 2 / 16.0), 10, kUncoveredSampleColour));
    EXPECT_FALSE(canvas.Near(DiagramPoint(area, 6 / 16.0, 2 / 16.0), 3, kSampleDotColour));
    EXPECT_TRUE(canvas.Near(DiagramPoint(area, 0.25, 0.75), 1, kEvaluatedColour));
    EXPECT_TRUE(canvas.Near(DiagramPoint(area, 0.75, 0.625), 12, kCentroidMarkColour));
    EXPECT_FALSE(canvas.Near(DiagramPoint(area, 0.75, 0.625), 12, kEvaluatedColour));
}

// A ladder of samples rungs reading full * k / samples, on the given scale.
ViewLadder StraightLadder(int samples, int scale) {
    ViewLadder ladder;
    ladder.samples = samples;
    ladder.valueScale = scale;
    for (int k = 0; k <= samples; ++k) {
        ladder.covered.push_back(k);
        ladder.values.push_back(static_cast<double>(scale) * k / samples);
        ladder.stored.push_back(ladder.values.back());
        ladder.linear.push_back(ladder.values.back());
    }
    return ladder;
}

TEST(LadderPlot, RungsStandOnTheLaddersOwnScale) {
    const RECT area = {0, 0, 240, 180};
    const ViewLadder eightBit = StraightLadder(4, 255);
    for (const ViewLadder& ladder : {eightBit, StraightLadder(4, 63), StraightLadder(4, 2048), StraightLadder(1, 1)}) {
        Canvas canvas(240, 180);
        PaintLadder(canvas.Dc(), area, ladder);
        for (size_t i = 0; i < ladder.covered.size(); ++i) {
            EXPECT_TRUE(canvas.Near(LadderPoint(area, ladder, ladder.covered[i], ladder.values[i]), 1, kLadderValueColour))
                << ladder.valueScale << " rung " << i;
        }
        // Full scale is the top of the plot whatever the scale; half of it halfway up.
        const POINT full = LadderPoint(area, ladder, ladder.samples, ladder.valueScale);
        const POINT zero = LadderPoint(area, ladder, 0, 0);
        EXPECT_NEAR(full.y, LadderPoint(area, eightBit, 4, 255).y, 1) << ladder.valueScale;
        EXPECT_NEAR(LadderPoint(area, ladder, 0, ladder.valueScale / 2.0).y, (full.y + zero.y) / 2, 1) << ladder.valueScale;
        EXPECT_GT(full.x, zero.x + 150);
    }
}

TEST(ValueGrid, BarsAndShadesFollowTheGridsScale) {
    const RECT area = {0, 0, 200, 200};
    // One pixel, two samples: a bar of the full scale and one of a quarter; on a scale of 63.
    ViewGrid bars{"", "", 63, {{{63, 16}}}};
    Canvas canvas(200, 200);
    PaintGrid(canvas.Dc(), area, bars);
    const RECT cell = GridCell(area, bars, 0, 0);
    const int middle = (cell.left + cell.right) / 2;
    const int tall = Count(canvas, RECT{cell.left, cell.top, middle, cell.bottom}, kGridBarColour);
    const int short_ = Count(canvas, RECT{middle, cell.top, cell.right, cell.bottom}, kGridBarColour);
    EXPECT_NEAR(static_cast<double>(tall) / short_, 4.0, 0.5) << tall << " " << short_;

    // One value a cell: shaded from white (none) to black (the scale's top); a sample never
    // covered has no bar.
    ViewGrid shades{"", "", 256, {{{256}, {0}}, {{-1, 10}, {128}}}};
    Canvas shaded(200, 200);
    PaintGrid(shaded.Dc(), area, shades);
    const auto inside = [&](int column, int row) {
        const RECT c = GridCell(area, shades, column, row);
        return POINT{c.left + 3, c.top + 3};
    };
    EXPECT_EQ(RGB(0, 0, 0), shaded.At(inside(0, 0)));
    EXPECT_EQ(RGB(255, 255, 255), shaded.At(inside(1, 0)));
    const RECT never = GridCell(area, shades, 0, 1);
    EXPECT_EQ(0, Count(shaded, RECT{never.left, never.top, (never.left + never.right) / 2, never.bottom}, kGridBarColour));
    EXPECT_GT(Count(shaded, RECT{(never.left + never.right) / 2, never.top, never.right, never.bottom}, kGridBarColour), 0);

    // A block not drawn is greyed.
    Canvas empty(200, 200);
    PaintGrid(empty.Dc(), area, ViewGrid{"", "", 255, {}});
    EXPECT_GT(Count(empty, area, kNotDrawnColour), 20000);
}

}  // namespace
