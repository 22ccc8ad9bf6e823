// Reading a frame back from the back buffer on Wine's real device: the pixels drawn, at the back
// buffer's size and format, and at 4 samples the resolved picture (edges in steps of a quarter),
// before and after a reset to another multisample type.
#include "image/kept_frame.h"

#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <set>

#include "support/real_viewer_suite.h"

namespace {

using Microsoft::WRL::ComPtr;

struct Vertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};

class ResolvedBackBufferTest : public test_support::RealViewerSuite {
protected:
    void SwitchTo(D3DMULTISAMPLE_TYPE type) {
        app_->settings.multisampleType = type;
        app_->settings.multisampleQuality = 0;
        app_->BuildPresentParameters();
        ASSERT_EQ(app_->ResetDevice(), S_OK);
    }

    // White, with a black triangle whose long edge is a slant: at 1x every pixel is black or
    // white; resolved from 4 samples the edge pixels take the quarter steps between.
    void DrawSlant() {
        IDirect3DDevice9* device = app_->device;
        ASSERT_EQ(device->BeginScene(), S_OK);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, 0xFFFFFFFF, 1.0f, 0);
        const Vertex triangle[3] = {{10.0f, 10.0f, 0.5f, 1.0f, 0xFF000000},
                                    {300.0f, 10.0f, 0.5f, 1.0f, 0xFF000000},
                                    {10.0f, 200.3f, 0.5f, 1.0f, 0xFF000000}};
        device->SetFVF(D3DFVF_XYZRHW | D3DFVF_DIFFUSE);
        device->SetTexture(0, nullptr);
        device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
        device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
        device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(Vertex));
        ASSERT_EQ(device->EndScene(), S_OK);
    }

    // The distinct blue values of the read-back picture, after checking its shape.
    std::set<int> ReadBlues() {
        ComPtr<IDirect3DSurface9> copy;
        EXPECT_EQ(ReadResolvedBackBuffer(app_->device, copy.GetAddressOf()), S_OK);
        std::set<int> blues;
        if (!copy) return blues;
        D3DSURFACE_DESC desc = {};
        copy->GetDesc(&desc);
        EXPECT_EQ(desc.Width, app_->backBufferDesc.Width);
        EXPECT_EQ(desc.Height, app_->backBufferDesc.Height);
        EXPECT_EQ(desc.Format, app_->backBufferDesc.Format);
        EXPECT_EQ(desc.Pool, D3DPOOL_SYSTEMMEM);
        EXPECT_EQ(desc.MultiSampleType, D3DMULTISAMPLE_NONE);
        D3DLOCKED_RECT locked = {};
        if (FAILED(copy->LockRect(&locked, nullptr, D3DLOCK_READONLY))) return blues;
        for (UINT y = 0; y < desc.Height; ++y) {
            const BYTE* row = static_cast<const BYTE*>(locked.pBits) + y * locked.Pitch;
            for (UINT x = 0; x < desc.Width; ++x) blues.insert(row[x * 4]);
        }
        copy->UnlockRect();
        return blues;
    }
};

TEST_F(ResolvedBackBufferTest, OneSampleGivesTheDrawnPixelsAndFourSamplesTheResolvedOnes) {
    SwitchTo(D3DMULTISAMPLE_NONE);
    DrawSlant();
    EXPECT_EQ(ReadBlues(), (std::set<int>{0, 255}));

    SwitchTo(D3DMULTISAMPLE_4_SAMPLES);
    DrawSlant();
    const std::set<int> resolved = ReadBlues();
    EXPECT_TRUE(resolved.count(0) && resolved.count(255));
    // Partly covered pixels, a quarter apart (within rounding).
    int steps = 0;
    for (int blue : resolved) {
        if (blue == 0 || blue == 255) continue;
        ++steps;
        EXPECT_TRUE(std::abs(blue - 64) <= 2 || std::abs(blue - 128) <= 2 || std::abs(blue - 191) <= 2) << blue;
    }
    EXPECT_GT(steps, 0);

    // Back to one sample after the reset: the targets made per call never hold up a reset.
    SwitchTo(D3DMULTISAMPLE_NONE);
    DrawSlant();
    EXPECT_EQ(ReadBlues(), (std::set<int>{0, 255}));
}

TEST_F(ResolvedBackBufferTest, NoDeviceOrNowhereToPutTheCopyIsRefused) {
    IDirect3DSurface9* copy = nullptr;
    EXPECT_EQ(ReadResolvedBackBuffer(nullptr, &copy), E_POINTER);
    EXPECT_EQ(ReadResolvedBackBuffer(app_->device, nullptr), E_POINTER);
    EXPECT_EQ(copy, nullptr);
}

}  // namespace
