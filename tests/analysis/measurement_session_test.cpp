// A mode's measurement where one probe fails: the others stand, the failure is recorded with its
// call, code and reason, reads back from JSON, shows in the views and is a difference from a
// measured result; where the positions fail, every probe that aims at the samples declines.
#include <gtest/gtest.h>

#include <string>

#include "analysis/session/measurement_json.h"
#include "analysis/session/measurement_module.h"
#include "support/fake_device.h"
#include "support/fake_direct3d.h"

namespace {

using fakes::FakeDevice;

const MultisampleMode kFourSamples = {D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_X8R8G8B8};

const MeasurementModule& ModuleAt(const char* key) {
    for (const MeasurementModule& module : MeasurementModules()) {
        if (std::string(module.key) == key) return module;
    }
    throw std::out_of_range(key);
}

class MeasurementSession : public ::testing::Test {
protected:
    void SetUp() override { device.direct3d = direct3d; }
    void TearDown() override { direct3d->Release(); }

    // The render targets the position probe makes: the next one is the resolve probe's.
    static int PositionTargets() {
        fakes::FakeDirect3D* d3d = fakes::MakeTypicalDirect3D();
        FakeDevice alone;
        alone.direct3d = d3d;
        ModeMeasurement m;
        m.mode = kFourSamples;
        MeasurementModules().front().measure(&alone, &m);
        d3d->Release();
        return alone.CountCalls("CreateRenderTarget");
    }

    fakes::FakeDirect3D* direct3d = fakes::MakeTypicalDirect3D();  // offers alpha to coverage
    FakeDevice device;
};

TEST_F(MeasurementSession, AFailedProbeLeavesTheOthersStandingAndIsKeptShownAndComparedAsItsFailure) {
    device.failCreateRenderTargetAfter = PositionTargets();
    ModeMeasurement m;
    ASSERT_EQ(S_OK, MeasureModeAs(&device, kFourSamples, &m));

    // The resolve's probe failed, and with it the two findings of its picture; nothing else.
    ASSERT_EQ(3u, m.failures.size());
    const MeasurementFailure& failure = m.failures.at("/resolve/footprint");
    EXPECT_EQ("probe resolve/transfer", failure.call);
    EXPECT_EQ(D3DERR_OUTOFVIDEOMEMORY, failure.code);
    EXPECT_EQ("resolve/transfer, resolve/footprint and resolve/coverage: probe resolve/transfer failed, "
              "D3DERR_OUTOFVIDEOMEMORY (0x8876017C): not enough video memory for the probe's targets",
              FailedMeasurementsText(m));
    // Alpha to coverage ran and declined to count through a resolve that was not measured.
    ASSERT_FALSE(m.alphaToCoverage.switches.empty());
    for (const AlphaToCoverageMap& map : m.alphaToCoverage.switches) {
        if (!map.offered) continue;
        EXPECT_EQ(AlphaToCoverageVerdict::Declined, map.verdict);
        EXPECT_EQ("not counted: the resolve was not measured: coverage cannot be counted without it",
                  AlphaToCoverageVerdictText(map));
    }

    const nlohmann::json written = m;
    EXPECT_EQ("D3DERR_OUTOFVIDEOMEMORY (0x8876017C)", written.at("resolve").at("coverage").at("failed").at("code"));
    const ModeMeasurement read = written.get<ModeMeasurement>();
    ASSERT_EQ(3u, read.failures.size());
    EXPECT_EQ(failure.code, read.failures.at("/resolve/transfer").code);
    EXPECT_EQ(written, nlohmann::json(read));

    const MeasurementView view = DescribeMeasurement(ModuleAt("/resolve/transfer"), read);
    EXPECT_EQ("Resolve", view.page);
    ASSERT_EQ(1u, view.columns.size());
    EXPECT_EQ("Resolve", view.columns[0].heading);
    EXPECT_EQ("failed: not enough video memory for the probe's targets", view.columns[0].text);
    EXPECT_EQ("failed", view.columns[0].brief);
    EXPECT_TRUE(view.ladders.empty());

    ModeMeasurement measured = read;
    measured.failures.clear();
    DifferenceList differences;
    CompareMeasurement(ModuleAt("/resolve/transfer"), measured, read, &differences);
    ASSERT_EQ(1u, differences.Size());
    EXPECT_EQ("/failed", differences.Items()[0].path.to_string());
    EXPECT_EQ(0u, differences.Items()[0].text.find("was measured now probe resolve/transfer failed"));
    DifferenceList same;
    CompareMeasurement(ModuleAt("/samplePositions"), measured, read, &same);
    EXPECT_TRUE(same.Empty());
}

TEST_F(MeasurementSession, FailedPositionsDeclineEveryProbeThatAimsAtTheSamples) {
    device.failCreateRenderTargetAfter = 0;
    ModeMeasurement m;
    ASSERT_EQ(S_OK, MeasureModeAs(&device, kFourSamples, &m));
    EXPECT_EQ(1, device.CountCalls("CreateRenderTarget"));
    ASSERT_EQ(MeasurementModules().size(), m.failures.size());
    for (const auto& entry : m.failures) {
        EXPECT_EQ("probe samplePositions", entry.second.call) << entry.first;
        if (entry.first == "/samplePositions") continue;
        EXPECT_EQ("not measured: it aims at the sample positions, which failed (not enough video memory for the "
                  "probe's targets)",
                  entry.second.reason)
            << entry.first;
    }
}

}  // namespace
