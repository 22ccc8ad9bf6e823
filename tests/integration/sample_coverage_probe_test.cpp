// What Wine's Direct3D 9 (on Mesa's llvmpipe) writes into each sample, pinned as this platform's
// facts: alpha to coverage for each driver switch, where a _centroid input is evaluated, and what
// D3DRS_MULTISAMPLEANTIALIAS off does on a multisampled target; at 4 samples, and at 1x where a
// measurement applies there. And that the measurements leave the device's states as they were.
#include <windows.h>
#include <d3d9.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "analysis/alpha_to_coverage/alpha_to_coverage_probe.h"
#include "analysis/antialias_off/antialias_off_probe.h"
#include "analysis/centroid/centroid_probe.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_json.h"
#include "analysis/centroid/centroid_json.h"
#include "analysis/antialias_off/antialias_off_json.h"
#include "analysis/positions/sample_probe.h"
#include "analysis/resolve/resolve_counting.h"
#include "analysis/resolve/resolve_probe.h"
#include "image/png_writer.h"
#include "support/gdi_canvas.h"
#include "support/real_viewer_suite.h"
#include "viewer/view_page.h"

namespace {

using Microsoft::WRL::ComPtr;

class SampleCoverageProbeTest : public test_support::RealViewerSuite {
protected:
    struct Measured {
        ProbeTarget target;
        SampleMeasurement positions;
        ResolveCounting counting;  // through the resolve measured after the positions, as the session does
    };

    static Measured Positions() {
        Measured m;
        EXPECT_EQ(S_OK, DescribeProbeTarget(app_->device, &m.target));
        EXPECT_EQ(S_OK, MeasureSamplePositions(app_->device, m.target, &m.positions));
        ResolveMeasurement resolve;
        EXPECT_EQ(S_OK, MeasureResolve(app_->device, m.target, m.positions, &resolve));
        m.counting = CountingThrough(resolve, m.target.Maskable());
        return m;
    }
};

const AlphaToCoverageMap& Switch(const AlphaToCoverageMeasurement& m, CoverageSwitch which) {
    return m.switches[static_cast<size_t>(which)];
}

void ExpectEveryPixel(const AlphaToCoverageMap& map, const std::vector<int>& thresholds) {
    ASSERT_EQ(static_cast<size_t>(kCoverageBlock), map.thresholds.size());
    for (const auto& row : map.thresholds) {
        for (const auto& pixel : row) EXPECT_EQ(thresholds, pixel);
    }
}

TEST_F(SampleCoverageProbeTest, AtocAndTheUnannouncedA2m1CoverOneSampleMorePerQuarterOfAlphaInMaskOrder) {
    UseMultisampling(D3DMULTISAMPLE_4_SAMPLES);
    const Measured m = Positions();
    AlphaToCoverageMeasurement atoc;
    ASSERT_EQ(S_OK, MeasureAlphaToCoverage(app_->device, m.target, m.positions, m.counting, &atoc));
    std::printf("4 samples, %.1f ms\n", atoc.milliseconds);
    ASSERT_EQ(3u, atoc.switches.size());
    // Sample s is covered once alpha passes s/4: the first at any alpha above 0, the same in
    // every pixel, no dither; the alpha test (passing alpha >= 1) changes nothing.
    // A2M1's FOURCC is refused, yet the switch applies alpha to coverage just the same.
    for (CoverageSwitch which : {CoverageSwitch::AtocWithAlphaTest, CoverageSwitch::Atoc, CoverageSwitch::A2m1}) {
        const AlphaToCoverageMap& map = Switch(atoc, which);
        SCOPED_TRACE(CoverageSwitchName(which));
        EXPECT_EQ(which != CoverageSwitch::A2m1, map.offered);
        EXPECT_EQ(which != CoverageSwitch::A2m1 ? SwitchVerdict::ClaimedAndWorks : SwitchVerdict::NotClaimedButWorks,
                  map.caps.Verdict());
        EXPECT_TRUE(map.perSample);
        EXPECT_TRUE(map.monotonic);
        EXPECT_TRUE(map.unionMatchesSamples);
        EXPECT_EQ(AlphaToCoverageVerdict::Thresholds, map.verdict);
        ExpectEveryPixel(map, {1, 64, 128, 192});
        EXPECT_EQ("thresholds (k-1)/4 (alpha 1, 64, 128, 192), the same in every pixel",
                  AlphaToCoverageVerdictText(map));
    }
    EXPECT_EQ("CheckDeviceFormat(0, D3DRTYPE_SURFACE, 'A2M1') D3DERR_NOTAVAILABLE",
              CapsAnswersText(Switch(atoc, CoverageSwitch::A2m1).caps));
    EXPECT_EQ("ATOC with alpha test: thresholds (k-1)/4 (claimed, works); ATOC: thresholds (k-1)/4 (claimed, works); "
              "A2M1: thresholds (k-1)/4 (not claimed, works)",
              AlphaToCoverageColumnText(atoc));
}

TEST_F(SampleCoverageProbeTest, AtocWithoutMultisamplingIsNotApplied) {
    UseMultisampling(D3DMULTISAMPLE_NONE);
    const Measured m = Positions();
    AlphaToCoverageMeasurement atoc;
    ASSERT_EQ(S_OK, MeasureAlphaToCoverage(app_->device, m.target, m.positions, m.counting, &atoc));
    // Every alpha covers the pixel's one sample; with the alpha test, every alpha it passes.
    EXPECT_EQ(AlphaToCoverageVerdict::NotApplied, Switch(atoc, CoverageSwitch::Atoc).verdict);
    ExpectEveryPixel(Switch(atoc, CoverageSwitch::Atoc), {0});
    EXPECT_EQ(AlphaToCoverageVerdict::NotApplied, Switch(atoc, CoverageSwitch::AtocWithAlphaTest).verdict);
    ExpectEveryPixel(Switch(atoc, CoverageSwitch::AtocWithAlphaTest), {1});
    EXPECT_EQ(SwitchVerdict::NotClaimedNoEffect, Switch(atoc, CoverageSwitch::A2m1).caps.Verdict());
    EXPECT_EQ(SwitchVerdict::ClaimedNoEffect, Switch(atoc, CoverageSwitch::Atoc).caps.Verdict());

    // Centroid and multisampling off have nothing to measure with one sample.
    CentroidMeasurement centroid;
    ASSERT_EQ(S_OK, MeasureCentroid(app_->device, m.target, m.positions, m.counting, &centroid));
    EXPECT_EQ(CentroidVerdict::Unavailable, centroid.verdict);
    EXPECT_EQ("not measured: one sample per pixel", CentroidVerdictText(centroid));
    AntialiasOffMeasurement off;
    ASSERT_EQ(S_OK, MeasureAntialiasOff(app_->device, m.target, m.positions, &off));
    EXPECT_EQ(AntialiasOffVerdict::NotMeasured, off.verdict);
}

TEST_F(SampleCoverageProbeTest, CentroidIsIgnoredInBothShaderModelsEveryCoveredSampleGetsThePixelCentre) {
    UseMultisampling(D3DMULTISAMPLE_4_SAMPLES);
    const Measured m = Positions();
    CentroidMeasurement centroid;
    ASSERT_EQ(S_OK, MeasureCentroid(app_->device, m.target, m.positions, m.counting, &centroid));
    std::printf("%s, %.1f ms\n%s\n", CentroidVerdictText(centroid).c_str(), centroid.milliseconds,
                CentroidToJson(centroid).dump().c_str());
    EXPECT_GE(centroid.pixelShaderVersion, static_cast<unsigned>(D3DPS_VERSION(3, 0)));
    ASSERT_EQ(3u, centroid.cases.size());
    int centreOutside = 0;
    for (size_t k = 0; k < centroid.cases.size(); ++k) {
        const CentroidCase& c = centroid.cases[k];
        // 1, 2 and 3 of the 4 samples, exactly those the edge was placed for.
        EXPECT_EQ(c.intended, c.covered);
        EXPECT_EQ(k + 1, c.evaluatedPerSample.size());
        for (const auto* points : {&c.evaluatedPerSample, &c.plainPerSample}) {
            for (const PixelPoint& p : *points) {
                EXPECT_NEAR(0.5, p.x, centroid.precision);
                EXPECT_NEAR(0.5, p.y, centroid.precision);
            }
        }
        if (!c.centreCovered) ++centreOutside;
    }
    EXPECT_GE(centreOutside, 1);
    EXPECT_EQ(CentroidVerdict::Centre, centroid.verdict);
    EXPECT_EQ("ignored: at the pixel centre", CentroidVerdictText(centroid));
    EXPECT_LT(centroid.precision, 0.011);
    // ps_2_0 declares _centroid too: drawn with, and as ignored as in ps_3_0.
    ASSERT_EQ(2u, centroid.shaderModels.size());
    for (const CentroidShaderModel& model : centroid.shaderModels) {
        SCOPED_TRACE(model.shaderModel);
        EXPECT_TRUE(model.caps.tried);
        EXPECT_EQ(CentroidVerdict::Centre, model.verdict);
        EXPECT_EQ(SwitchVerdict::ClaimedNoEffect, model.caps.Verdict());
    }
    EXPECT_EQ("ps_2_0", centroid.shaderModels[1].shaderModel);
}

TEST_F(SampleCoverageProbeTest, MultisamplingOffWritesOneCentreEvaluationIntoEverySample) {
    UseMultisampling(D3DMULTISAMPLE_4_SAMPLES);
    const Measured m = Positions();
    AntialiasOffMeasurement off;
    ASSERT_EQ(S_OK, MeasureAntialiasOff(app_->device, m.target, m.positions, &off));
    EXPECT_EQ(AntialiasOffVerdict::Centre, off.verdict);
    ASSERT_EQ(4u, off.positions.samples.size());
    for (const SamplePosition& s : off.positions.samples) {
        EXPECT_TRUE(s.x.exact && s.y.exact);
        EXPECT_EQ(8, s.x.sixteenths);
        EXPECT_EQ(8, s.y.sixteenths);
        // Each mask bit's picture lights the whole pixel: the mask is not applied either.
        EXPECT_EQ(4, s.count);
    }
}

TEST_F(SampleCoverageProbeTest, TheMeasurementsLeaveTheSwitchesShadersAndTargetAsTheyWere) {
    UseMultisampling(D3DMULTISAMPLE_4_SAMPLES);
    ASSERT_EQ(S_OK, app_->RenderFrame());
    IDirect3DDevice9* device = app_->device;
    const D3DRENDERSTATETYPE watched[] = {D3DRS_ADAPTIVETESS_Y, D3DRS_POINTSIZE, D3DRS_ALPHATESTENABLE,
                                          D3DRS_ALPHAREF, D3DRS_MULTISAMPLEMASK,
                                          D3DRS_MULTISAMPLEANTIALIAS, D3DRS_ALPHABLENDENABLE};
    std::vector<DWORD> before;
    for (D3DRENDERSTATETYPE state : watched) {
        DWORD value = 0;
        device->GetRenderState(state, &value);
        before.push_back(value);
    }
    ComPtr<IDirect3DSurface9> targetBefore;
    device->GetRenderTarget(0, &targetBefore);

    const Measured m = Positions();
    AlphaToCoverageMeasurement atoc;
    CentroidMeasurement centroid;
    AntialiasOffMeasurement off;
    ASSERT_EQ(S_OK, MeasureAlphaToCoverage(device, m.target, m.positions, m.counting, &atoc));
    ASSERT_EQ(S_OK, MeasureCentroid(device, m.target, m.positions, m.counting, &centroid));
    ASSERT_EQ(S_OK, MeasureAntialiasOff(device, m.target, m.positions, &off));

    for (size_t k = 0; k < before.size(); ++k) {
        DWORD value = 0;
        device->GetRenderState(watched[k], &value);
        EXPECT_EQ(before[k], value) << "render state " << watched[k];
    }
    ComPtr<IDirect3DSurface9> targetAfter;
    device->GetRenderTarget(0, &targetAfter);
    EXPECT_EQ(targetBefore.Get(), targetAfter.Get());
    ComPtr<IDirect3DPixelShader9> pixelShader;
    ComPtr<IDirect3DVertexShader9> vertexShader;
    device->GetPixelShader(&pixelShader);
    device->GetVertexShader(&vertexShader);
    EXPECT_EQ(nullptr, pixelShader.Get());
    EXPECT_EQ(nullptr, vertexShader.Get());
    // A switch left on would cover the positions probe's opaque points in fewer samples.
    const SampleMeasurement again = Positions().positions;
    EXPECT_EQ(VerdictText(m.positions), VerdictText(again));
}

// The pages made from this platform's measurements say what the tests above pin; with
// QUILLANT_PAGE_PICTURES set to a folder their pictures are written there to look at.
TEST_F(SampleCoverageProbeTest, ThePagesOfTheMeasurementsAtFourSamples) {
    UseMultisampling(D3DMULTISAMPLE_4_SAMPLES);
    const Measured m = Positions();
    ModeMeasurement measurement;
    measurement.mode = m.target;
    measurement.samplePositions = m.positions;
    ASSERT_EQ(S_OK, MeasureAlphaToCoverage(app_->device, m.target, m.positions, m.counting, &measurement.alphaToCoverage));
    ASSERT_EQ(S_OK, MeasureCentroid(app_->device, m.target, m.positions, m.counting, &measurement.centroid));
    ASSERT_EQ(S_OK, MeasureAntialiasOff(app_->device, m.target, m.positions, &measurement.antialiasOff));
    const std::vector<MeasurementPage> all = MeasurementPages(measurement);
    const MeasurementPage pages[] = {all[2], all[3]};
    EXPECT_NE(std::string::npos, pages[0].text.find("A2M1 claimed?: not claimed, but works"));
    EXPECT_NE(std::string::npos, pages[1].text.find("Centroid in ps_2_0: ignored: at the pixel centre; claimed, but no effect"));
    EXPECT_NE(std::string::npos, pages[1].text.find("Centroid: ignored: at the pixel centre"));
    EXPECT_NE(std::string::npos, pages[1].text.find("one evaluation at the centre, written to every sample"));
    const char* folder = std::getenv("QUILLANT_PAGE_PICTURES");
    for (const MeasurementPage& page : pages) {
        const int width = 720, height = 300;
        test_support::Canvas canvas(width, height);
        page.paint(canvas.Dc(), RECT{0, 0, width, height});
        std::printf("%s\n%s\n", page.title.c_str(), page.text.c_str());
        if (folder == nullptr) continue;
        const std::string path = std::string(folder) + "/wine_" + page.title + ".png";
        EXPECT_EQ(S_OK, WritePngFile(path.c_str(), reinterpret_cast<const BYTE*>(canvas.Bits()), width * 4,
                                     width, height));
    }
}

}  // namespace
