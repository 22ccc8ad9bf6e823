// Every probe failing part way, on a fake device that refuses one step: it returns the code, leaves
// the measurement as it was, and leaves the device as it found it (no resource held, no scene
// open, the states restored), so that the measurements before and after it stand.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>

#include "analysis/session/measurement_json.h"
#include "analysis/session/measurement_module.h"
#include "support/fake_device.h"
#include "support/fake_direct3d.h"
#include "support/measurement_builders.h"

namespace {

using fakes::FakeDevice;
using test_support::ExactSample;

struct Refusal {
    const char* step;
    std::function<void(FakeDevice&)> arrange;
};

const Refusal kRefusals[] = {
    {"the multisampled target", [](FakeDevice& d) { d.createRenderTargetResult = D3DERR_OUTOFVIDEOMEMORY; }},
    {"the resolved target", [](FakeDevice& d) { d.failCreateRenderTargetAfter = 1; }},
    {"the system-memory copy", [](FakeDevice& d) { d.createOffscreenPlainSurfaceResult = D3DERR_OUTOFVIDEOMEMORY; }},
    {"the read-back", [](FakeDevice& d) { d.getRenderTargetDataResult = D3DERR_DEVICELOST; }},
};

template <typename T>
bool Same(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

TEST(ProbeFailure, AProbeThatFailsLeavesTheMeasurementAndTheDeviceAsTheyWere) {
    fakes::FakeDirect3D* direct3d = fakes::MakeTypicalDirect3D();  // offers the coverage switches
    for (const MeasurementModule& module : MeasurementModules()) {
        if (module.measure == nullptr) continue;
        for (const Refusal& refusal : kRefusals) {
            SCOPED_TRACE(std::string(module.key) + ", refused: " + refusal.step);
            FakeDevice device;
            device.direct3d = direct3d;
            device.caps.PixelShaderVersion = D3DPS_VERSION(3, 0);
            device.caps.VertexShaderVersion = D3DVS_VERSION(3, 0);
            refusal.arrange(device);
            ModeMeasurement measurement;
            measurement.mode = {D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_X8R8G8B8};
            measurement.samplePositions.gridSize = 32;
            measurement.samplePositions.samples = {ExactSample(0, 6, 2), ExactSample(1, 14, 6),
                                                   ExactSample(2, 2, 10), ExactSample(3, 10, 14)};
            const nlohmann::json before = MeasurementToJson(measurement);
            const fakes::FakeDeviceState states = device;

            EXPECT_TRUE(FAILED(module.measure(&device, &measurement)));
            EXPECT_EQ(MeasurementToJson(measurement), before);
            // Not in the JSON, but drawn by the Interpolation page.
            EXPECT_TRUE(measurement.centroid.samples.empty());
            EXPECT_EQ(measurement.centroid.pixelShaderVersion, 0u);
            EXPECT_EQ(device.LiveResourceCount(), 0) << device.LiveResourceReport();
            EXPECT_FALSE(device.inScene);
            EXPECT_EQ(device.misuseCount, 0) << device.lastMisuse;
            EXPECT_TRUE(Same(device.renderStates, states.renderStates));
            EXPECT_TRUE(Same(device.textureStageStates, states.textureStageStates));
            EXPECT_TRUE(Same(device.samplerStates, states.samplerStates));
            EXPECT_TRUE(Same(device.projectionMatrix, states.projectionMatrix));
            EXPECT_EQ(device.fvf, states.fvf);
            EXPECT_EQ(device.streamSource0, states.streamSource0);
            EXPECT_EQ(device.pixelShader, states.pixelShader);
            EXPECT_EQ(device.vertexShader, states.vertexShader);
        }
    }
    direct3d->Release();
}

}  // namespace
