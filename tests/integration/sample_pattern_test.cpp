// The viewer on Wine's real Direct3D 9: after the multisample resolve each geometry tile shows one
// blob per sample of a pixel, where that sample lies, enlarged 64 times; the texture tile shows one
// blob whatever the sample count; the mask removes the points and nothing else.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "framework/application_framework.h"
#include "support/real_viewer_suite.h"
#include "support/surface_readback.h"
#include "image/png_writer.h"
#include "viewer/viewer_application.h"

namespace {


using test_support::Picture;
using test_support::ReadBack;

// build/test-output/sample_pattern/<name>.png, beside the test programs' folder.
void SavePicture(const Picture& picture, const char* name) {
    char path[MAX_PATH];
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path);
    folder = folder.substr(0, folder.find_last_of("\\/"));   // build/tests
    folder = folder.substr(0, folder.find_last_of("\\/"));   // build
    folder += "\\test-output";
    CreateDirectoryA(folder.c_str(), nullptr);
    folder += "\\sample_pattern";
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string file = folder + "\\" + name + ".png";
    EXPECT_EQ(S_OK, WritePngFile(file.c_str(), reinterpret_cast<const BYTE*>(picture.pixels.data()),
                                 static_cast<int>(picture.width * 4), picture.width,
                                 picture.height));
}

// A connected patch of pixels darker than the background in one channel.
struct Blob {
    double x = 0;  // ink-weighted centre, in pixels
    double y = 0;
    double meanInk = 0;  // 1: the channel fully gone, 0.25: one sample of four
    int pixels = 0;
};

// Finds the blobs inside [x0, x1] x [y0, y1]; a pixel's ink is how far channel has dropped from
// full. Pixels with less than minimumInk are background.
std::vector<Blob> FindBlobs(const Picture& p, int x0, int y0, int x1, int y1,
                            int (Picture::*channel)(int, int) const, double minimumInk = 0.1) {
    const int w = x1 - x0 + 1, h = y1 - y0 + 1;
    std::vector<double> ink(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) ink[y * w + x] = 1.0 - (p.*channel)(x0 + x, y0 + y) / 255.0;
    std::vector<bool> seen(ink.size(), false);
    std::vector<Blob> blobs;
    for (int start = 0; start < w * h; ++start) {
        if (seen[start] || ink[start] < minimumInk) continue;
        Blob blob;
        double total = 0;
        std::vector<int> stack = {start};
        seen[start] = true;
        while (!stack.empty()) {
            const int at = stack.back();
            stack.pop_back();
            const int x = at % w, y = at / w;
            total += ink[at];
            blob.x += ink[at] * (x0 + x);
            blob.y += ink[at] * (y0 + y);
            ++blob.pixels;
            const int next[4][2] = {{x - 1, y}, {x + 1, y}, {x, y - 1}, {x, y + 1}};
            for (const auto& n : next) {
                if (n[0] < 0 || n[0] >= w || n[1] < 0 || n[1] >= h) continue;
                const int k = n[1] * w + n[0];
                if (!seen[k] && ink[k] >= minimumInk) {
                    seen[k] = true;
                    stack.push_back(k);
                }
            }
        }
        blob.x /= total;
        blob.y /= total;
        blob.meanInk = total / blob.pixels;
        blobs.push_back(blob);
    }
    std::sort(blobs.begin(), blobs.end(), [](const Blob& a, const Blob& b) { return a.y < b.y; });
    return blobs;
}

// One of the three squares at the default 64 grid: the pixel holding grid point (0, 0), and the
// points' inner area, clear of the highlight ring.
struct Square {
    int originX;  // pixel of point column 0
    int originY;  // pixel of point row 0

    int Left() const { return originX + 2; }
    int Top() const { return originY + 2; }
    int Right() const { return originX + 60; }
    int Bottom() const { return originY + 60; }

    // Where inside its pixel the point drawn at this pixel lies: point i sits 1/32 + i/64 past
    // its pixel's left edge, so a blob centred on point i marks a sample there.
    double SampleX(double pixelX) const { return 0.03125 + (pixelX - originX) / 64.0; }
    double SampleY(double pixelY) const { return 0.03125 + (pixelY - originY) / 64.0; }
};

std::vector<Blob> BlobsIn(const Picture& p, const Square& s, int (Picture::*channel)(int, int) const) {
    return FindBlobs(p, s.Left(), s.Top(), s.Right(), s.Bottom(), channel);
}

// Square placements at 512 x 384: window centres x = 97, 32, -33 and y = 32; world point
// (0.53125, 0.53125) lands in pixel (W/2 - xc + 1, H/2 - yc + 1).
constexpr Square kGeometrySquare = {256 - 97 + 1, 192 - 32 + 1};
constexpr Square kTextureSquare = {256 + 33 + 1, 192 - 32 + 1};

struct SamplePosition {
    double x, y;
};

class SamplePatternTest : public test_support::RealViewerSuite {
protected:
    static void SetUpTestSuite() {
        RealViewerSuite::SetUpTestSuite();
        ASSERT_NE(nullptr, app_->device);
        ASSERT_EQ(512u, app_->presentParams.BackBufferWidth);
        ASSERT_EQ(384u, app_->presentParams.BackBufferHeight);
    }

    void SetUp() override {
        ASSERT_NE(nullptr, app_->device);
        app_->sampleMask = 0xFFFFFFFF;
    }

    static Picture RenderDefaultFrame(const char* name) {
        EXPECT_EQ(S_OK, app_->RenderFrame());
        Picture picture = ReadBack(app_->device);
        EXPECT_EQ(512u, picture.width);
        if (picture.width != 0) SavePicture(picture, name);
        return picture;
    }
    static Picture RenderFrameIn(D3DMULTISAMPLE_TYPE type, const char* name) {
        UseMultisampling(type);
        return RenderDefaultFrame(name);
    }
};

TEST_F(SamplePatternTest, WithoutMultisamplingEachGeometryTileShowsOneFullBlobAtThePixelCentre) {
    const Picture picture = RenderFrameIn(D3DMULTISAMPLE_NONE, "1x");
    ASSERT_EQ(512u, picture.width);
    const Square& s = kGeometrySquare;
    // On white the cyan points multiply out green and blue: the geometry is red.
    const auto blobs = BlobsIn(picture, s, &Picture::Green);
    ASSERT_EQ(1u, blobs.size());
    EXPECT_NEAR(1.0, blobs[0].meanInk, 0.05);
    EXPECT_NEAR(0.5, s.SampleX(blobs[0].x), 0.02);
    EXPECT_NEAR(0.5, s.SampleY(blobs[0].y), 0.02);
    // A 1/8-pixel point seen through one sample: 8 (or 7, by the fill rule) points wide.
    EXPECT_GE(blobs[0].pixels, 49);
    EXPECT_LE(blobs[0].pixels, 64);
    const int cx = static_cast<int>(blobs[0].x + 0.5), cy = static_cast<int>(blobs[0].y + 0.5);
    EXPECT_EQ(0xFF0000u, picture.At(cx, cy));
}

TEST_F(SamplePatternTest, FourSamplesShowFourQuarterBlobsAtMesasStandardPositions) {
    const Picture picture = RenderFrameIn(D3DMULTISAMPLE_4_SAMPLES, "4x");
    ASSERT_EQ(512u, picture.width);
    const Square& s = kGeometrySquare;
    const auto blobs = BlobsIn(picture, s, &Picture::Green);
    ASSERT_EQ(4u, blobs.size());
    // Sorted by y, as the blobs are.
    const SamplePosition expected[4] = {{0.375, 0.125}, {0.875, 0.375}, {0.125, 0.625},
                                        {0.625, 0.875}};
    for (int k = 0; k < 4; ++k) {
        EXPECT_NEAR(0.25, blobs[k].meanInk, 0.05) << "blob " << k;
        EXPECT_NEAR(expected[k].x, s.SampleX(blobs[k].x), 0.02) << "blob " << k;
        EXPECT_NEAR(expected[k].y, s.SampleY(blobs[k].y), 0.02) << "blob " << k;
    }
}

TEST_F(SamplePatternTest, TextureTileShowsOneFullBlobWhateverTheSampleCount) {
    std::vector<Blob> found[2];
    const D3DMULTISAMPLE_TYPE types[2] = {D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_4_SAMPLES};
    for (int k = 0; k < 2; ++k) {
        const Picture picture = RenderFrameIn(types[k], k == 0 ? "1x-texture" : "4x-texture");
        ASSERT_EQ(512u, picture.width);
        const Square& s = kTextureSquare;
        // The textured points are green: red and blue are gone where they are.
        found[k] = BlobsIn(picture, s, &Picture::Red);
        ASSERT_EQ(1u, found[k].size()) << types[k];
        EXPECT_NEAR(1.0, found[k][0].meanInk, 0.05) << types[k];
        EXPECT_NEAR(0.5, s.SampleX(found[k][0].x), 0.05) << types[k];
        EXPECT_NEAR(0.5, s.SampleY(found[k][0].y), 0.05) << types[k];
    }
    // Texture sampling happens once per pixel: the same blob in the same place.
    EXPECT_NEAR(found[0][0].x, found[1][0].x, 0.5);
    EXPECT_NEAR(found[0][0].y, found[1][0].y, 0.5);
    EXPECT_EQ(found[0][0].pixels, found[1][0].pixels);
}

// Pixels of the ring, the edge bands and their borders, which the mask must not touch.
std::vector<DWORD> FrameworkPixels(const Picture& p) {
    const int points[][2] = {
        {kGeometrySquare.originX, 192},        // left ring, left side
        {kGeometrySquare.originX + 32, 161},   // left ring, top side
        {256, 1},   {256, 383},                // top and bottom borders, fully covered
        {1, 192},   {511, 192},                // left and right borders
        {256, 5},   {256, 378},                // inside the top and bottom bands
        {5, 100},   {506, 100},                // inside the left and right bands
    };
    std::vector<DWORD> pixels;
    for (const auto& point : points) pixels.push_back(p.At(point[0], point[1]));
    return pixels;
}

int TextPixels(const Picture& p) {
    int count = 0;
    for (int y = 22; y < 70; ++y)
        for (int x = 22; x < 400; ++x)
            if (p.Blue(x, y) > 150 && p.Red(x, y) < 100 && p.Green(x, y) < 100) ++count;
    return count;
}

TEST_F(SamplePatternTest, MaskRemovesThePointsAndKeepsRingBandsAndText) {
    UseMultisampling(D3DMULTISAMPLE_4_SAMPLES);
    const Picture full = RenderDefaultFrame("4x-mask-all");
    app_->sampleMask = 0;
    const Picture none = RenderDefaultFrame("4x-mask-0");
    app_->sampleMask = 0x1;
    const Picture one = RenderDefaultFrame("4x-mask-1");
    ASSERT_EQ(512u, none.width);

    const Square& g = kGeometrySquare;
    const Square& t = kTextureSquare;
    EXPECT_TRUE(BlobsIn(none, g, &Picture::Green).empty());
    EXPECT_TRUE(BlobsIn(none, t, &Picture::Red).empty());
    const auto single = BlobsIn(one, g, &Picture::Green);
    ASSERT_EQ(1u, single.size()) << "one sample enabled, one blob";
    EXPECT_NEAR(0.25, single[0].meanInk, 0.05);

    // The ring is yellow on white, the bottom border red (geometry), the top one green (texture).
    const std::vector<DWORD> kept = FrameworkPixels(full);
    EXPECT_EQ(kept, FrameworkPixels(none));
    EXPECT_EQ(0xFFFF00u, kept[0]);
    EXPECT_EQ(0xFFFF00u, kept[1]);
    EXPECT_EQ(0x00FF00u, kept[2]);
    EXPECT_EQ(0xFF0000u, kept[3]);
    EXPECT_EQ(0xFF0000u, kept[4]);
    EXPECT_EQ(0x00FF00u, kept[5]);
    EXPECT_GT(TextPixels(none), 100);
    EXPECT_GT(TextPixels(full), 100);
}

}  // namespace
