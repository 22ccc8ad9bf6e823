// The pattern resources: what the point grid, ring, quad and textures hold, how the grid buffer
// is grown and reused, and how the objects follow the device's creation, resets and release.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "support/fake_device.h"
#include "pattern/pattern_contents.h"
#include "viewer/viewer_fixture.h"

namespace {

using fakes::FakeSurface;
using fakes::FakeTexture;
using fakes::FakeVertexBuffer;
using viewer_tests::FloatFromBits;
using viewer_tests::ViewerFixture;

struct Vertex3 {
    float x, y, z;
};
struct Vertex5 {
    float x, y, z, u, v;
};

class PatternResources : public ViewerFixture {
protected:
    FakeVertexBuffer& PointBuffer() { return *FakeVertexBuffer::From(app->pointVertexBuffer); }

    Vertex3 PointVertex(UINT index) {
        Vertex3 v;
        std::memcpy(&v, PointBuffer().bytes.data() + index * sizeof(Vertex3), sizeof(v));
        return v;
    }

    // The six vertices of grid point (i, j).
    std::vector<Vertex3> Point(int i, int j) {
        std::vector<Vertex3> vertices;
        const UINT first = 6u * static_cast<UINT>(j * app->gridSize + i);
        for (UINT k = 0; k < 6; ++k) vertices.push_back(PointVertex(first + k));
        return vertices;
    }

    Vertex5 QuadVertex(UINT index) {
        Vertex5 v;
        std::memcpy(&v, FakeVertexBuffer::From(app->quadVertexBuffer)->bytes.data() +
                            index * sizeof(Vertex5),
                    sizeof(v));
        return v;
    }

    static WORD Texel(IDirect3DTexture9* texture, UINT x, UINT y) {
        return static_cast<WORD>(FakeTexture::From(texture)->levels[0]->PixelAt(x, y));
    }
};

// Expects the two triangles top-left, top-right, bottom-left and bottom-right, bottom-left,
// top-right of the square (left, top)-(right, bottom).
void ExpectSquare(const std::vector<Vertex3>& v, float left, float top, float right,
                  float bottom) {
    const float expected[6][2] = {{left, top},     {right, top},    {left, bottom},
                                  {right, bottom}, {left, bottom}, {right, top}};
    for (int k = 0; k < 6; ++k) {
        EXPECT_FLOAT_EQ(expected[k][0], v[k].x) << "vertex " << k;
        EXPECT_FLOAT_EQ(expected[k][1], v[k].y) << "vertex " << k;
        EXPECT_EQ(0.0f, v[k].z) << "vertex " << k;
    }
}

TEST_F(PatternResources, DefaultGridPointsStartOneThirtySecondPastAPixelBoundary) {
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    ExpectSquare(Point(0, 0), 0.46875f, 0.46875f, 0.59375f, 0.59375f);
    // 63 + 63/64 + 0.53125 in both axes, side 1/8.
    ExpectSquare(Point(63, 63), 64.453125f, 64.453125f, 64.578125f, 64.578125f);
    // Along a row the position inside the pixel advances by 1/N; rows do the same downwards.
    ExpectSquare(Point(1, 0), 1.484375f, 0.46875f, 1.609375f, 0.59375f);
    ExpectSquare(Point(0, 2), 0.46875f, 2.5f, 0.59375f, 2.625f);
}

TEST_F(PatternResources, RingFramesTheTileTwoUnitsWideAfterThePoints) {
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    const float expected[10][2] = {{0, 0},   {2, 2},   {65, 0}, {63, 2}, {65, 65},
                                   {63, 63}, {0, 65},  {2, 63}, {0, 0},  {2, 2}};
    for (UINT k = 0; k < 10; ++k) {
        const Vertex3 v = PointVertex(6 * 64 * 64 + k);
        EXPECT_EQ(expected[k][0], v.x) << "ring vertex " << k;
        EXPECT_EQ(expected[k][1], v.y) << "ring vertex " << k;
        EXPECT_EQ(0.0f, v.z) << "ring vertex " << k;
    }
}

TEST_F(PatternResources, GeometryOffsetMovesThePointsButNotTheRing) {
    app->geometryOffsetX = -0.5f;
    app->geometryOffsetY = 0.25f;
    app->pointSize = 0.0625f;
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    ExpectSquare(Point(0, 0), 0.03125f - 0.03125f, 0.78125f - 0.03125f, 0.03125f + 0.03125f,
                 0.78125f + 0.03125f);
    EXPECT_EQ(65.0f, PointVertex(6 * 64 * 64 + 2).x);
    EXPECT_EQ(0.0f, PointVertex(6 * 64 * 64 + 2).y);
}

TEST_F(PatternResources, QuadRepeatsTheTextureOncePerGridCellFromTheTextureOffset) {
    app->gridSize = 32;
    app->textureOffsetX = -0.03125f;
    app->textureOffsetY = 0.5f;
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    const Vertex5 expected[4] = {{0, 0, 0, -0.03125f, 0.5f},
                                 {33, 0, 0, 31.96875f, 0.5f},
                                 {0, 33, 0, -0.03125f, 32.5f},
                                 {33, 33, 0, 31.96875f, 32.5f}};
    FakeVertexBuffer& quad = *FakeVertexBuffer::From(app->quadVertexBuffer);
    EXPECT_EQ(80u, quad.desc.Size);
    EXPECT_EQ(static_cast<DWORD>(D3DFVF_XYZ | D3DFVF_TEX1), quad.desc.FVF);
    EXPECT_EQ(D3DPOOL_MANAGED, quad.desc.Pool);
    for (UINT k = 0; k < 4; ++k) {
        const Vertex5 v = QuadVertex(k);
        EXPECT_EQ(expected[k].x, v.x) << k;
        EXPECT_EQ(expected[k].y, v.y) << k;
        EXPECT_EQ(0.0f, v.z) << k;
        EXPECT_FLOAT_EQ(expected[k].u, v.u) << k;
        EXPECT_FLOAT_EQ(expected[k].v, v.v) << k;
    }
}

struct WhiteSquare {
    UINT32 pointSizeBits;
    int first;
    int last;
};

class PointTextureSquare : public PatternResources,
                           public ::testing::WithParamInterface<WhiteSquare> {};

TEST_P(PointTextureSquare, IsOpaqueWhiteExactlyOverItsRowsAndColumns) {
    app->pointSize = FloatFromBits(GetParam().pointSizeBits);
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    FakeTexture& texture = *FakeTexture::From(app->pointTexture);
    EXPECT_EQ(256u, texture.width);
    EXPECT_EQ(256u, texture.height);
    EXPECT_EQ(D3DFMT_A4R4G4B4, texture.format);
    EXPECT_EQ(D3DPOOL_MANAGED, texture.pool);
    int wrong = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            const bool inside = x >= GetParam().first && x <= GetParam().last &&
                                y >= GetParam().first && y <= GetParam().last;
            if (Texel(app->pointTexture, x, y) != (inside ? 0xFFFF : 0x0000)) ++wrong;
        }
    }
    EXPECT_EQ(0, wrong);
}

// The six menu sizes; 1/12 and 1/24 are the rounded floats the menu sets.
INSTANTIATE_TEST_SUITE_P(MenuPointSizes, PointTextureSquare,
                         ::testing::Values(WhiteSquare{0x3E000000, 112, 143},
                                           WhiteSquare{0x3DAAAAAB, 118, 138},
                                           WhiteSquare{0x3D800000, 120, 135},
                                           WhiteSquare{0x3D2AAAAB, 123, 133},
                                           WhiteSquare{0x3D000000, 124, 131},
                                           WhiteSquare{0x3C800000, 126, 129}));

TEST_F(PatternResources, PointTextureIsRefilledWhenThePointSizeShrinks) {
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    IDirect3DTexture9* first = app->pointTexture;
    app->pointSize = 0.015625f;
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    EXPECT_EQ(first, app->pointTexture);
    // A texel of the old 32-texel square outside the new 4-texel one is cleared again.
    EXPECT_EQ(0x0000, Texel(app->pointTexture, 112, 112));
    EXPECT_EQ(0xFFFF, Texel(app->pointTexture, 126, 129));
}

TEST_F(PatternResources, HalfTextureIsOpaqueOnTheLeftHalfOfEveryRow) {
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    FakeTexture& texture = *FakeTexture::From(app->halfTexture);
    EXPECT_EQ(32u, texture.width);
    EXPECT_EQ(D3DFMT_A4R4G4B4, texture.format);
    int wrong = 0;
    for (UINT y = 0; y < 32; ++y) {
        for (UINT x = 0; x < 32; ++x) {
            if (Texel(app->halfTexture, x, y) != (x < 16 ? 0xFFFF : 0x0000)) ++wrong;
        }
    }
    EXPECT_EQ(0, wrong);
}

TEST_F(PatternResources, PointBufferLengthFollowsTheGridSize) {
    const struct {
        int grid;
        UINT bytes;
    } cases[] = {{32, 73848}, {64, 295032}, {96, 663672}, {128, 1179768}};
    for (const auto& c : cases) {
        // Growing each time, so every size gets a buffer of its own.
        app->gridSize = c.grid;
        ASSERT_EQ(S_OK, app->RebuildPatternResources());
        FakeVertexBuffer& buffer = PointBuffer();
        EXPECT_EQ(c.bytes, buffer.desc.Size) << c.grid;
        EXPECT_EQ(c.bytes, app->pointVertexBufferBytes) << c.grid;
        EXPECT_EQ(static_cast<DWORD>(D3DUSAGE_WRITEONLY), buffer.desc.Usage);
        EXPECT_EQ(static_cast<DWORD>(D3DFVF_XYZ), buffer.desc.FVF);
        EXPECT_EQ(D3DPOOL_MANAGED, buffer.desc.Pool);
    }
    // Each old buffer was let go when it was replaced.
    ASSERT_EQ(5u, device->vertexBuffers.size());  // four grids and the quad
    EXPECT_EQ(0u, device->vertexBuffers[0]->refCount);
    EXPECT_EQ(1u, PointBuffer().refCount);
}

TEST_F(PatternResources, SmallerGridReusesTheLargerBufferAndWritesOnlyItsFront) {
    app->gridSize = 128;
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    IDirect3DVertexBuffer9* large = app->pointVertexBuffer;
    const std::vector<BYTE> before = PointBuffer().bytes;

    app->gridSize = 32;
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    EXPECT_EQ(large, app->pointVertexBuffer);
    EXPECT_EQ(1179768u, app->pointVertexBufferBytes);
    const std::vector<BYTE>& after = PointBuffer().bytes;
    // The 32 grid's ring closes its part; everything behind it is the 128 grid's, untouched.
    const Vertex3 ringEnd = PointVertex(6 * 32 * 32 + 9);
    EXPECT_EQ(2.0f, ringEnd.x);
    EXPECT_EQ(0, std::memcmp(before.data() + 73848, after.data() + 73848, 1179768 - 73848));
    EXPECT_NE(0, std::memcmp(before.data(), after.data(), 73848));

    app->gridSize = 128;
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    EXPECT_EQ(large, app->pointVertexBuffer);
}

TEST_F(PatternResources, GrowingFromThirtyTwoToSixtyFourCreatesANewBuffer) {
    app->gridSize = 32;
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    IDirect3DVertexBuffer9* small = app->pointVertexBuffer;
    app->gridSize = 64;
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    EXPECT_NE(small, app->pointVertexBuffer);
    EXPECT_EQ(295032u, PointBuffer().desc.Size);
    EXPECT_EQ(0u, device->vertexBuffers[0]->refCount);
}

TEST_F(PatternResources, FailedGrowthLeavesNoBufferAndKeepsTheOldLength) {
    ASSERT_EQ(S_OK, app->RebuildPatternResources());
    app->gridSize = 96;
    device->createVertexBufferResult = D3DERR_OUTOFVIDEOMEMORY;
    EXPECT_EQ(E_FAIL, app->RebuildPatternResources());
    EXPECT_EQ(nullptr, app->pointVertexBuffer);
    EXPECT_EQ(295032u, app->pointVertexBufferBytes);
    EXPECT_EQ(0u, device->vertexBuffers[0]->refCount);

    // The next call starts again from what exists.
    device->createVertexBufferResult = D3D_OK;
    EXPECT_EQ(S_OK, app->RebuildPatternResources());
    EXPECT_EQ(663672u, PointBuffer().desc.Size);
}

TEST_F(PatternResources, EachMissingObjectFailsTheRebuildAtItsOwnStep) {
    // The quad buffer is the second vertex buffer, the half texture the second texture.
    device->failCreateVertexBufferAfter = 1;
    EXPECT_EQ(E_FAIL, app->RebuildPatternResources());
    EXPECT_NE(nullptr, app->pointVertexBuffer);
    EXPECT_EQ(nullptr, app->quadVertexBuffer);
    EXPECT_EQ(nullptr, app->pointTexture);

    device->failCreateTextureAfter = 1;
    EXPECT_EQ(E_FAIL, app->RebuildPatternResources());
    EXPECT_NE(nullptr, app->quadVertexBuffer);
    EXPECT_NE(nullptr, app->pointTexture);
    EXPECT_EQ(nullptr, app->halfTexture);

    EXPECT_EQ(S_OK, app->RebuildPatternResources());
    EXPECT_NE(nullptr, app->halfTexture);
}

TEST_F(PatternResources, CreateDeviceResourcesFailsWhenThePatternCannotBeBuilt) {
    device->createTextureResult = D3DERR_OUTOFVIDEOMEMORY;
    EXPECT_EQ(E_FAIL, app->CreateDeviceResources());
}

TEST_F(PatternResources, RestoreSetsTheBaselineStateAndAPlainTargetLikeTheBackBuffer) {
    device->displayMode = {1024, 768, 60, D3DFMT_X8R8G8B8};
    device->renderStates[D3DRS_DITHERENABLE] = FALSE;
    device->renderStates[D3DRS_ZENABLE] = D3DZB_TRUE;
    device->renderStates[D3DRS_LIGHTING] = TRUE;
    CreateAndRestore();

    EXPECT_EQ(static_cast<DWORD>(TRUE), device->renderStates[D3DRS_DITHERENABLE]);
    EXPECT_EQ(static_cast<DWORD>(FALSE), device->renderStates[D3DRS_SPECULARENABLE]);
    EXPECT_EQ(static_cast<DWORD>(D3DZB_FALSE), device->renderStates[D3DRS_ZENABLE]);
    EXPECT_EQ(0x000F0F0Fu, device->renderStates[D3DRS_AMBIENT]);
    EXPECT_EQ(static_cast<DWORD>(FALSE), device->renderStates[D3DRS_LIGHTING]);
    EXPECT_EQ(static_cast<DWORD>(D3DTOP_SELECTARG2), device->textureStageStates[0][D3DTSS_COLOROP]);
    EXPECT_EQ(static_cast<DWORD>(D3DTA_CURRENT), device->textureStageStates[0][D3DTSS_COLORARG2]);
    EXPECT_EQ(static_cast<DWORD>(D3DTOP_SELECTARG2), device->textureStageStates[0][D3DTSS_ALPHAOP]);
    EXPECT_EQ(static_cast<DWORD>(D3DTEXF_POINT), device->samplerStates[0][D3DSAMP_MINFILTER]);
    EXPECT_EQ(1.0f, device->material.Diffuse.r);
    EXPECT_EQ(0.0f, device->material.Diffuse.g);
    EXPECT_EQ(1.0f, device->material.Ambient.a);
    EXPECT_EQ(1.0f, device->projectionMatrix._11);
    EXPECT_EQ(0.0f, device->projectionMatrix._41);

    // The frame is resolved into a plain render target of the back buffer's size and format;
    // nothing is kept before a frame is drawn.
    FakeSurface* target = FakeSurface::From(app->resolvedFrame);
    ASSERT_NE(nullptr, target);
    EXPECT_EQ(640u, target->desc.Width);
    EXPECT_EQ(480u, target->desc.Height);
    EXPECT_EQ(D3DFMT_X8R8G8B8, target->desc.Format);
    EXPECT_EQ(D3DMULTISAMPLE_NONE, target->desc.MultiSampleType);
    EXPECT_EQ(D3DPOOL_DEFAULT, target->desc.Pool);
    EXPECT_EQ(nullptr, app->frontBufferCopy);
}

TEST_F(PatternResources, ResetRenewsOnlyTheResolveTargetAndKeepsTheKeptFrame) {
    CreateAndRestore();
    app->updateContinuously = false;  // frozen: the frame drawn is kept
    ASSERT_EQ(S_OK, app->RenderFrame());
    IDirect3DSurface9* kept = app->frontBufferCopy;
    IDirect3DSurface9* oldTarget = app->resolvedFrame;
    ASSERT_NE(nullptr, kept);
    const int pointLocks = PointBuffer().lockCount;
    const void* pattern[4] = {app->pointVertexBuffer, app->quadVertexBuffer, app->pointTexture,
                              app->halfTexture};
    const int textureLocks = device->CountCalls("Texture.LockRect");

    ASSERT_EQ(S_OK, app->ReleaseDeviceResources());
    EXPECT_EQ(nullptr, app->resolvedFrame);
    EXPECT_EQ(0u, FakeSurface::From(oldTarget)->refCount);
    EXPECT_EQ(kept, app->frontBufferCopy) << "system memory outlives the reset";
    EXPECT_NE(nullptr, app->shownFrame);
    EXPECT_NE(nullptr, app->pointVertexBuffer);

    device->SetPresentParameters(viewer_tests::WindowedPresentParameters(800, 600));
    app->backBufferDesc = device->backBuffer->desc;
    ASSERT_EQ(S_OK, app->RestoreDeviceResources());
    ASSERT_NE(nullptr, app->resolvedFrame);
    EXPECT_EQ(800u, FakeSurface::From(app->resolvedFrame)->desc.Width);
    EXPECT_EQ(kept, app->frontBufferCopy);
    EXPECT_EQ(pointLocks, PointBuffer().lockCount);
    const void* after[4] = {app->pointVertexBuffer, app->quadVertexBuffer, app->pointTexture,
                            app->halfTexture};
    EXPECT_EQ(0, std::memcmp(pattern, after, sizeof(pattern)));
    EXPECT_EQ(textureLocks, device->CountCalls("Texture.LockRect"));

    // The next keep follows the new size.
    app->keepNextFrame = true;
    ASSERT_EQ(S_OK, app->RenderFrame());
    ASSERT_NE(nullptr, app->frontBufferCopy);
    EXPECT_EQ(800u, FakeSurface::From(app->frontBufferCopy)->desc.Width);
    EXPECT_EQ(D3DPOOL_SYSTEMMEM, FakeSurface::From(app->frontBufferCopy)->desc.Pool);
    EXPECT_EQ(0, device->misuseCount) << device->lastMisuse;
}

TEST_F(PatternResources, FailedResolveTargetIsNotAnErrorAndKeepsNothing) {
    device->createRenderTargetResult = D3DERR_OUTOFVIDEOMEMORY;
    CreateAndRestore();
    EXPECT_EQ(nullptr, app->resolvedFrame);
    app->keepNextFrame = true;
    EXPECT_EQ(S_OK, app->RenderFrame());
    EXPECT_EQ(nullptr, app->frontBufferCopy);
    EXPECT_TRUE(app->keepNextFrame) << "still to be kept once a frame can be";
}

TEST_F(PatternResources, DeviceReleaseLetsGoOfEverythingButRemembersTheBufferLength) {
    CreateAndRestore();
    ASSERT_EQ(S_OK, app->ReleaseDeviceResources());
    ASSERT_EQ(S_OK, app->DestroyDeviceResources());
    EXPECT_EQ(nullptr, app->pointVertexBuffer);
    EXPECT_EQ(nullptr, app->quadVertexBuffer);
    EXPECT_EQ(nullptr, app->pointTexture);
    EXPECT_EQ(nullptr, app->halfTexture);
    EXPECT_EQ(295032u, app->pointVertexBufferBytes);
    // The font's objects go with the viewer's.
    EXPECT_EQ(0, device->LiveResourceCount()) << device->LiveResourceReport();

    // A new device starts from nothing and gets its own objects.
    CreateAndRestore();
    EXPECT_NE(nullptr, app->pointVertexBuffer);
    EXPECT_EQ(295032u, PointBuffer().desc.Size);
}

}  // namespace
