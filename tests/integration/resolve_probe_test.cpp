// The resolve measured on Wine's real Direct3D 9 with the viewer's own device: how the resolve
// combines samples at 1x and at 4 samples, how far it reaches, how many levels an edge makes,
// and what sRGB writing does beside what the format claims.
#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "analysis/probing/probe_target.h"
#include "analysis/resolve/resolve_counting.h"
#include "analysis/resolve/resolve_json.h"
#include "analysis/resolve/resolve_probe.h"
#include "analysis/positions/sample_probe.h"
#include "image/png_writer.h"
#include "support/gdi_canvas.h"
#include "support/real_viewer_suite.h"
#include "viewer/view_page.h"
#include "viewer/viewer_application.h"

namespace {

class ResolveProbeTest : public test_support::RealViewerSuite {
protected:
    // The positions first, as the measurement session takes them, then the resolve.
    static ResolveMeasurement Measure() {
        ProbeTarget target;
        EXPECT_EQ(S_OK, DescribeProbeTarget(app_->device, &target));
        SampleMeasurement positions;
        EXPECT_EQ(S_OK, MeasureSamplePositions(app_->device, target, &positions));
        ResolveMeasurement m;
        EXPECT_EQ(S_OK, MeasureResolve(app_->device, target, positions, &m));
        std::printf("%s\n%.1f ms\n", ResolveToJson(m).dump().c_str(), m.milliseconds);
        return m;
    }
};

// QUILLANT_PAGE_PNG=folder: the Resolve page of a real measurement, its text printed and its
// picture written there, to look at.
void SavePage(const ResolveMeasurement& m, const char* name) {
    const char* folder = std::getenv("QUILLANT_PAGE_PNG");
    if (folder == nullptr) return;
    ModeMeasurement measurement;
    measurement.resolve = m;
    const MeasurementPage page = MeasurementPages(measurement)[1];
    std::printf("%s\n", page.text.c_str());
    test_support::Canvas canvas(560, 300);
    page.paint(canvas.Dc(), RECT{0, 0, 560, 300});
    const std::string path = std::string(folder) + "\\" + name;
    EXPECT_EQ(S_OK, WritePngFile(path.c_str(), reinterpret_cast<const BYTE*>(canvas.Bits()), 560 * 4, 560, 300));
}

void ExpectLadder(const std::vector<LadderStep>& ladder, std::initializer_list<int> values, int tolerance) {
    ASSERT_EQ(values.size(), ladder.size());
    int k = 0;
    for (int value : values) {
        EXPECT_EQ(k, ladder[k].covered);
        EXPECT_NEAR(value, ladder[k].value, tolerance) << "rung " << k;
        ++k;
    }
}

void ExpectBoxFootprint(const ResolveMeasurement& m) {
    EXPECT_EQ(FootprintVerdict::Box, m.footprint.verdict);
    EXPECT_NEAR(255, m.footprint.weights[2][2], m.transfer.colourSamples);
}

// The states the probe changes, as the next frame would find them.
struct ProbeTouchedStates {
    DWORD values[6] = {};
    RECT scissor = {};
    Microsoft::WRL::ComPtr<IDirect3DSurface9> renderTarget;

    explicit ProbeTouchedStates(IDirect3DDevice9* device) {
        const D3DRENDERSTATETYPE states[6] = {D3DRS_MULTISAMPLEMASK, D3DRS_SRGBWRITEENABLE, D3DRS_SCISSORTESTENABLE,
                                              D3DRS_TEXTUREFACTOR, D3DRS_CULLMODE, D3DRS_LIGHTING};
        for (int k = 0; k < 6; ++k) device->GetRenderState(states[k], &values[k]);
        device->GetScissorRect(&scissor);
        device->GetRenderTarget(0, &renderTarget);
    }
};

TEST_F(ResolveProbeTest, AtFourSamplesTheResolveAveragesStoredValuesInABoxWithFiveLevels) {
    UseMultisampling(D3DMULTISAMPLE_4_SAMPLES);
    const RECT scissor = {3, 4, 50, 60};
    app_->device->SetScissorRect(&scissor);
    app_->device->SetRenderState(D3DRS_MULTISAMPLEMASK, 0x5);
    const ProbeTouchedStates before(app_->device);
    const ResolveMeasurement m = Measure();
    const ProbeTouchedStates after(app_->device);
    for (int k = 0; k < 6; ++k) EXPECT_EQ(before.values[k], after.values[k]) << "state " << k;
    EXPECT_EQ(0, std::memcmp(&before.scissor, &after.scissor, sizeof(RECT)));
    EXPECT_EQ(before.renderTarget.Get(), after.renderTarget.Get());
    app_->device->SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);

    EXPECT_EQ(4, m.transfer.colourSamples);
    EXPECT_EQ(TransferVerdict::Stored, m.transfer.curve.verdict) << TransferVerdictText(m.transfer.curve);
    ExpectLadder(m.transfer.curve.ladder, {0, 64, 128, 191, 255}, 1);
    ExpectLadder(m.transfer.curve.grey, {0, 32, 64, 96, 128}, 1);
    ExpectBoxFootprint(m);
    ASSERT_EQ(4u, m.footprint.perSample.size());
    for (const FootprintMap& map : m.footprint.perSample) EXPECT_NEAR(64, map.values[2][2], 1);
    EXPECT_EQ(5, m.coverage.levels);
    EXPECT_EQ(CoverageVerdict::Equal, m.coverage.verdict);
    // The bare query on a surface is refused; with the render-target usage, and for a texture, it
    // is answered; and the writes come out encoded.
    const SwitchFinding& srgb = m.transfer.srgbWrite.caps;
    ASSERT_EQ(4u, srgb.answers.size());
    EXPECT_EQ("D3DERR_NOTAVAILABLE", srgb.answers[0].answer);
    EXPECT_EQ("D3D_OK", srgb.answers[1].answer);
    EXPECT_EQ("D3D_OK", srgb.answers[2].answer);
    EXPECT_EQ(SwitchVerdict::ClaimedAndWorks, srgb.Verdict()) << CapsAnswersText(srgb);

    // The four resolves: samples plain and sRGB-written, each after a plain and after an
    // sRGB-written last draw. Wine applies sRGB writing lazily: after an sRGB-written last draw
    // (the state off again) the same samples resolve in linear light, plain and sRGB-written alike.
    const LastDrawLadders& last = m.transfer.afterSrgbDraw;
    ASSERT_TRUE(last.measured);
    EXPECT_TRUE(last.dependsOnLastDraw) << LastDrawText(m.transfer);
    EXPECT_EQ(TransferVerdict::Linear, last.plain.verdict) << TransferVerdictText(last.plain);
    ExpectLadder(last.plain.ladder, {0, 137, 188, 225, 255}, 1);
    ExpectLadder(last.plain.grey, {0, 66, 92, 112, 128}, 1);
    ASSERT_TRUE(m.transfer.srgbWrite.tried);
    EXPECT_EQ(TransferVerdict::Stored, m.transfer.srgbWrite.curve.verdict);
    EXPECT_EQ(TransferVerdict::Linear, last.srgb.verdict) << TransferVerdictText(last.srgb);
    // So coverage is counted through it, and single samples' values read back.
    const ResolveCounting counting = CountingThrough(m, true);
    EXPECT_TRUE(counting.CanCount()) << counting.countDeclined;
    EXPECT_TRUE(counting.CanReadValues()) << counting.singleDeclined << counting.valueDeclined;
    SavePage(m, "resolve-4x.png");
}

TEST_F(ResolveProbeTest, WithoutMultisamplingOneSampleTwoLevels) {
    UseMultisampling(D3DMULTISAMPLE_NONE);
    const ResolveMeasurement m = Measure();
    EXPECT_EQ(1, m.transfer.colourSamples);
    ExpectLadder(m.transfer.curve.ladder, {0, 255}, 0);
    ExpectBoxFootprint(m);
    EXPECT_EQ(2, m.coverage.levels);
    EXPECT_EQ(CoverageVerdict::Equal, m.coverage.verdict);
    SavePage(m, "resolve-1x-real.png");
}

// The mask does not reach these samples: rungs and lit samples are squares on the measured
// positions, and must find what the mask finds for a maskable type.
TEST_F(ResolveProbeTest, NonMaskableLevelsMeasuredByGeometryAverageStoredValuesInABox) {
    D3DDEVICE_CREATION_PARAMETERS creation = {};
    ASSERT_EQ(S_OK, app_->device->GetCreationParameters(&creation));
    Microsoft::WRL::ComPtr<IDirect3D9> direct3d;
    ASSERT_EQ(S_OK, app_->device->GetDirect3D(&direct3d));
    DWORD levels = 0;
    ASSERT_EQ(S_OK, direct3d->CheckDeviceMultiSampleType(creation.AdapterOrdinal, creation.DeviceType,
                                                         app_->presentParams.BackBufferFormat, TRUE,
                                                         D3DMULTISAMPLE_NONMASKABLE, &levels));
    for (DWORD quality = 0; quality < levels; ++quality) {
        UseMultisampling(D3DMULTISAMPLE_NONMASKABLE, quality);
        const ResolveMeasurement m = Measure();
        const int s = m.transfer.colourSamples;
        EXPECT_GE(s, 2) << "quality " << quality;
        EXPECT_EQ(TransferVerdict::Stored, m.transfer.curve.verdict) << TransferVerdictText(m.transfer.curve);
        ASSERT_FALSE(m.transfer.curve.ladder.empty());
        for (const LadderStep& step : m.transfer.curve.ladder) {
            EXPECT_NEAR(255.0 * step.covered / s, step.value, 1.0) << "quality " << quality;
        }
        ExpectBoxFootprint(m);
        EXPECT_EQ(s + 1, m.coverage.levels) << "quality " << quality;
    }
}

}  // namespace
