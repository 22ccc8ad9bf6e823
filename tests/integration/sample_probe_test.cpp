// The probe on Wine's real Direct3D 9, with the viewer's own device: where this platform's
// rasteriser samples at 1x, at 4 samples and for every non-maskable level, where it samples the
// texture, and that a measurement leaves the device and the picture as they were.
#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "analysis/session/measurement_session.h"
#include "analysis/positions/standard_sample_patterns.h"
#include "support/real_viewer_suite.h"
#include "support/surface_readback.h"
#include "viewer/viewer_application.h"

namespace {

using Microsoft::WRL::ComPtr;

void ExpectExact(const SamplePosition& s, int x, int y, const char* what) {
    EXPECT_TRUE(s.x.exact && s.y.exact)
        << what << " in [" << s.x.low * 16 << ", " << s.x.high * 16 << ") x [" << s.y.low * 16
        << ", " << s.y.high * 16 << ")/16";
    EXPECT_EQ(x, s.x.sixteenths) << what;
    EXPECT_EQ(y, s.y.sixteenths) << what;
}

void Print(const char* label, const ModeMeasurement& measured) {
    const SampleMeasurement& m = measured.samplePositions;
    std::printf("%s: %s; texture %s; %.1f ms\n", label, VerdictText(m).c_str(),
                TextureSamplingText(m).c_str(), measured.milliseconds);
    for (const SamplePosition& s : m.samples) {
        std::printf("  bit %d: x [%g, %g) y [%g, %g) /16, count %d\n", s.maskBit, s.x.low * 16,
                    s.x.high * 16, s.y.low * 16, s.y.high * 16, s.count);
    }
}

// What the next frame would find on the device.
struct DeviceSnapshot {
    std::vector<DWORD> renderStates;
    std::vector<DWORD> samplerStates;
    std::vector<DWORD> stageStates;
    std::vector<D3DMATRIX> transforms;
    D3DVIEWPORT9 viewport = {};
    ComPtr<IDirect3DSurface9> renderTarget;
    ComPtr<IDirect3DSurface9> depthStencil;
    ComPtr<IDirect3DBaseTexture9> texture;
    ComPtr<IDirect3DVertexBuffer9> stream;
    DWORD fvf = 0;

    explicit DeviceSnapshot(IDirect3DDevice9* device) {
        for (DWORD state = D3DRS_ZENABLE; state <= D3DRS_BLENDOPALPHA; ++state) {
            DWORD value = 0xDEADBEEF;
            device->GetRenderState(static_cast<D3DRENDERSTATETYPE>(state), &value);
            renderStates.push_back(value);
        }
        for (DWORD state = D3DSAMP_ADDRESSU; state <= D3DSAMP_DMAPOFFSET; ++state) {
            DWORD value = 0xDEADBEEF;
            device->GetSamplerState(0, static_cast<D3DSAMPLERSTATETYPE>(state), &value);
            samplerStates.push_back(value);
        }
        for (DWORD stage = 0; stage < 2; ++stage) {
            for (DWORD state = D3DTSS_COLOROP; state <= D3DTSS_CONSTANT; ++state) {
                DWORD value = 0xDEADBEEF;
                device->GetTextureStageState(stage, static_cast<D3DTEXTURESTAGESTATETYPE>(state), &value);
                stageStates.push_back(value);
            }
        }
        for (D3DTRANSFORMSTATETYPE which : {D3DTS_WORLD, D3DTS_VIEW, D3DTS_PROJECTION}) {
            D3DMATRIX m = {};
            device->GetTransform(which, &m);
            transforms.push_back(m);
        }
        device->GetViewport(&viewport);
        device->GetRenderTarget(0, &renderTarget);
        device->GetDepthStencilSurface(&depthStencil);
        device->GetTexture(0, &texture);
        UINT offset = 0, stride = 0;
        device->GetStreamSource(0, &stream, &offset, &stride);
        device->GetFVF(&fvf);
    }
};

void ExpectSameDevice(const DeviceSnapshot& before, const DeviceSnapshot& after) {
    for (size_t k = 0; k < before.renderStates.size(); ++k) {
        EXPECT_EQ(before.renderStates[k], after.renderStates[k]) << "render state " << k + D3DRS_ZENABLE;
    }
    EXPECT_EQ(before.samplerStates, after.samplerStates);
    EXPECT_EQ(before.stageStates, after.stageStates);
    for (size_t k = 0; k < before.transforms.size(); ++k) {
        EXPECT_EQ(0, std::memcmp(&before.transforms[k], &after.transforms[k], sizeof(D3DMATRIX)))
            << "transform " << k;
    }
    EXPECT_EQ(0, std::memcmp(&before.viewport, &after.viewport, sizeof(D3DVIEWPORT9)));
    EXPECT_EQ(before.renderTarget.Get(), after.renderTarget.Get());
    EXPECT_EQ(before.depthStencil.Get(), after.depthStencil.Get());
    EXPECT_EQ(before.texture.Get(), after.texture.Get());
    EXPECT_EQ(before.stream.Get(), after.stream.Get());
    EXPECT_EQ(before.fvf, after.fvf);
}

// Pictures alike, but for the status lines' frame rate where a new frame was drawn.
void ExpectSamePicture(const test_support::Picture& before, const test_support::Picture& after,
                       bool newFrame = false) {
    ASSERT_EQ(before.pixels.size(), after.pixels.size());
    size_t differ = 0;
    size_t first = 0;
    for (size_t k = 0; k < before.pixels.size(); ++k) {
        const bool statusLine = k / before.width < 40 && k % before.width < 400;
        if (newFrame && statusLine) continue;
        if (before.pixels[k] != after.pixels[k] && differ++ == 0) first = k;
    }
    EXPECT_EQ(0u, differ) << "first at (" << first % before.width << ", " << first / before.width
                          << "): " << std::hex << before.pixels[first] << " then "
                          << after.pixels[first];
}

class SampleProbeTest : public test_support::RealViewerSuite {
protected:
    // Through the measurement session, as the dialog and the survey measure.
    static ModeMeasurement Measure() {
        ModeMeasurement measured;
        EXPECT_EQ(S_OK, MeasureMode(app_->device, &measured));
        EXPECT_EQ(app_->presentParams.MultiSampleType, measured.mode.type);
        EXPECT_EQ(app_->presentParams.MultiSampleQuality, measured.mode.quality);
        EXPECT_EQ(app_->backBufferDesc.Format, measured.mode.format);
        return measured;
    }
    // The viewer's device in the mode, measured, and what was found printed under label.
    static ModeMeasurement MeasureIn(D3DMULTISAMPLE_TYPE type, DWORD quality, const char* label) {
        UseMultisampling(type, quality);
        const ModeMeasurement measured = Measure();
        Print(label, measured);
        return measured;
    }

    // What the device's Direct3D answers for the type in a window of the back buffer's format.
    static HRESULT CheckMultisampleType(D3DMULTISAMPLE_TYPE type, DWORD* levels) {
        D3DDEVICE_CREATION_PARAMETERS creation = {};
        ComPtr<IDirect3D9> direct3d;
        if (FAILED(app_->device->GetCreationParameters(&creation)) || FAILED(app_->device->GetDirect3D(&direct3d))) {
            return E_FAIL;
        }
        return direct3d->CheckDeviceMultiSampleType(creation.AdapterOrdinal, creation.DeviceType,
                                                    app_->presentParams.BackBufferFormat, TRUE, type, levels);
    }
};

TEST_F(SampleProbeTest, WithoutMultisamplingOneSampleAtThePixelCentre) {
    const ModeMeasurement measured = MeasureIn(D3DMULTISAMPLE_NONE, 0, "1x");
    const SampleMeasurement& m = measured.samplePositions;
    ASSERT_EQ(1u, m.samples.size());
    EXPECT_EQ(-1, m.samples[0].maskBit);
    ExpectExact(m.samples[0], 8, 8, "the sample");
    EXPECT_FALSE(measured.mode.Maskable());
    EXPECT_EQ(std::nullopt, m.maskOrderStandard);
    EXPECT_EQ(32, m.gridSize);
    EXPECT_EQ("standard 1-sample pattern", VerdictText(m));
    EXPECT_EQ("once per pixel at (8, 8)", TextureSamplingText(m));
}

TEST_F(SampleProbeTest, FourSamplesAtTheStandardPositionsInMaskBitOrder) {
    const ModeMeasurement measured = MeasureIn(D3DMULTISAMPLE_4_SAMPLES, 0, "4x");
    const SampleMeasurement& m = measured.samplePositions;
    ASSERT_EQ(4u, m.samples.size());
    // Mesa's llvmpipe orders its samples as the standard table does: bit s drives sample s.
    const StandardSamplePattern table = StandardPatternFor(4);
    for (int bit = 0; bit < 4; ++bit) {
        EXPECT_EQ(bit, m.samples[bit].maskBit);
        ExpectExact(m.samples[bit], table.points[bit].x, table.points[bit].y, "sample");
    }
    EXPECT_TRUE(measured.mode.Maskable());
    EXPECT_TRUE(m.standardPattern);
    EXPECT_EQ(true, m.maskOrderStandard);
    EXPECT_EQ(true, m.unionMatchesAllBits);
    EXPECT_TRUE(m.picturesConsistent);
    EXPECT_FALSE(m.quadsDiffer);
    EXPECT_FALSE(m.resolveNotAverage);
    EXPECT_EQ(4, m.distinctSamples);
    EXPECT_EQ("standard 4-sample pattern", VerdictText(m));
    // The texture is sampled once per pixel, at its centre, whatever the sample count.
    EXPECT_EQ("once per pixel at (8, 8)", TextureSamplingText(m));
}

TEST_F(SampleProbeTest, EveryNonMaskableLevelDecodesToAStandardPattern) {
    DWORD levels = 0;
    ASSERT_EQ(S_OK, CheckMultisampleType(D3DMULTISAMPLE_NONMASKABLE, &levels));
    std::printf("non-maskable quality levels: %lu\n", static_cast<unsigned long>(levels));
    ASSERT_GE(levels, 1u);
    for (DWORD quality = 0; quality < levels; ++quality) {
        char label[32];
        std::snprintf(label, sizeof(label), "non-maskable %lu", static_cast<unsigned long>(quality));
        const ModeMeasurement measured = MeasureIn(D3DMULTISAMPLE_NONMASKABLE, quality, label);
        const SampleMeasurement& m = measured.samplePositions;
        EXPECT_FALSE(measured.mode.Maskable());
        EXPECT_FALSE(m.resolveNotAverage);
        EXPECT_TRUE(m.picturesConsistent);
        EXPECT_TRUE(m.standardPattern) << VerdictText(m);
        for (const SamplePosition& s : m.samples) EXPECT_EQ(-1, s.maskBit);
        EXPECT_EQ("once per pixel at (8, 8)", TextureSamplingText(m));
    }
}

TEST_F(SampleProbeTest, EveryMaskableTypeOfferedGivesOneSamplePerMaskBit) {
    int offered = 0;
    for (int count = 2; count <= 16; ++count) {
        const auto type = static_cast<D3DMULTISAMPLE_TYPE>(count);
        if (FAILED(CheckMultisampleType(type, nullptr))) continue;
        ++offered;
        const ModeMeasurement measured = MeasureIn(type, 0, ("maskable " + std::to_string(count)).c_str());
        const SampleMeasurement& m = measured.samplePositions;
        ASSERT_EQ(static_cast<size_t>(count), m.samples.size());
        for (int bit = 0; bit < count; ++bit) EXPECT_EQ(bit, m.samples[bit].maskBit);
        EXPECT_TRUE(m.picturesConsistent);
        EXPECT_EQ(true, m.unionMatchesAllBits);
        EXPECT_FALSE(m.resolveNotAverage);
        EXPECT_FALSE(m.quadsDiffer);
    }
    EXPECT_GE(offered, 1);
}

TEST_F(SampleProbeTest, AMeasurementLeavesTheDeviceAndThePictureAsTheyWere) {
    UseMultisampling(D3DMULTISAMPLE_4_SAMPLES);
    ASSERT_EQ(S_OK, app_->RenderFrame());
    const test_support::Picture drawn = test_support::ReadBack(app_->device);
    const DeviceSnapshot before(app_->device);
    for (int twice = 0; twice < 2; ++twice) {
        const SampleMeasurement m = Measure().samplePositions;
        EXPECT_EQ(4u, m.samples.size());
    }
    const DeviceSnapshot after(app_->device);
    ExpectSameDevice(before, after);
    // The back buffer was not drawn into, and the next frame is the same frame.
    ExpectSamePicture(drawn, test_support::ReadBack(app_->device));
    ASSERT_EQ(S_OK, app_->RenderFrame());
    ExpectSamePicture(drawn, test_support::ReadBack(app_->device), true);
}

TEST_F(SampleProbeTest, MeasuresAlikeAcrossADeviceReset) {
    UseMultisampling(D3DMULTISAMPLE_4_SAMPLES);
    const SampleMeasurement first = Measure().samplePositions;
    for (int reset = 0; reset < 2; ++reset) {
        ASSERT_EQ(S_OK, app_->ResetDevice());
        const SampleMeasurement again = Measure().samplePositions;
        ASSERT_EQ(first.samples.size(), again.samples.size());
        for (size_t k = 0; k < first.samples.size(); ++k) {
            EXPECT_EQ(first.samples[k].x.sixteenths, again.samples[k].x.sixteenths);
            EXPECT_EQ(first.samples[k].y.sixteenths, again.samples[k].y.sixteenths);
        }
        EXPECT_EQ(VerdictText(first), VerdictText(again));
        ASSERT_EQ(S_OK, app_->RenderFrame());
    }
}

}  // namespace
