// The Resolve tab: its tables carry both references beside each rung, its notes say what a
// read-back cannot see, and its picture has every ladder and the footprint. QUILLANT_PAGE_PNG=folder also writes the pictures there, to look at.
#include "viewer/view_page.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "analysis/resolve/resolve_decoder.h"
#include "image/png_writer.h"
#include "support/gdi_canvas.h"
#include "support/resolve_builders.h"
#include "viewer/view_painters.h"

namespace {

using test_support::Canvas;
using test_support::Ladder;

ResolveMeasurement FourSamples() {
    ResolveMeasurement m;
    DecodeResolve(test_support::FourSampleReadings(), &m);
    return m;
}

void SaveToLook(const Canvas& canvas, int width, int height, const char* name) {
    const char* folder = std::getenv("QUILLANT_PAGE_PNG");
    if (folder == nullptr) return;
    const std::string path = std::string(folder) + "\\" + name;
    EXPECT_EQ(S_OK, WritePngFile(path.c_str(), reinterpret_cast<const BYTE*>(canvas.Bits()), width * 4,
                                 static_cast<UINT>(width), static_cast<UINT>(height)));
}

ModeMeasurement Measured(const ResolveMeasurement& resolve) {
    ModeMeasurement measurement;
    measurement.resolve = resolve;
    return measurement;
}

TEST(ResolvePage, TextHoldsEveryLadderWithBothReferencesAndTheVerdicts) {
    const MeasurementPage page = MeasurementPages(Measured(FourSamples()))[1];
    EXPECT_EQ("Resolve", page.title);
    for (const char* line : {"Resolve transfer\r\n", "samples lit\tread back\tstored values averaged\taveraged in linear light\r\n", "1\t64\t64\t137\r\n",
                             "3\t191\t191\t225\r\n", "1\t32\t32\t66\r\n", "resolve averages stored values\r\n",
                             "not claimed, but works: caps answer D3DERR_NOTAVAILABLE; grey 128 of 255 was stored as 188, written sRGB-encoded",
                             "1\t47\t47\t99\r\n", "Alpha: the format has none", "\r\nResolve footprint\r\n",
                             "0\t0\t256\t0\t0\r\n", "box: every pixel from its own samples\r\n",
                             "a read-back of the resolved target cannot see it", "\r\nCoverage levels\r\n",
                             "vertical\t5\t17 49 81 113\r\n", "as many coverage samples as colour samples"}) {
        EXPECT_NE(std::string::npos, page.text.find(line)) << line << "\n" << page.text;
    }
}

TEST(ResolvePage, PictureHasAPanelPerLadderAndTheFootprint) {
    const MeasurementPage page = MeasurementPages(Measured(FourSamples()))[1];
    ASSERT_TRUE(page.paint);
    for (const RECT& area : {RECT{0, 0, 560, 300}, RECT{0, 0, 320, 520}}) {
        Canvas canvas(area.right, area.bottom);
        page.paint(canvas.Dc(), area);
        // Every ladder's rungs, and the box footprint's one dark cell among white ones.
        int values = 0, dark = 0;
        for (int y = 0; y < area.bottom; ++y) {
            for (int x = 0; x < area.right; ++x) {
                values += canvas.At(POINT{x, y}) == kLadderValueColour;
                dark += canvas.At(POINT{x, y}) == RGB(0, 0, 0);
            }
        }
        EXPECT_GT(values, 5 * 4 * 9);
        EXPECT_GT(dark, 100);
        SaveToLook(canvas, area.right, area.bottom, area.right > area.bottom ? "resolve-wide.png" : "resolve-tall.png");
    }
}

TEST(ResolvePage, OneSampleSaysThereIsNothingToAverage) {
    ResolveReadings r;
    r.white = Ladder({0, 255});
    r.grey = Ladder({0, 128});
    ResolveMeasurement m;
    DecodeResolve(r, &m);
    const std::string text = MeasurementPages(Measured(m))[1].text;
    EXPECT_NE(std::string::npos, text.find("k of 1 sample lit")) << text;
    EXPECT_NE(std::string::npos, text.find("alike at every rung")) << text;
    Canvas canvas(400, 300);
    MeasurementPages(Measured(m))[1].paint(canvas.Dc(), RECT{0, 0, 400, 300});
    SaveToLook(canvas, 400, 300, "resolve-1x.png");
}

}  // namespace
