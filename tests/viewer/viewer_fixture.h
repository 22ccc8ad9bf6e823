// A ViewerApplication drawing on the recording fake device, for the viewer's unit tests; the
// framework's process-wide state and the fake platform start fresh for every test.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "support/fake_device.h"
#include "support/fake_platform.h"
#include "support/present_parameters.h"
#include "framework/framework_test_hooks.h"
#include "viewer/viewer_application.h"

namespace viewer_tests {

using test_support::WindowedPresentParameters;

inline float FloatFromBits(UINT32 bits) {
    float value;
    std::memcpy(&value, &bits, sizeof(value));
    return value;
}

inline UINT32 BitsOf(float value) {
    UINT32 bits;
    std::memcpy(&bits, &value, sizeof(bits));
    return bits;
}

class ViewerFixture : public ::testing::Test {
protected:
    void SetUp() override {
        framework_test_hooks::ResetProcessState();
        fake_platform::Reset();
        device = std::make_unique<fakes::FakeDevice>(WindowedPresentParameters(640, 480));
        device->deleteOnFinalRelease = false;
        app = std::make_unique<ViewerApplication>();
        UseBackBuffer(640, 480);
        app->device = device.get();
        app->deviceCaps = device->caps;
    }

    void TearDown() override {
        // The device goes the way the framework lets it go: release, then destroy.
        if (app->device != nullptr) {
            app->ReleaseDeviceResources();
            app->DestroyDeviceResources();
            app->device = nullptr;
        }
        app.reset();
        device.reset();
        framework_test_hooks::ResetProcessState();
    }

    void UseBackBuffer(UINT width, UINT height) {
        app->presentParams = WindowedPresentParameters(width, height);
    }

    // What the framework does with a new device: the back buffer's description, then the two.
    void CreateAndRestore() {
        app->backBufferDesc = device->backBuffer->desc;
        ASSERT_EQ(S_OK, app->CreateDeviceResources());
        ASSERT_EQ(S_OK, app->RestoreDeviceResources());
    }

    std::unique_ptr<fakes::FakeDevice> device;
    std::unique_ptr<ViewerApplication> app;
};

}  // namespace viewer_tests
