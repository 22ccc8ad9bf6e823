// The dialog's heading and table texts, which Copy puts on the clipboard: exact positions in
// 1/16, intervals in the measuring step, mask bits where the mask picks samples out and a word
// why not elsewhere; the file name Save suggests.
#include "viewer/sample_table_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "analysis/positions/positions_view.h"
#include "support/measurement_builders.h"

namespace {

using test_support::ExactAxis;
using test_support::IntervalAxis;
using test_support::SampleAt;

// The table as Copy carries it: header and rows, cells separated by tabs.
std::string SampleTableText(const ViewTable& table) {
    std::string text;
    for (const auto* cells : {&table.header}) {
        for (size_t i = 0; i < cells->size(); ++i) text += (i ? "\t" : "") + (*cells)[i];
        text += "\r\n";
    }
    for (const std::vector<std::string>& row : table.rows) {
        for (size_t i = 0; i < row.size(); ++i) text += (i ? "\t" : "") + row[i];
        text += "\r\n";
    }
    return text;
}

ModeMeasurement FourSamples() {
    ModeMeasurement measurement;
    measurement.mode.type = D3DMULTISAMPLE_4_SAMPLES;
    SampleMeasurement& m = measurement.samplePositions;
    m.gridSize = 64;
    m.samples = {SampleAt(0, ExactAxis(6), ExactAxis(2)), SampleAt(1, ExactAxis(14), ExactAxis(6)),
                 SampleAt(2, ExactAxis(2), ExactAxis(10)), SampleAt(3, ExactAxis(10), ExactAxis(14))};
    m.distinctSamples = 4;
    m.standardPattern = true;
    m.maskOrderStandard = true;
    return measurement;
}

TEST(SampleTableText, FourExactSamplesGiveOneTabSeparatedLinePerSampleAfterTheHeader) {
    const std::string text = SampleTableText(SampleTableFor(FourSamples()));
    EXPECT_EQ(text,
              "Sample\tMask bit\tx (1/16)\ty (1/16)\tx (pixel)\ty (pixel)\tCount\r\n"
              "0\t0\t6\t2\t0.375\t0.125\t1\r\n"
              "1\t1\t14\t6\t0.875\t0.375\t1\r\n"
              "2\t2\t2\t10\t0.125\t0.625\t1\r\n"
              "3\t3\t10\t14\t0.625\t0.875\t1\r\n");
}

TEST(SampleTableText, IntervalsAreShownInTheMeasuringStepAndWrappedEdgesStayNegative) {
    // Two 1/16 steps wide at a 64 grid; an edge sample wrapped past the left edge at a 96 grid.
    EXPECT_EQ(SixteenthsText(IntervalAxis(21.0 / 64, 23.0 / 64), 64), "[21/64, 23/64)");
    EXPECT_EQ(PixelFractionText(IntervalAxis(21.0 / 64, 23.0 / 64)), "[0.3281, 0.3594)");
    EXPECT_EQ(SixteenthsText(IntervalAxis(-1.0 / 96, 2.0 / 96), 96), "[-1/96, 2/96)");
    // Finer than the grid where the point size is not a multiple of 1/N.
    EXPECT_EQ(SixteenthsText(IntervalAxis(41.0 / 128, 43.0 / 128), 64), "[41/128, 43/128)");
    // No step of the grid's family fits: tenths of a sixteenth.
    EXPECT_EQ(SixteenthsText(IntervalAxis(0.1, 0.2), 64), "[1.6/16, 3.2/16)");
    // Exact positions: the 1/16 step; 0 and 15 are whole steps too.
    EXPECT_EQ(SixteenthsText(ExactAxis(0), 64), "0");
    EXPECT_EQ(PixelFractionText(ExactAxis(0)), "0");
    EXPECT_EQ(PixelFractionText(ExactAxis(15)), "0.9375");
    EXPECT_EQ(PixelFractionText(ExactAxis(1)), "0.0625");
}

TEST(SampleTableText, NonMaskableRowsSayWhyTheyHaveNoMaskBitAndCountCoincidentSamples) {
    ModeMeasurement m;
    m.mode.type = D3DMULTISAMPLE_NONMASKABLE;
    m.samplePositions.gridSize = 64;
    m.samplePositions.samples = {SampleAt(-1, ExactAxis(8), ExactAxis(8), 3), SampleAt(-1, IntervalAxis(0, 2.0 / 64), ExactAxis(4))};
    const ViewTable table = SampleTableFor(m);
    ASSERT_EQ(table.rows.size(), 2u);
    EXPECT_EQ(table.rows[0],
              (std::vector<std::string>{"0", "none: not maskable", "8", "8", "0.5", "0.5", "3"}));
    EXPECT_EQ(table.rows[1][2], "[0/64, 2/64)");
}

TEST(SampleTableText, QuadsThatDifferAddTheirOwnRowsAndOthersAddNone) {
    ModeMeasurement m = FourSamples();
    QuadPositions odd;
    odd.parityX = 1;
    odd.parityY = 1;
    odd.samples = {SampleAt(0, ExactAxis(7), ExactAxis(2))};
    m.samplePositions.quads = {odd};
    EXPECT_EQ(SampleTableFor(m).rows.size(), 4u);  // kept, but not shown: they agree
    m.samplePositions.quadsDiffer = true;
    const ViewTable table = SampleTableFor(m);
    ASSERT_EQ(table.rows.size(), 5u);
    EXPECT_EQ(table.rows[4][0], "0 in pixel (1, 1)");
    EXPECT_EQ(table.rows[4][2], "7");
}

MeasuredDevice Window() {
    MeasuredDevice device;
    device.description = "HAL: Test Adapter";
    device.width = 512;
    device.height = 384;
    device.format = D3DFMT_X8R8G8B8;
    return device;
}

TEST(SampleTableText, HeadingNamesDeviceModeWhereItWasMeasuredAndTheVerdict) {
    ModeMeasurement m = FourSamples();
    m.mode.quality = 2;
    MeasuredDevice device = Window();
    std::vector<std::string> lines = SampleHeadingLines(m, device);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "HAL: Test Adapter");
    EXPECT_EQ(lines[1], "D3DMULTISAMPLE_4_SAMPLES, quality 2, D3DFMT_X8R8G8B8; measured in a window at 512 x 384");
    EXPECT_EQ(lines[2], "4 distinct samples: " + VerdictText(m.samplePositions));
    device.fullscreen = true;
    device.width = 1280;
    device.height = 1024;
    device.format = D3DFMT_R5G6B5;
    EXPECT_EQ(SampleHeadingLines(m, device)[1],
              "D3DMULTISAMPLE_4_SAMPLES, quality 2, D3DFMT_R5G6B5; measured fullscreen at 1280 x 1024");

    // Positions that fall short of the type's count: no verdict, the counts that disagreed instead.
    m.samplePositions.samples.resize(2);
    m.samplePositions.distinctSamples = 2;
    EXPECT_EQ(SampleHeadingLines(m, device)[2],
              "2 distinct samples, no verdict: positions found 2 samples and the type 4");

    m.samplePositions.gridSize = 32;
    m.milliseconds = 41.6;
    EXPECT_EQ(MeasuredText(m), "Measured in steps of 1/32 pixel, in 42 ms");
}

TEST(SampleTableText, NotesAboveTheTableGiveTheMaskOrderTheCrossCheckOrWhyNoMaskBits) {
    ModeMeasurement m = FourSamples();
    EXPECT_EQ(SampleNotes(m), "The mask bits pick the samples in the standard order");
    m.samplePositions.maskOrderStandard = false;
    m.samplePositions.unionMatchesAllBits = false;
    EXPECT_EQ(SampleNotes(m),
              "The mask bits pick the samples in another order than the standard one; the "
              "per-bit pictures do not add up to the all-bits picture");
    // Only the cross-check failing: its note starts the line.
    m.samplePositions.standardPattern = false;
    EXPECT_EQ(SampleNotes(m), "The per-bit pictures do not add up to the all-bits picture");
    m.samplePositions.unionMatchesAllBits = true;
    EXPECT_EQ(SampleNotes(m), "");

    // No mask bits: the line says why, at 1x and for the non-maskable type.
    ModeMeasurement one;
    one.samplePositions.samples = {SampleAt(-1, ExactAxis(8), ExactAxis(8))};
    one.samplePositions.distinctSamples = 1;
    one.samplePositions.standardPattern = true;
    EXPECT_EQ(SampleNotes(one), "No mask bit: one sample, and without multisampling the mask picks out none");
    EXPECT_EQ(SampleTableFor(one).rows[0][1], "none: one sample");
    EXPECT_EQ(SampleHeadingLines(one, Window())[2].substr(0, 19), "1 distinct sample: ");
    one.mode.type = D3DMULTISAMPLE_NONMASKABLE;
    EXPECT_EQ(SampleNotes(one).substr(0, 70),
              "No mask bits: the non-maskable type's samples cannot be picked out by ");
}

TEST(SampleTableText, SuggestedFileNameNamesDeviceTypeFormatAndMode) {
    ModeMeasurement m = FourSamples();
    EXPECT_EQ(SamplePositionsFileName(m, Window()), "sample-positions-hal-x8r8g8b8-4-samples-q0.json");
    m.mode.type = D3DMULTISAMPLE_NONMASKABLE;
    m.mode.quality = 3;
    EXPECT_EQ(SamplePositionsFileName(m, Window()), "sample-positions-hal-x8r8g8b8-nonmaskable-q3.json");
}

}  // namespace
