// The "Alpha to coverage" and "Interpolation" pages: their titles and texts, and pictures that
// show what the measurements hold. With QUILLANT_PAGE_PICTURES set to a folder, the pictures are
// also written there as PNG files to look at.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/png_writer.h"
#include "support/gdi_canvas.h"
#include "support/measurement_builders.h"
#include "viewer/view_page.h"
#include "viewer/view_painters.h"

namespace {

using test_support::Canvas;
using test_support::ExactSample;

constexpr int kWidth = 720;
constexpr int kHeight = 300;

int Count(const Canvas& canvas, const RECT& rect, COLORREF colour) {
    const DWORD* pixels = canvas.Bits();
    const DWORD wanted = (GetRValue(colour) << 16) | (GetGValue(colour) << 8) | GetBValue(colour);
    int count = 0;
    for (int y = rect.top; y < rect.bottom; ++y) {
        for (int x = rect.left; x < rect.right; ++x) count += (pixels[y * kWidth + x] & 0xFFFFFF) == wanted;
    }
    return count;
}

void Paint(const MeasurementPage& page, const Canvas& canvas, const char* file) {
    page.paint(canvas.Dc(), RECT{0, 0, kWidth, kHeight});
    if (const char* folder = std::getenv("QUILLANT_PAGE_PICTURES")) {
        const std::string path = std::string(folder) + "/" + file;
        EXPECT_EQ(S_OK, WritePngFile(path.c_str(), reinterpret_cast<const BYTE*>(canvas.Bits()), kWidth * 4,
                                     kWidth, kHeight));
    }
}

AlphaToCoverageMap Map(CoverageSwitch which, AlphaToCoverageVerdict verdict, std::vector<int> thresholds) {
    AlphaToCoverageMap map;
    map.coverageSwitch = which;
    map.offered = verdict != AlphaToCoverageVerdict::NotOffered;
    map.verdict = verdict;
    map.samples = static_cast<int>(thresholds.size());
    if (map.offered) {
        map.thresholds.assign(kCoverageBlock, std::vector<std::vector<int>>(kCoverageBlock, thresholds));
    }
    return map;
}

TEST(SampleCoveragePages, AlphaToCoverageShowsEachSwitchsBlockAndVerdict) {
    AlphaToCoverageMeasurement m;
    m.switches = {Map(CoverageSwitch::AtocWithAlphaTest, AlphaToCoverageVerdict::NotApplied, {1, 1, 1, 1}),
                  Map(CoverageSwitch::Atoc, AlphaToCoverageVerdict::Thresholds, {1, 64, 128, 192}),
                  Map(CoverageSwitch::A2m1, AlphaToCoverageVerdict::NotOffered, {})};
    m.switches[0].alphaTestReference = 1;
    ModeMeasurement measurement;
    measurement.alphaToCoverage = m;
    const MeasurementPage page = MeasurementPages(measurement)[2];
    EXPECT_EQ("Alpha to coverage", page.title);
    EXPECT_NE(std::string::npos, page.text.find("ATOC: thresholds (k-1)/4 (alpha 1, 64, 128, 192), the same in every pixel, in alpha steps of 1/255\r\n"));
    EXPECT_NE(std::string::npos, page.text.find("1 64 128 192\t1 64 128 192\t1 64 128 192\t1 64 128 192\r\n"));
    EXPECT_NE(std::string::npos, page.text.find("alpha test on, passing alpha >= 1"));
    EXPECT_NE(std::string::npos, page.text.find("A2M1: not offered\r\n"));

    Canvas canvas(kWidth, kHeight);
    Paint(page, canvas, "alpha_to_coverage_page.png");
    const int third = kWidth / 3;
    const RECT panels[3] = {{0, 0, third, kHeight}, {third, 0, 2 * third, kHeight}, {2 * third, 0, kWidth, kHeight}};
    // Bars as tall as the thresholds: the measured switch's far taller than the alpha test's
    // one-step bars; none where the switch is not offered, which is greyed.
    EXPECT_GT(Count(canvas, panels[1], kGridBarColour), 10 * Count(canvas, panels[0], kGridBarColour));
    EXPECT_GT(Count(canvas, panels[0], kGridBarColour), 0);
    EXPECT_EQ(0, Count(canvas, panels[2], kGridBarColour));
    EXPECT_GT(Count(canvas, panels[2], kNotDrawnColour), 10000);
}

TEST(SampleCoveragePages, InterpolationDrawsEachCaseAndTheMultisamplingOffPositions) {
    CentroidMeasurement c;
    c.verdict = CentroidVerdict::Centroid;
    c.precision = 0.0107;
    c.samples = test_support::StandardFourSamples();
    const unsigned covers[] = {0x8, 0xA, 0xE};
    for (unsigned covered : covers) {
        CentroidCase k;
        k.intended = k.covered = covered;
        k.evaluated = PixelPoint{0.75, 0.625};
        k.plain = PixelPoint{0.5, 0.5};
        k.atCentroid = covered == 0xA;
        c.cases.push_back(k);
    }
    c.cases[2].centreCovered = true;
    AntialiasOffMeasurement off;
    off.verdict = AntialiasOffVerdict::Centre;
    off.positions.gridSize = 32;
    for (int bit = 0; bit < 4; ++bit) off.positions.samples.push_back(ExactSample(bit, 8, 8, 4));

    ModeMeasurement measurement;
    measurement.samplePositions.samples = c.samples;
    measurement.centroid = c;
    measurement.antialiasOff = off;
    const MeasurementPage page = MeasurementPages(measurement)[3];
    EXPECT_EQ("Interpolation", page.title) << page.text;
    EXPECT_NE(std::string::npos, page.text.find("Centroid\r\nCentroid: honoured: at the centroid of the covered samples\r\n"));
    EXPECT_NE(std::string::npos, page.text.find("1 3\tno\t(0.750, 0.625)\t(0.500, 0.500)\tcentroid\r\n")) << page.text;
    EXPECT_NE(std::string::npos, page.text.find("Multisampling off\r\nD3DRS_MULTISAMPLEANTIALIAS off: one evaluation at the centre, written to every sample\r\n"));
    EXPECT_NE(std::string::npos, page.text.find("3\t8\t8\t4\r\n")) << page.text;

    Canvas canvas(kWidth, kHeight);
    Paint(page, canvas, "interpolation_page.png");
    // Four equal panels: three cases and multisampling off. Each case has its evaluated cross;
    // the covered dots grow with the covered samples; the last panel is the positions picture.
    const int quarter = kWidth / 4;
    int covered[3] = {};
    for (int p = 0; p < 3; ++p) {
        const RECT panel = {p * quarter, 0, (p + 1) * quarter, kHeight - 60};
        EXPECT_GT(Count(canvas, panel, kEvaluatedColour), 20) << "case " << p;
        covered[p] = Count(canvas, panel, kSampleDotColour);
    }
    EXPECT_LT(covered[0], covered[1]);
    EXPECT_LT(covered[1], covered[2]);
    // The pixel squares end above the captions and the legend; the multisampling-off picture
    // has its four samples at the centre in the standard pattern's rings.
    const RECT last = {3 * quarter, 0, kWidth, kHeight - 60};
    EXPECT_EQ(0, Count(canvas, last, kEvaluatedColour));
    EXPECT_GT(Count(canvas, last, kSampleDotColour), 50);
    EXPECT_GT(Count(canvas, last, kStandardRingColour), 50);
}

}  // namespace
