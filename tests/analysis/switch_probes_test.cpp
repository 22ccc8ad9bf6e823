// The probes try every switch whatever the caps say, and report both: a fake runtime that claims
// a switch it ignores and applies one it does not claim, one that claims sRGB writes in the
// render-target form alone, and one that refuses every shader.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/alpha_to_coverage/alpha_to_coverage_probe.h"
#include "analysis/centroid/centroid_probe.h"
#include "analysis/probing/per_sample_drawing.h"
#include "analysis/resolve/resolve_probe.h"
#include "support/resolve_builders.h"
#include "support/fake_device.h"
#include "support/fake_direct3d.h"
#include "support/measurement_builders.h"

namespace {

using fakes::FakeDevice;
using fakes::FakeDirect3D;

constexpr DWORD kAtoc = MAKEFOURCC('A', 'T', 'O', 'C');
constexpr DWORD kA2m1 = MAKEFOURCC('A', '2', 'M', '1');

// A device of one sample per pixel with the runtime's answers given.
struct FakeRuntime {
    FakeDirect3D* direct3d = fakes::MakeTypicalDirect3D();
    FakeDevice device;
    explicit FakeRuntime(FakeDirect3D::CheckDeviceFormatHook answers) {
        direct3d->onCheckDeviceFormat = answers;
        device.direct3d = direct3d;
    }
    ~FakeRuntime() { direct3d->Release(); }
};

// Draws each pre-transformed block into the probe's multisampled target (the first 66 x 66 one: 16
// blocks of 4 pixels and the margin), white where its one sample is covered and black elsewhere. Coverage
// follows alpha (from 128) only under 'ATOC': the fake announces A2M1 and ignores it.
void DrawAlphaBlocks(FakeDevice& d, D3DPRIMITIVETYPE, UINT count, const void* data, UINT) {
    if (d.fvf != (D3DFVF_XYZRHW | D3DFVF_DIFFUSE)) return;
    fakes::FakeSurface* target = nullptr;
    for (fakes::FakeSurface* surface : d.surfaces) {
        if ((surface->desc.Usage & D3DUSAGE_RENDERTARGET) && surface->desc.Width == 66 && surface->desc.Height == 66) {
            target = surface;
            break;
        }
    }
    if (target == nullptr) return;
    const auto* v = static_cast<const ColouredVertex*>(data);
    for (UINT t = 0; t < count; ++t) {
        const ColouredVertex* triangle = v + 3 * t;
        const int alpha = static_cast<int>(triangle[0].colour >> 24);
        bool covered = true;
        if (d.renderStates[D3DRS_ALPHATESTENABLE] && alpha < static_cast<int>(d.renderStates[D3DRS_ALPHAREF])) covered = false;
        if (d.renderStates[D3DRS_ADAPTIVETESS_Y] == kAtoc && alpha < 128) covered = false;
        const float left = std::min({triangle[0].x, triangle[1].x, triangle[2].x});
        const float top = std::min({triangle[0].y, triangle[1].y, triangle[2].y});
        const float right = std::max({triangle[0].x, triangle[1].x, triangle[2].x});
        const float bottom = std::max({triangle[0].y, triangle[1].y, triangle[2].y});
        for (int y = static_cast<int>(top + 0.5f); y < static_cast<int>(bottom + 0.5f); ++y) {
            for (int x = static_cast<int>(left + 0.5f); x < static_cast<int>(right + 0.5f); ++x) {
                if (x < 0 || y < 0 || x >= static_cast<int>(target->desc.Width) || y >= static_cast<int>(target->desc.Height)) continue;
                auto* pixel = reinterpret_cast<DWORD*>(target->bytes.data() + y * target->pitch) + x;
                *pixel = covered ? 0xFFFFFFFFu : 0xFF000000u;
            }
        }
    }
}

TEST(SwitchProbes, AlphaToCoverageDrawsWithEverySwitchAndSetsItsClaimBesideWhatItDid) {
    FakeRuntime runtime([](UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT format) -> HRESULT {
        return static_cast<DWORD>(format) == kA2m1 ? D3D_OK : D3DERR_NOTAVAILABLE;
    });
    runtime.device.onDrawPrimitiveUP = DrawAlphaBlocks;
    const ProbeTarget target{D3DMULTISAMPLE_NONE, 0, D3DFMT_X8R8G8B8};
    SampleMeasurement positions;
    positions.samples = {test_support::ExactSample(0, 8, 8)};
    AlphaToCoverageMeasurement m;
    ASSERT_EQ(S_OK, MeasureAlphaToCoverage(&runtime.device, target, positions, test_support::BoxCounting(1, false), &m));
    ASSERT_EQ(3u, m.switches.size());

    const struct {
        SwitchVerdict claim;
        AlphaToCoverageVerdict verdict;
        const char* answer;
    } kExpected[] = {
        {SwitchVerdict::NotClaimedButWorks, AlphaToCoverageVerdict::Thresholds, "D3DERR_NOTAVAILABLE"},
        {SwitchVerdict::NotClaimedButWorks, AlphaToCoverageVerdict::Thresholds, "D3DERR_NOTAVAILABLE"},
        {SwitchVerdict::ClaimedNoEffect, AlphaToCoverageVerdict::NotApplied, "D3D_OK"},
    };
    for (size_t k = 0; k < 3; ++k) {
        const AlphaToCoverageMap& map = m.switches[k];
        SCOPED_TRACE(CoverageSwitchName(map.coverageSwitch));
        EXPECT_EQ(kExpected[k].claim, map.caps.Verdict());
        EXPECT_EQ(kExpected[k].verdict, map.verdict);
        EXPECT_EQ(map.caps.Claimed(), map.offered);
        ASSERT_EQ(1u, map.caps.answers.size());
        EXPECT_EQ(kExpected[k].answer, map.caps.answers[0].answer);
    }
    EXPECT_EQ(std::vector<int>{128}, m.switches[1].thresholds[0][0]);
    EXPECT_EQ("CheckDeviceFormat(0, D3DRTYPE_SURFACE, 'A2M1') D3D_OK", CapsAnswersText(m.switches[2].caps));
    EXPECT_EQ("ATOC with alpha test: thresholds (k-1/2)/1 (not claimed, works); ATOC: thresholds (k-1/2)/1 (not claimed, "
              "works); "
              "A2M1: not applied (claimed, no effect)",
              AlphaToCoverageColumnText(m));
    // The console's words: a finding once, after the switches that showed it.
    EXPECT_EQ("ATOC with alpha test, ATOC: thresholds (k-1/2)/1; A2M1: not applied", AlphaToCoverageBriefText(m));
    m.switches.pop_back();
    EXPECT_EQ("thresholds (k-1/2)/1", AlphaToCoverageBriefText(m));
    // Each switch was off again after its draw, whichever it was.
    EXPECT_NE(kAtoc, runtime.device.renderStates[D3DRS_ADAPTIVETESS_Y]);
    EXPECT_NE(kA2m1, runtime.device.renderStates[D3DRS_POINTSIZE]);
}

TEST(SwitchProbes, SrgbWritesAreAskedInEveryFormAndOneAnsweringFormIsAClaim) {
    FakeRuntime runtime([](UINT, D3DDEVTYPE, D3DFORMAT, DWORD usage, D3DRESOURCETYPE resource, D3DFORMAT) -> HRESULT {
        if (!(usage & D3DUSAGE_QUERY_SRGBWRITE)) return D3D_OK;
        return (usage & D3DUSAGE_RENDERTARGET) && resource == D3DRTYPE_SURFACE ? D3D_OK : D3DERR_NOTAVAILABLE;
    });
    const ProbeTarget target{D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_X8R8G8B8};
    SampleMeasurement positions;
    for (int s = 0; s < 4; ++s) positions.samples.push_back(test_support::ExactSample(s, 4 + 2 * s, 8));
    ResolveMeasurement m;
    ASSERT_EQ(S_OK, MeasureResolve(&runtime.device, target, positions, &m));
    const SwitchFinding& caps = m.transfer.srgbWrite.caps;
    ASSERT_EQ(4u, caps.answers.size());
    const bool claims[] = {false, true, false, false};
    for (size_t k = 0; k < 4; ++k) EXPECT_EQ(claims[k], caps.answers[k].claims) << caps.answers[k].query;
    EXPECT_EQ("CheckDeviceFormat(D3DUSAGE_QUERY_SRGBWRITE | D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE)",
              caps.answers[1].query);
    EXPECT_EQ(static_cast<long>(D3DERR_NOTAVAILABLE), m.transfer.srgbWrite.capsAnswer);
    // The fake stores what is drawn, never encoded: claimed, and no effect.
    EXPECT_EQ(SwitchVerdict::ClaimedNoEffect, caps.Verdict());
    EXPECT_NE(std::string::npos, ResolveColumnText(m).find("sRGB write (claimed, no effect)"));
}

TEST(SwitchProbes, CentroidTriesEachShaderModelAndNamesTheCallThatRefusedIt) {
    FakeRuntime runtime([](UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT) { return D3D_OK; });
    runtime.device.caps.PixelShaderVersion = D3DPS_VERSION(2, 0);
    runtime.device.caps.VertexShaderVersion = D3DVS_VERSION(3, 0);
    const ProbeTarget target{D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_X8R8G8B8};
    SampleMeasurement positions;
    for (int s = 0; s < 4; ++s) positions.samples.push_back(test_support::ExactSample(s, 2 + 4 * s, 2 + 4 * (s ^ 1)));
    CentroidMeasurement m;
    ASSERT_EQ(S_OK, MeasureCentroid(&runtime.device, target, positions, test_support::BoxCounting(4, true), &m));
    ASSERT_EQ(2u, m.shaderModels.size());
    EXPECT_EQ("ps_3_0", m.shaderModels[0].shaderModel);
    EXPECT_FALSE(m.shaderModels[0].caps.Claimed());
    EXPECT_EQ("ps_2_0", m.shaderModels[1].shaderModel);
    EXPECT_TRUE(m.shaderModels[1].caps.Claimed());
    for (const CentroidShaderModel& model : m.shaderModels) {
        EXPECT_EQ("not tried: CreateVertexShader (D3DERR_INVALIDCALL)", SwitchVerdictText(model.caps));
    }
    EXPECT_EQ(CentroidVerdict::Unavailable, m.verdict);
    EXPECT_EQ("unavailable; ps_3_0 not tried (D3DERR_INVALIDCALL); ps_2_0 not tried (D3DERR_INVALIDCALL)",
              CentroidColumnText(m));
}

TEST(SwitchProbes, CentroidInAFormatItCannotBeReadFromKeepsEachModelsCapsAnswerAndTheReason) {
    FakeRuntime runtime([](UINT, D3DDEVTYPE, D3DFORMAT, DWORD, D3DRESOURCETYPE, D3DFORMAT) { return D3D_OK; });
    runtime.device.caps.PixelShaderVersion = D3DPS_VERSION(3, 0);
    SampleMeasurement positions;
    for (int s = 0; s < 4; ++s) positions.samples.push_back(test_support::ExactSample(s, 2 + 4 * s, 2 + 4 * (s ^ 1)));
    // Red alone holds no point; one sample a pixel has no centroid to look for, and says nothing.
    const struct {
        ProbeTarget target;
        size_t models;
    } kCases[] = {{{D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_R16F}, 2}, {{D3DMULTISAMPLE_NONE, 0, D3DFMT_R16F}, 0}};
    for (const auto& c : kCases) {
        CentroidMeasurement m;
        ASSERT_EQ(S_OK, MeasureCentroid(&runtime.device, c.target, positions, test_support::BoxCounting(4, true), &m));
        ASSERT_EQ(c.models, m.shaderModels.size());
        for (const CentroidShaderModel& model : m.shaderModels) {
            EXPECT_TRUE(model.caps.Claimed()) << model.shaderModel;
            EXPECT_EQ("claimed, not measured: " + m.unavailableReason, SwitchVerdictLineText(model.caps));
        }
    }
}

}  // namespace
