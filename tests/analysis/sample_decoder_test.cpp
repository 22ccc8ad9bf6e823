// The decoder against pictures made by a tiny reference rasteriser from known sample positions:
// the point squares come from the viewer's own vertex writer, placed in 2 x 2 tiles, covered per
// sample with the top-left rule after the runtime's bias, resolved by averaging (or not).
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <vector>

#include "analysis/probing/probe_pattern.h"
#include "analysis/positions/sample_decoder.h"
#include "analysis/positions/standard_sample_patterns.h"
#include "pattern/pattern_contents.h"

namespace {

// wined3d's code moves geometry by 63/128 of a pixel, not a half: samples then sit 1/128 on.
constexpr double kShortOfHalf = 1.0 / 128.0;

struct Point16 {
    double x;  // in 1/16 pixel from the pixel's top-left corner
    double y;
};

// What the rasteriser under test does: where each sample lies, for each of the four pixels of a
// 2x2 quad (all four alike unless a test says otherwise), and how the resolve combines them.
struct Rasteriser {
    ProbePattern pattern;
    // How far the runtime's samples sit past where Direct3D 9 would put them.
    double runtimeShift = 0.0;
    std::vector<Point16> samples[4];  // by quad parity px + 2 py
    std::function<double(double)> resolve = [](double mean) { return mean; };
    bool texturePerSample = false;
    Point16 textureAt = {8, 8};

    void SamplesEverywhere(const std::vector<Point16>& at) {
        for (auto& parity : samples) parity = at;
    }
};

// The point squares of one tile in tile pixels (pixel k spans [k, k + 1)), straight from the
// vertices the viewer writes: top-left is vertex 0, bottom-right vertex 3.
struct Square {
    double left, top, right, bottom;
};

std::vector<Square> TileSquares(const ProbePattern& p) {
    std::vector<PositionVertex> vertices(PointBufferBytes(p.gridSize) / sizeof(PositionVertex));
    WritePointGrid(vertices.data(), p.gridSize, p.pointSize, p.geometryOffsetX, p.geometryOffsetY);
    std::vector<Square> squares;
    for (int k = 0; k < p.gridSize * p.gridSize; ++k) {
        const PositionVertex* v = &vertices[static_cast<size_t>(k) * kVerticesPerPoint];
        squares.push_back({v[0].x - p.tileOriginX, v[0].y - p.tileOriginY, v[3].x - p.tileOriginX,
                           v[3].y - p.tileOriginY});
    }
    return squares;
}

bool Inside(double x, double y, const Square& s) {
    return s.left <= x && x < s.right && s.top <= y && y < s.bottom;  // top-left rule
}

// 8-bit storage of a resolved value.
float Stored(double value) {
    return static_cast<float>(std::lround(std::min(1.0, std::max(0.0, value)) * 255.0) / 255.0);
}

IntensityImage BlankImage(const ProbePattern& p) {
    IntensityImage image;
    image.width = image.height = ProbeImageSide(p);
    image.levels = 255;
    image.values.assign(static_cast<size_t>(image.width) * image.height, 0.0f);
    return image;
}

// Geometry: the map of the samples that mask selects (bit s of the mask enables sample s).
IntensityImage DrawPoints(const Rasteriser& r, unsigned mask) {
    const ProbePattern& p = r.pattern;
    const int tile = p.gridSize + 1;
    IntensityImage image = BlankImage(p);
    std::vector<double> covered(image.values.size(), 0.0);
    const std::vector<Square> squares = TileSquares(p);
    for (int ty = 0; ty < 2; ++ty) {
        for (int tx = 0; tx < 2; ++tx) {
            for (const Square& local : squares) {
                const Square s = {local.left + tx * tile, local.top + ty * tile,
                                  local.right + tx * tile, local.bottom + ty * tile};
                for (int y = static_cast<int>(std::floor(s.top)) - 1; y <= s.bottom + 1; ++y) {
                    for (int x = static_cast<int>(std::floor(s.left)) - 1; x <= s.right + 1; ++x) {
                        if (x < 0 || y < 0 || x >= image.width || y >= image.height) continue;
                        const auto& at = r.samples[(x & 1) + 2 * (y & 1)];
                        for (size_t k = 0; k < at.size(); ++k) {
                            if (!(mask & (1u << k))) continue;
                            const double sx = x + at[k].x / 16.0 + r.runtimeShift;
                            const double sy = y + at[k].y / 16.0 + r.runtimeShift;
                            if (Inside(sx, sy, s)) covered[static_cast<size_t>(y) * image.width + x] += 1;
                        }
                    }
                }
            }
        }
    }
    const double count = static_cast<double>(r.samples[0].size());
    for (size_t k = 0; k < covered.size(); ++k) image.values[k] = Stored(r.resolve(covered[k] / count));
    return image;
}

// Texture: the quad covers a sample geometrically; the alpha test passes where the point
// texture's texel at the sampling position (pixel's or sample's) is opaque.
IntensityImage DrawTexture(const Rasteriser& r) {
    const ProbePattern& p = r.pattern;
    const int tile = p.gridSize + 1;
    TexturedVertex quad[kQuadVertices];
    WriteTexturedQuad(quad, p.gridSize, p.textureOffsetX, p.textureOffsetY);
    std::vector<BYTE> texels(kPointTextureSize * kPointTextureSize * 2);
    WritePointTexture(texels.data(), kPointTextureSize * 2, p.pointSize);
    auto opaqueAt = [&](double worldX, double worldY) {
        const double u = quad[0].u + worldX / quad[1].x * (quad[1].u - quad[0].u);
        const double v = quad[0].v + worldY / quad[2].y * (quad[2].v - quad[0].v);
        const int tu = static_cast<int>(std::floor((u - std::floor(u)) * 256.0));
        const int tv = static_cast<int>(std::floor((v - std::floor(v)) * 256.0));
        return texels[static_cast<size_t>(tv) * 512 + tu * 2 + 1] >= 0x80;  // alpha nibble on top
    };
    IntensityImage image = BlankImage(p);
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const auto& at = r.samples[(x & 1) + 2 * (y & 1)];
            int passed = 0;
            for (const Point16& sample : at) {
                const double sx = x + sample.x / 16.0 + r.runtimeShift;
                const double sy = y + sample.y / 16.0 + r.runtimeShift;
                const Point16 where = r.texturePerSample ? sample : r.textureAt;
                const double wx = x + where.x / 16.0 + r.runtimeShift;
                const double wy = y + where.y / 16.0 + r.runtimeShift;
                // The tile whose quad [0, N+1) covers the sample.
                const int tileX = static_cast<int>(std::floor((sx + p.tileOriginX) / tile));
                const int tileY = static_cast<int>(std::floor((sy + p.tileOriginY) / tile));
                if (tileX < 0 || tileY < 0 || tileX > 1 || tileY > 1) continue;
                const double worldX = wx - tileX * tile + p.tileOriginX;
                const double worldY = wy - tileY * tile + p.tileOriginY;
                if (opaqueAt(worldX, worldY)) ++passed;
            }
            image.values[static_cast<size_t>(y) * image.width + x] =
                Stored(r.resolve(passed / static_cast<double>(at.size())));
        }
    }
    return image;
}

ProbeImages Draw(const Rasteriser& r, bool maskable) {
    ProbeImages images;
    images.pattern = r.pattern;
    images.maskable = maskable;
    const int count = static_cast<int>(r.samples[0].size());
    images.sampleCount = maskable ? count : 0;
    if (maskable) {
        for (int bit = 0; bit < count; ++bit) images.bitMaps.push_back(DrawPoints(r, 1u << bit));
    }
    images.allBits = DrawPoints(r, 0xFFFFFFFFu);
    images.texture = DrawTexture(r);
    return images;
}

Rasteriser ProbeRasteriser(const std::vector<Point16>& at) {
    Rasteriser r;
    r.pattern = ChooseProbePattern(0.0);
    r.SamplesEverywhere(at);
    return r;
}

std::vector<Point16> StandardPoints(int count) {
    const StandardSamplePattern table = StandardPatternFor(count);
    std::vector<Point16> points;
    for (int k = 0; k < count; ++k) points.push_back({double(table.points[k].x), double(table.points[k].y)});
    return points;
}

SampleMeasurement Decode(const ProbeImages& images) {
    SampleMeasurement m;
    DecodeSamplePositions(images, &m);
    return m;
}

void ExpectExact(const SamplePosition& s, int x, int y, const char* what) {
    EXPECT_TRUE(s.x.exact) << what << " x in [" << s.x.low * 16 << ", " << s.x.high * 16 << ")/16";
    EXPECT_TRUE(s.y.exact) << what << " y in [" << s.y.low * 16 << ", " << s.y.high * 16 << ")/16";
    EXPECT_EQ(x, s.x.sixteenths) << what;
    EXPECT_EQ(y, s.y.sixteenths) << what;
}

class StandardTables : public ::testing::TestWithParam<int> {};

TEST_P(StandardTables, EachMaskBitDecodesToItsTablePositionExactly) {
    const int count = GetParam();
    const SampleMeasurement m = Decode(Draw(ProbeRasteriser(StandardPoints(count)), true));
    const StandardSamplePattern table = StandardPatternFor(count);
    ASSERT_EQ(static_cast<size_t>(count), m.samples.size());
    for (int k = 0; k < count; ++k) {
        EXPECT_EQ(k, m.samples[k].maskBit);
        EXPECT_EQ(1, m.samples[k].count);
        ExpectExact(m.samples[k], table.points[k].x, table.points[k].y, "sample");
        // Intervals are one grid step wide and hold the position.
        EXPECT_NEAR(1.0 / 32, m.samples[k].x.high - m.samples[k].x.low, 1e-9);
        EXPECT_LE(m.samples[k].x.low, table.points[k].x / 16.0);
        EXPECT_GT(m.samples[k].x.high, table.points[k].x / 16.0 - (table.points[k].x == 0 ? 0 : 1e-12));
    }
    EXPECT_EQ(count, m.distinctSamples);
    EXPECT_TRUE(m.standardPattern);
    EXPECT_EQ(m.maskOrderStandard, true);
    EXPECT_FALSE(m.quadsDiffer);
    EXPECT_FALSE(m.resolveNotAverage);
    EXPECT_EQ(m.unionMatchesAllBits, true);
    EXPECT_EQ(count == 1, m.allAtCentre);
    EXPECT_EQ("standard " + std::to_string(count) + "-sample pattern", VerdictText(m));
    EXPECT_EQ(TextureSampling::OncePerPixel, m.textureSampling);
    ASSERT_EQ(1u, m.texturePositions.size());
    ExpectExact(m.texturePositions[0], 8, 8, "texture");
    EXPECT_EQ("once per pixel at (8, 8)", TextureSamplingText(m));
}

INSTANTIATE_TEST_SUITE_P(Counts, StandardTables, ::testing::Values(1, 2, 4, 8, 16));

TEST(SampleDecoder, MaskOrderOtherThanTheTablesIsStandardButNotInOrder) {
    std::vector<Point16> swapped = StandardPoints(4);
    std::swap(swapped[0], swapped[3]);
    const SampleMeasurement m = Decode(Draw(ProbeRasteriser(swapped), true));
    ASSERT_EQ(4u, m.samples.size());
    ExpectExact(m.samples[0], 10, 14, "bit 0");
    EXPECT_TRUE(m.standardPattern);
    EXPECT_EQ(m.maskOrderStandard, false);
}

TEST(SampleDecoder, SamplesAHundredAndTwentyEighthOnDecodeToTheSamePositions) {
    for (int count : {4, 16}) {
        Rasteriser r = ProbeRasteriser(StandardPoints(count));
        r.runtimeShift = kShortOfHalf;
        const SampleMeasurement m = Decode(Draw(r, true));
        ASSERT_EQ(static_cast<size_t>(count), m.samples.size());
        EXPECT_EQ(m.maskOrderStandard, true) << count;
        EXPECT_EQ("once per pixel at (8, 8)", TextureSamplingText(m)) << count;
    }
}

TEST(SampleDecoder, AKnownRuntimeBiasIsTakenOut) {
    Rasteriser r;
    r.pattern = ChooseProbePattern(kShortOfHalf);
    r.runtimeShift = kShortOfHalf;
    r.SamplesEverywhere({{6, 2}, {14, 6}, {2.5, 10}, {10, 14}});
    const SampleMeasurement m = Decode(Draw(r, true));
    ASSERT_EQ(4u, m.samples.size());
    ExpectExact(m.samples[0], 6, 2, "bit 0");
    EXPECT_LE(m.samples[2].x.low, 2.5 / 16);
    EXPECT_GT(m.samples[2].x.high, 2.5 / 16);
    EXPECT_EQ("once per pixel at (8, 8)", TextureSamplingText(m));
}

TEST(SampleDecoder, NonMaskableSamplesAreSeparatedByPositionAndCount) {
    // Two samples share a position: one blob counting 2.
    const std::vector<Point16> at = {{6, 2}, {14, 6}, {14, 6}, {2, 10}};
    const SampleMeasurement m = Decode(Draw(ProbeRasteriser(at), false));
    ASSERT_EQ(3u, m.samples.size());
    // Sorted by y, then x.
    ExpectExact(m.samples[0], 6, 2, "first");
    ExpectExact(m.samples[1], 14, 6, "second");
    ExpectExact(m.samples[2], 2, 10, "third");
    EXPECT_EQ(1, m.samples[0].count);
    EXPECT_EQ(2, m.samples[1].count);
    for (const SamplePosition& s : m.samples) EXPECT_EQ(-1, s.maskBit);
    EXPECT_EQ(3, m.distinctSamples);
    EXPECT_FALSE(m.resolveNotAverage);
    EXPECT_EQ("non-standard pattern", VerdictText(m));
}

TEST(SampleDecoder, NonMaskableStandardEightSamplesOverlapYetSeparate) {
    const SampleMeasurement m = Decode(Draw(ProbeRasteriser(StandardPoints(8)), false));
    ASSERT_EQ(8u, m.samples.size());
    EXPECT_TRUE(m.standardPattern);
    EXPECT_EQ(m.maskOrderStandard, std::nullopt);  // the mask names no sample here
    EXPECT_EQ("standard 8-sample pattern", VerdictText(m));
}

TEST(SampleDecoder, AllSamplesAtTheCentre) {
    const std::vector<Point16> centre(4, Point16{8, 8});
    const SampleMeasurement maskable = Decode(Draw(ProbeRasteriser(centre), true));
    ASSERT_EQ(4u, maskable.samples.size());
    EXPECT_EQ(1, maskable.distinctSamples);
    EXPECT_TRUE(maskable.allAtCentre);
    EXPECT_FALSE(maskable.standardPattern);
    EXPECT_EQ("all samples at the pixel centre", VerdictText(maskable));

    // Without the mask, four coincident samples look like one.
    const SampleMeasurement plain = Decode(Draw(ProbeRasteriser(centre), false));
    ASSERT_EQ(1u, plain.samples.size());
    ExpectExact(plain.samples[0], 8, 8, "centre");
    EXPECT_TRUE(plain.allAtCentre);
}

TEST(SampleDecoder, SamplesOnTheLeftAndTopEdgesWrapAroundTheTile) {
    const std::vector<Point16> at = {{0, 8}, {1, 0}, {0, 0}, {15, 15}};
    const SampleMeasurement m = Decode(Draw(ProbeRasteriser(at), true));
    ASSERT_EQ(4u, m.samples.size());
    ExpectExact(m.samples[0], 0, 8, "left edge");
    ExpectExact(m.samples[1], 1, 0, "top edge");
    ExpectExact(m.samples[2], 0, 0, "corner");
    ExpectExact(m.samples[3], 15, 15, "far corner");
    // The edge interval straddles the pixel's edge: it starts before it.
    EXPECT_LT(m.samples[0].x.low, 0.0);
    EXPECT_GT(m.samples[0].x.high, 0.0);
    EXPECT_LT(m.samples[2].y.low, 0.0);
    EXPECT_EQ("non-standard pattern", VerdictText(m));
}

TEST(SampleDecoder, PositionsOffTheSixteenthLatticeReportTheirInterval) {
    // 2.5/16 = 5/32: between two steps.
    const std::vector<Point16> at = {{2.5, 8}, {8, 11.5}};
    const SampleMeasurement m = Decode(Draw(ProbeRasteriser(at), true));
    ASSERT_EQ(2u, m.samples.size());
    EXPECT_FALSE(m.samples[0].x.exact);
    EXPECT_LE(m.samples[0].x.low, 2.5 / 16);
    EXPECT_GT(m.samples[0].x.high, 2.5 / 16);
    EXPECT_NEAR(1.0 / 32, m.samples[0].x.high - m.samples[0].x.low, 1e-9);
    EXPECT_TRUE(m.samples[0].y.exact);
    EXPECT_FALSE(m.samples[1].y.exact);
    EXPECT_LE(m.samples[1].y.low, 11.5 / 16);
    EXPECT_GT(m.samples[1].y.high, 11.5 / 16);
    EXPECT_FALSE(m.standardPattern);
}

TEST(SampleDecoder, PositionsThatDifferWithinAQuadAreShownPerPixel) {
    Rasteriser r = ProbeRasteriser(StandardPoints(4));
    r.samples[1] = {{7, 2}, {14, 6}, {2, 10}, {10, 14}};  // odd columns, even rows
    const SampleMeasurement m = Decode(Draw(r, true));
    EXPECT_TRUE(m.quadsDiffer);
    ASSERT_EQ(4u, m.quads.size());
    EXPECT_EQ(1, m.quads[1].parityX);
    EXPECT_EQ(0, m.quads[1].parityY);
    ASSERT_EQ(4u, m.quads[1].samples.size());
    ExpectExact(m.quads[1].samples[0], 7, 2, "odd column");
    ExpectExact(m.quads[2].samples[0], 6, 2, "odd row");
    ExpectExact(m.samples[0], 6, 2, "even pixel");
    EXPECT_EQ("standard 4-sample pattern, positions differ within a 2x2 pixel quad",
              VerdictText(m));
}

TEST(SampleDecoder, AResolveThatIsNotAnAverageIsSaid) {
    Rasteriser r = ProbeRasteriser(StandardPoints(4));
    r.resolve = [](double mean) { return std::pow(mean, 1.0 / 2.2); };  // gamma-correct resolve
    const SampleMeasurement m = Decode(Draw(r, true));
    EXPECT_TRUE(m.resolveNotAverage);
    EXPECT_EQ("standard 4-sample pattern, resolve is not a plain average", VerdictText(m));
}

TEST(SampleDecoder, UnionOfTheBitMapsIsCheckedAgainstTheAllBitsMap) {
    ProbeImages images = Draw(ProbeRasteriser(StandardPoints(4)), true);
    EXPECT_EQ(Decode(images).unionMatchesAllBits, true);
    // A fifth sample that no mask bit reaches.
    Rasteriser extra = ProbeRasteriser({{6, 2}, {14, 6}, {2, 10}, {10, 14}, {8, 8}});
    images.allBits = DrawPoints(extra, 0xFFFFFFFFu);
    EXPECT_EQ(Decode(images).unionMatchesAllBits, false);
}

TEST(SampleDecoder, APictureThatIsNoSumOfPointSquaresIsFlagged) {
    ProbeImages images = Draw(ProbeRasteriser(StandardPoints(4)), true);
    EXPECT_TRUE(Decode(images).picturesConsistent);
    // One stray lit pixel far from any of bit 0's blobs.
    images.bitMaps[0].values[static_cast<size_t>(40) * images.bitMaps[0].width + 5] = 64.0f / 255.0f;
    const SampleMeasurement m = Decode(images);
    EXPECT_FALSE(m.picturesConsistent);
}

TEST(SampleDecoder, TextureSampledPerSampleGivesEachPosition) {
    Rasteriser r = ProbeRasteriser(StandardPoints(4));
    r.texturePerSample = true;
    const SampleMeasurement m = Decode(Draw(r, true));
    EXPECT_EQ(TextureSampling::PerSample, m.textureSampling);
    ASSERT_EQ(4u, m.texturePositions.size());
    ExpectExact(m.texturePositions[0], 6, 2, "texture");
    EXPECT_EQ("per sample at (6, 2) (14, 6) (2, 10) (10, 14)", TextureSamplingText(m));
}

TEST(SampleDecoder, TextureSampledOffCentreOncePerPixel) {
    Rasteriser r = ProbeRasteriser(StandardPoints(4));
    r.textureAt = {5, 12};
    const SampleMeasurement m = Decode(Draw(r, true));
    EXPECT_EQ("once per pixel at (5, 12)", TextureSamplingText(m));
}

}  // namespace
