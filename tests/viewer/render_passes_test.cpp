// The frame: which draws each mode makes, in what order and with which states, where the tiles
// are placed, the multisample mask around the point draws, the edge bands, a failed BeginScene,
// and a frame that allocates nothing.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

#include "support/fake_device.h"
#include "pattern/tile_layout.h"
#include "viewer/viewer_fixture.h"

// Counts every operator new of this test program, to show that a frame allocates nothing.
// Out of line, so that the compiler does not pair the malloc inside with a delete-expression.
namespace {
std::atomic<long> allocationCount{0};
}  // namespace

__attribute__((noinline)) void* operator new(std::size_t size) {
    ++allocationCount;
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
__attribute__((noinline)) void* operator new[](std::size_t size) { return operator new(size); }
__attribute__((noinline)) void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    ++allocationCount;
    return std::malloc(size == 0 ? 1 : size);
}
__attribute__((noinline)) void* operator new[](std::size_t size,
                                               const std::nothrow_t& tag) noexcept {
    return operator new(size, tag);
}
__attribute__((noinline)) void operator delete(void* memory) noexcept { std::free(memory); }
__attribute__((noinline)) void operator delete[](void* memory) noexcept { std::free(memory); }
__attribute__((noinline)) void operator delete(void* memory, std::size_t) noexcept {
    std::free(memory);
}
__attribute__((noinline)) void operator delete[](void* memory, std::size_t) noexcept {
    std::free(memory);
}

namespace {

using fakes::FakeDevice;
using viewer_tests::ViewerFixture;

enum class DrawKind { Ring, TexturedPoints, GeometricPoints, Band, Other };

// The device state at one draw, taken by the fake's draw hooks.
struct DrawRecord {
    DrawKind kind;
    D3DPRIMITIVETYPE type;
    UINT start;
    UINT count;
    UINT stride;
    DWORD fvf;
    DWORD mask;
    DWORD textureFactor;
    DWORD alphaBlend;
    DWORD sourceBlend;
    DWORD destinationBlend;
    DWORD alphaTest;
    DWORD alphaRef;
    DWORD alphaFunc;
    DWORD cullMode;
    DWORD addressU;
    DWORD colorOp;
    DWORD colorArg1;
    DWORD alphaOp;
    DWORD alphaArg1;
    IDirect3DBaseTexture9* texture;
    IDirect3DVertexBuffer9* stream;
    D3DMATRIX projection;
    std::vector<float> vertices;  // DrawPrimitiveUP only

    // The window centre of a pattern placement, from the projection.
    float CentreX(float extentX) const { return -projection._41 * extentX * 0.5f; }
    float CentreY(float extentY) const { return projection._42 * extentY * 0.5f; }
};

class RenderPasses : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        CreateAndRestore();
        device->onDrawPrimitive = [this](FakeDevice& d, D3DPRIMITIVETYPE type, UINT start,
                                         UINT count) {
            DrawRecord r = Take(d, type, start, count);
            r.stride = d.streamStride;
            r.kind = Classify(r);
            draws.push_back(r);
        };
        device->onDrawPrimitiveUP = [this](FakeDevice& d, D3DPRIMITIVETYPE type, UINT count,
                                           const void* data, UINT stride) {
            DrawRecord r = Take(d, type, 0, count);
            r.stride = stride;
            r.kind = DrawKind::Band;
            const UINT vertices = type == D3DPT_TRIANGLELIST ? count * 3 : count + 2;
            const float* floats = static_cast<const float*>(data);
            r.vertices.assign(floats, floats + vertices * stride / sizeof(float));
            draws.push_back(r);
        };
    }

    DrawRecord Take(FakeDevice& d, D3DPRIMITIVETYPE type, UINT start, UINT count) {
        DrawRecord r = {};
        r.type = type;
        r.start = start;
        r.count = count;
        r.fvf = d.fvf;
        r.mask = d.renderStates[D3DRS_MULTISAMPLEMASK];
        r.textureFactor = d.renderStates[D3DRS_TEXTUREFACTOR];
        r.alphaBlend = d.renderStates[D3DRS_ALPHABLENDENABLE];
        r.sourceBlend = d.renderStates[D3DRS_SRCBLEND];
        r.destinationBlend = d.renderStates[D3DRS_DESTBLEND];
        r.alphaTest = d.renderStates[D3DRS_ALPHATESTENABLE];
        r.alphaRef = d.renderStates[D3DRS_ALPHAREF];
        r.alphaFunc = d.renderStates[D3DRS_ALPHAFUNC];
        r.cullMode = d.renderStates[D3DRS_CULLMODE];
        r.addressU = d.samplerStates[0][D3DSAMP_ADDRESSU];
        r.colorOp = d.textureStageStates[0][D3DTSS_COLOROP];
        r.colorArg1 = d.textureStageStates[0][D3DTSS_COLORARG1];
        r.alphaOp = d.textureStageStates[0][D3DTSS_ALPHAOP];
        r.alphaArg1 = d.textureStageStates[0][D3DTSS_ALPHAARG1];
        r.texture = d.textures[0];
        r.stream = d.streamSource0;
        r.projection = d.projectionMatrix;
        return r;
    }

    DrawKind Classify(const DrawRecord& r) const {
        const UINT points = static_cast<UINT>(app->gridSize * app->gridSize);
        if (r.type == D3DPT_TRIANGLESTRIP && r.start == 6 * points) return DrawKind::Ring;
        if (r.type == D3DPT_TRIANGLESTRIP && r.stream == app->quadVertexBuffer)
            return DrawKind::TexturedPoints;
        if (r.type == D3DPT_TRIANGLELIST && r.stream == app->pointVertexBuffer)
            return DrawKind::GeometricPoints;
        return DrawKind::Other;
    }

    std::vector<DrawRecord> Of(DrawKind kind) const {
        std::vector<DrawRecord> result;
        for (const DrawRecord& r : draws) {
            if (r.kind == kind) result.push_back(r);
        }
        return result;
    }

    std::vector<DrawKind> Kinds() const {
        std::vector<DrawKind> kinds;
        for (const DrawRecord& r : draws) kinds.push_back(r.kind);
        return kinds;
    }

    void Frame() {
        draws.clear();
        ASSERT_EQ(S_OK, app->RenderFrame());
    }

    std::vector<DrawRecord> draws;
};

std::vector<DrawKind> Repeat(DrawKind kind, size_t count) {
    return std::vector<DrawKind>(count, kind);
}

std::vector<DrawKind> Join(std::initializer_list<std::vector<DrawKind>> parts) {
    std::vector<DrawKind> all;
    for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
    return all;
}

// The status overlay draws its text with DrawPrimitive from the font's buffer: "Other".
std::vector<DrawKind> WithoutText(std::vector<DrawKind> kinds) {
    std::vector<DrawKind> result;
    for (DrawKind k : kinds) {
        if (k != DrawKind::Other) result.push_back(k);
    }
    return result;
}

TEST_F(RenderPasses, ThreeSquareDrawsRingsThenTextureThenGeometryThenBands) {
    Frame();
    EXPECT_EQ(Join({Repeat(DrawKind::Ring, 3), Repeat(DrawKind::TexturedPoints, 2),
                    Repeat(DrawKind::GeometricPoints, 2), Repeat(DrawKind::Band, 8)}),
              WithoutText(Kinds()));
    // Left square geometry only, middle both, right texture only; the rings sit on them.
    const float a = 640.0f, b = 480.0f;
    const auto rings = Of(DrawKind::Ring);
    const float ringX[3] = {97, 32, -33};
    for (int k = 0; k < 3; ++k) {
        EXPECT_FLOAT_EQ(ringX[k], rings[k].CentreX(a)) << k;
        EXPECT_FLOAT_EQ(32.0f, rings[k].CentreY(b)) << k;
    }
    const auto textured = Of(DrawKind::TexturedPoints);
    EXPECT_FLOAT_EQ(32.0f, textured[0].CentreX(a));
    EXPECT_FLOAT_EQ(-33.0f, textured[1].CentreX(a));
    const auto geometric = Of(DrawKind::GeometricPoints);
    EXPECT_FLOAT_EQ(97.0f, geometric[0].CentreX(a));
    EXPECT_FLOAT_EQ(32.0f, geometric[1].CentreX(a));
    EXPECT_EQ(device->endSceneCount, 1);
}

TEST_F(RenderPasses, EachKindOfDrawHasItsOwnStates) {
    Frame();
    const DrawRecord ring = Of(DrawKind::Ring)[0];
    EXPECT_EQ(8u, ring.count);
    EXPECT_EQ(static_cast<DWORD>(D3DFVF_XYZ), ring.fvf);
    EXPECT_EQ(12u, ring.stride);
    EXPECT_EQ(0xFFFFFF00u, ring.textureFactor);
    EXPECT_EQ(static_cast<DWORD>(D3DTOP_SELECTARG1), ring.colorOp);
    EXPECT_EQ(static_cast<DWORD>(D3DTA_TFACTOR), ring.colorArg1);
    EXPECT_EQ(static_cast<DWORD>(D3DTA_TFACTOR), ring.alphaArg1);
    EXPECT_EQ(static_cast<DWORD>(FALSE), ring.alphaBlend);
    EXPECT_EQ(static_cast<DWORD>(D3DCULL_NONE), ring.cullMode);

    const DrawRecord textured = Of(DrawKind::TexturedPoints)[0];
    EXPECT_EQ(2u, textured.count);
    EXPECT_EQ(0u, textured.start);
    EXPECT_EQ(static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_TEX1), textured.fvf);
    EXPECT_EQ(20u, textured.stride);
    EXPECT_EQ(static_cast<IDirect3DBaseTexture9*>(app->pointTexture), textured.texture);
    EXPECT_EQ(0xFF00FF00u, textured.textureFactor);
    EXPECT_EQ(static_cast<DWORD>(D3DTOP_MODULATE), textured.colorOp);
    EXPECT_EQ(static_cast<DWORD>(D3DTA_TEXTURE), textured.colorArg1);
    EXPECT_EQ(static_cast<DWORD>(D3DTA_TEXTURE), textured.alphaArg1);
    EXPECT_EQ(static_cast<DWORD>(TRUE), textured.alphaTest);
    EXPECT_EQ(0x80u, textured.alphaRef);
    EXPECT_EQ(static_cast<DWORD>(D3DCMP_GREATEREQUAL), textured.alphaFunc);
    EXPECT_EQ(static_cast<DWORD>(FALSE), textured.alphaBlend);
    EXPECT_EQ(static_cast<DWORD>(D3DTADDRESS_WRAP), textured.addressU);

    const DrawRecord geometric = Of(DrawKind::GeometricPoints)[0];
    EXPECT_EQ(2u * 64 * 64, geometric.count);
    EXPECT_EQ(static_cast<DWORD>(D3DFVF_XYZ), geometric.fvf);
    EXPECT_EQ(0xFF00FFFFu, geometric.textureFactor);
    EXPECT_EQ(static_cast<DWORD>(TRUE), geometric.alphaBlend);
    EXPECT_EQ(static_cast<DWORD>(D3DBLEND_ZERO), geometric.sourceBlend);
    EXPECT_EQ(static_cast<DWORD>(D3DBLEND_INVSRCCOLOR), geometric.destinationBlend);
    EXPECT_EQ(static_cast<DWORD>(FALSE), geometric.alphaTest);
    EXPECT_EQ(static_cast<DWORD>(D3DTOP_SELECTARG1), geometric.colorOp);
    EXPECT_EQ(static_cast<DWORD>(D3DTA_TFACTOR), geometric.colorArg1);
}

TEST_F(RenderPasses, BlackBackgroundAddsTheGeometryAndSwapsTheColours) {
    app->whiteBackground = FALSE;
    Frame();
    EXPECT_EQ(0xFF0000FFu, Of(DrawKind::Ring)[0].textureFactor);
    EXPECT_EQ(0xFFFF00FFu, Of(DrawKind::TexturedPoints)[0].textureFactor);
    const DrawRecord geometric = Of(DrawKind::GeometricPoints)[0];
    EXPECT_EQ(0xFF00FFFFu, geometric.textureFactor);
    EXPECT_EQ(static_cast<DWORD>(D3DBLEND_ONE), geometric.sourceBlend);
    EXPECT_EQ(static_cast<DWORD>(D3DBLEND_ONE), geometric.destinationBlend);
    const auto bands = Of(DrawKind::Band);
    EXPECT_EQ(0xFF00FFFFu, bands[0].textureFactor);  // beside the geometric edges
    EXPECT_EQ(0xFFFF00FFu, bands[1].textureFactor);  // beside the texture edges
    EXPECT_EQ(0xFF000000u, bands[2].textureFactor);  // band background
    EXPECT_EQ(0xFFFFFFFFu, bands[7].textureFactor);  // band edge
}

TEST_F(RenderPasses, ClearUsesTheBackgroundColour) {
    Frame();
    EXPECT_EQ(1, device->CountCalls("Clear 0 1 0x00FFFFFF 1 0"));
    app->whiteBackground = FALSE;
    device->ClearCalls();
    Frame();
    EXPECT_EQ(1, device->CountCalls("Clear 0 1 0x00000000 1 0"));
}

struct TiledCase {
    int mode;
    size_t textured;
    size_t geometric;
};

class TiledModes : public RenderPasses, public ::testing::WithParamInterface<TiledCase> {};

TEST_P(TiledModes, DrawOneRingThenTexturedThenGeometricTiles) {
    app->drawMode = GetParam().mode;
    Frame();
    EXPECT_EQ(Join({Repeat(DrawKind::Ring, 1), Repeat(DrawKind::TexturedPoints, GetParam().textured),
                    Repeat(DrawKind::GeometricPoints, GetParam().geometric),
                    Repeat(DrawKind::Band, 8)}),
              WithoutText(Kinds()));
    // The ring is centred in the back buffer, one unit off the tile beneath it.
    EXPECT_FLOAT_EQ(32.0f, Of(DrawKind::Ring)[0].CentreX(640));
    EXPECT_FLOAT_EQ(32.0f, Of(DrawKind::Ring)[0].CentreY(480));
}

INSTANTIATE_TEST_SUITE_P(Modes, TiledModes,
                         ::testing::Values(TiledCase{DrawModeBoth, 143, 143},
                                           TiledCase{DrawModeGeometry, 0, 143},
                                           TiledCase{DrawModeTexture, 143, 0}));

// Expects the placements to run over xs (inner loop) and ys (outer loop).
void ExpectPlacements(const std::vector<DrawRecord>& tiles, float a, float b, int x0, int x1,
                      int y0, int y1, int step) {
    const size_t columns = static_cast<size_t>((x1 - x0) / step + 1);
    const size_t rows = static_cast<size_t>((y1 - y0) / step + 1);
    ASSERT_EQ(columns * rows, tiles.size());
    int wrong = 0;
    for (size_t k = 0; k < tiles.size(); ++k) {
        const float x = static_cast<float>(x0 + static_cast<int>(k % columns) * step);
        const float y = static_cast<float>(y0 + static_cast<int>(k / columns) * step);
        if (std::abs(tiles[k].CentreX(a) - x) > 1e-3f || std::abs(tiles[k].CentreY(b) - y) > 1e-3f)
            ++wrong;
    }
    EXPECT_EQ(0, wrong);
}

TEST_F(RenderPasses, TilesCoverA640By480BufferWith143Placements) {
    app->drawMode = DrawModeBoth;
    Frame();
    ExpectPlacements(Of(DrawKind::TexturedPoints), 640, 480, -422, 358, -357, 293, 65);
    ExpectPlacements(Of(DrawKind::GeometricPoints), 640, 480, -422, 358, -357, 293, 65);
    // One unit is one pixel: the projection window is the back buffer.
    EXPECT_FLOAT_EQ(2.0f / 640.0f, Of(DrawKind::GeometricPoints)[0].projection._11);
    EXPECT_FLOAT_EQ(-2.0f / 480.0f, Of(DrawKind::GeometricPoints)[0].projection._22);
}

TEST_F(RenderPasses, FixupsWidenTheProjectionWindowAndAddTiles) {
    UseBackBuffer(1000, 700);
    app->gridSize = 32;
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    app->drawMode = DrawModeGeometry;
    app->supersampleFixupX = 3;
    app->supersampleFixupY = 5;
    Frame();
    const auto tiles = Of(DrawKind::GeometricPoints);
    ExpectPlacements(tiles, 1500, 1750, -808, 776, -940, 875, 33);
    EXPECT_FLOAT_EQ(2.0f / 1500.0f, tiles[0].projection._11);
    EXPECT_FLOAT_EQ(-2.0f / 1750.0f, tiles[0].projection._22);
    // The bands stay in pixels.
    EXPECT_FLOAT_EQ(2.0f / 1000.0f, Of(DrawKind::Band)[0].projection._11);
}

TEST(TileLayout, StartsBeyondTheWindowEdgeAndStepsByTheTilePitch) {
    const TileLayout a = ComputeTileLayout(64, 640.0f, 480.0f);
    EXPECT_EQ(-422, a.xStart);
    EXPECT_EQ(-357, a.yStart);
    EXPECT_EQ(384, a.xMax);
    EXPECT_EQ(304, a.yMax);
    EXPECT_EQ(65, a.step);
    const TileLayout b = ComputeTileLayout(32, 1500.0f, 1750.0f);
    EXPECT_EQ(-808, b.xStart);
    EXPECT_EQ(-940, b.yStart);
    EXPECT_EQ(782, b.xMax);
    EXPECT_EQ(907, b.yMax);
    // An odd extent is truncated before halving: 961 units reach as far as 960.
    EXPECT_EQ(ComputeTileLayout(96, 960.0f, 100.0f).xMax, ComputeTileLayout(96, 961.5f, 100.0f).xMax);
}

TEST_F(RenderPasses, WithoutHighlightNoRingIsDrawnInAnyMode) {
    app->showHighlight = FALSE;
    for (int mode : {DrawModeBoth, DrawModeGeometry, DrawModeTexture, DrawModeThreeSquare}) {
        app->drawMode = mode;
        Frame();
        EXPECT_TRUE(Of(DrawKind::Ring).empty()) << "mode " << mode;
        EXPECT_EQ(8u, Of(DrawKind::Band).size()) << "mode " << mode;
    }
}

TEST_F(RenderPasses, SampleMaskAppliesToThePointDrawsAlone) {
    app->sampleMask = 0x00000005;
    for (int mode : {DrawModeBoth, DrawModeThreeSquare}) {
        app->drawMode = mode;
        Frame();
        for (const DrawRecord& r : draws) {
            const bool point =
                r.kind == DrawKind::TexturedPoints || r.kind == DrawKind::GeometricPoints;
            EXPECT_EQ(point ? 0x5u : 0xFFFFFFFFu, r.mask) << "mode " << mode;
        }
        EXPECT_EQ(0xFFFFFFFFu, device->renderStates[D3DRS_MULTISAMPLEMASK]);
    }
}

TEST_F(RenderPasses, FrameLeavesTheStatesLaterDrawsExpect) {
    Frame();
    EXPECT_EQ(nullptr, device->textures[0]);
    EXPECT_EQ(static_cast<DWORD>(FALSE), device->renderStates[D3DRS_ALPHATESTENABLE]);
    EXPECT_EQ(static_cast<DWORD>(FALSE), device->renderStates[D3DRS_ALPHABLENDENABLE]);
    EXPECT_EQ(0xFFFFFFFFu, device->renderStates[D3DRS_MULTISAMPLEMASK]);
    EXPECT_EQ(1, device->beginSceneCount);
    EXPECT_EQ(1, device->endSceneCount);
    EXPECT_EQ(0, device->misuseCount) << device->lastMisuse;
}

// The band draws of a W x H frame, as (x, y) or (x, y; u, v) lists.
TEST_F(RenderPasses, EdgeBandsDrawBordersBlanksAndSlantedEdgesInPixels) {
    Frame();
    const auto bands = Of(DrawKind::Band);
    ASSERT_EQ(8u, bands.size());
    const float w = 640, h = 480;
    // Border strips S1 and S2, then the blanking list G.
    EXPECT_EQ((std::vector<float>{w, h, 0, w - 2, h - 2, 0, 0, h, 0, 2, h - 2, 0, 0, 0, 0, 2, 2, 0}),
              bands[0].vertices);
    EXPECT_EQ((std::vector<float>{0, 0, 0, 2, 2, 0, w, 0, 0, w - 2, 2, 0, w, h, 0, w - 2, h - 2, 0}),
              bands[1].vertices);
    const std::vector<float> g = {w - 2, h - 2, 0, w - 2, h - 20, 0, 2,  h - 2,  0, 2,  h - 2,  0,
                                  20,    h - 2, 0, 2,     2,      0, 20, h - 20, 0, w - 2, h - 20, 0,
                                  2,     h - 2, 0, 20,    2,      0, 20, h - 2,  0, 2,  2,      0};
    EXPECT_EQ(g, bands[2].vertices);
    const std::vector<float> t1 = {2,      20, 0, 0.5f, 0,    w - 2, 20,    0, 1, 0.5f,
                                   w - 2,  2,  0, 0.5f, 1,    w - 20, 2,    0, 0.5f, 0,
                                   w - 20, h - 2, 0, 1, 0.5f, w - 2, h - 2, 0, 0.5f, 1};
    const std::vector<float> t2 = {2,      20, 0, 0.5f, 0,    2,     2,     0, 0, 0.5f,
                                   w - 2,  2,  0, 0.5f, 1,    w - 20, 2,    0, 0.5f, 0,
                                   w - 2,  2,  0, 0, 0.5f,    w - 2, h - 2, 0, 0.5f, 1};
    EXPECT_EQ(t1, bands[3].vertices);
    EXPECT_EQ(t2, bands[4].vertices);
    EXPECT_EQ(t1, bands[5].vertices);
    EXPECT_EQ(t2, bands[6].vertices);
    EXPECT_EQ(std::vector<float>(g.begin(), g.begin() + 18), bands[7].vertices);

    const D3DPRIMITIVETYPE strip = D3DPT_TRIANGLESTRIP, list = D3DPT_TRIANGLELIST;
    const struct {
        D3DPRIMITIVETYPE type;
        UINT count;
        UINT stride;
        DWORD factor;
        DWORD alphaTest;
        bool halfTexture;
    } expected[8] = {
        {strip, 4, 12, 0xFFFF0000, FALSE, false}, {strip, 4, 12, 0xFF00FF00, FALSE, false},
        {list, 4, 12, 0xFFFFFFFF, FALSE, false},  {list, 2, 20, 0xFFFFFFFF, FALSE, false},
        {list, 2, 20, 0xFFFFFFFF, FALSE, false},  {list, 2, 20, 0xFF000000, TRUE, true},
        {list, 2, 20, 0xFF000000, TRUE, true},    {list, 2, 12, 0xFF000000, FALSE, false},
    };
    for (int k = 0; k < 8; ++k) {
        const auto& e = expected[k];
        EXPECT_EQ(e.type, bands[k].type) << "band draw " << k;
        EXPECT_EQ(e.count, bands[k].count) << "band draw " << k;
        EXPECT_EQ(e.stride, bands[k].stride) << "band draw " << k;
        EXPECT_EQ(e.factor, bands[k].textureFactor) << "band draw " << k;
        EXPECT_EQ(e.alphaTest, bands[k].alphaTest) << "band draw " << k;
        EXPECT_EQ(e.halfTexture, bands[k].texture == app->halfTexture) << "band draw " << k;
        EXPECT_EQ(static_cast<DWORD>(D3DTOP_SELECTARG1), bands[k].colorOp) << k;
        EXPECT_EQ(static_cast<DWORD>(D3DTA_TFACTOR), bands[k].colorArg1) << k;
        EXPECT_EQ(static_cast<DWORD>(D3DTADDRESS_CLAMP), bands[k].addressU) << k;
        EXPECT_EQ(static_cast<DWORD>(FALSE), bands[k].alphaBlend) << k;
        EXPECT_EQ(0xFFFFFFFFu, bands[k].mask) << k;
        // Pixel coordinates, origin top-left, y downwards.
        EXPECT_FLOAT_EQ(2.0f / w, bands[k].projection._11) << k;
        EXPECT_FLOAT_EQ(-2.0f / h, bands[k].projection._22) << k;
        EXPECT_FLOAT_EQ(-1.0f, bands[k].projection._41) << k;
        EXPECT_FLOAT_EQ(1.0f, bands[k].projection._42) << k;
    }
    // The alpha-tested edges take their alpha from the half texture.
    EXPECT_EQ(static_cast<DWORD>(D3DTA_TEXTURE), bands[5].alphaArg1);
    EXPECT_EQ(static_cast<DWORD>(D3DTA_TFACTOR), bands[7].alphaArg1);
    EXPECT_EQ(nullptr, bands[7].texture);
}

TEST_F(RenderPasses, FailedBeginSceneDrawsNothingAndEndsNoScene) {
    device->beginSceneResult = D3DERR_DEVICELOST;
    device->ClearCalls();
    Frame();
    EXPECT_TRUE(draws.empty());
    EXPECT_EQ(0, device->CountCalls("Clear"));
    EXPECT_EQ(0, device->CountCalls("SetRenderState"));
    EXPECT_EQ(0, device->endSceneCount);
}

TEST_F(RenderPasses, UpdateFrameResetsTheWorldTransform) {
    D3DMATRIX skewed = {};
    skewed._11 = 3.0f;
    device->SetTransform(D3DTS_WORLD, &skewed);
    ASSERT_EQ(S_OK, app->UpdateFrame());
    EXPECT_EQ(1.0f, device->worldMatrix._11);
    EXPECT_EQ(1.0f, device->worldMatrix._44);
}

TEST_F(RenderPasses, AFrameAllocatesNothing) {
    device->onDrawPrimitive = nullptr;
    device->onDrawPrimitiveUP = nullptr;
    device->recordCalls = false;
    UseBackBuffer(1280, 1024);
    for (int mode : {DrawModeThreeSquare, DrawModeBoth}) {
        app->drawMode = mode;
        ASSERT_EQ(S_OK, app->RenderFrame());  // warm-up
        const long before = allocationCount.load();
        ASSERT_EQ(S_OK, app->RenderFrame());
        EXPECT_EQ(before, allocationCount.load()) << "mode " << mode;
    }
    EXPECT_GT(device->drawPrimitiveCount, 0);
    // The counter does see allocations: the fake's own call log makes some.
    device->recordCalls = true;
    const long before = allocationCount.load();
    ASSERT_EQ(S_OK, app->RenderFrame());
    EXPECT_LT(before, allocationCount.load());
}

}  // namespace
