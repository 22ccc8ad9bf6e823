// F3 as the viewer handles it: in fullscreen it measures the fullscreen device and then leaves
// fullscreen to show what it found; a measurement the device cannot make is reported while the
// framework is paused, and no dialog opens; the window is shown again afterwards as the mode
// requires; the viewer's settings stay as they were.
#include <windows.h>
#include <d3d9.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

#include "framework/framework_test_hooks.h"
#include "resources/resource_ids.h"
#include "support/common_dialog_answer.h"
#include "support/fake_device.h"
#include "support/fake_platform.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_fixture.h"

namespace {

constexpr char kFailurePrefix[] = "The sample positions could not be measured (error 0x";

class SamplePositionsCommand : public viewer_tests::ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        CreateAndRestore();
        app->windowed = true;
    }
    void Send() { ASSERT_TRUE(HandleViewerCommand(*app, IDM_SAMPLE_POSITIONS)); }
};

TEST_F(SamplePositionsCommand, FullscreenMeasuresTheFullscreenDeviceThenShowsOverTheWindow) {
    test_support::AnswerDialogs cancel;
    // The framework's two configurations on one adapter: the switch is a reset of this device.
    DeviceCombo windowedCombo, fullscreenCombo;
    windowedCombo.isWindowed = true;
    windowedCombo.backBufferFormat = fullscreenCombo.backBufferFormat = D3DFMT_X8R8G8B8;
    app->settings.windowedDeviceCombo = &windowedCombo;
    app->settings.fullscreenDeviceCombo = &fullscreenCombo;
    app->settings.isWindowed = app->windowed = false;
    app->clientRect = {0, 0, 640, 480};
    app->deviceResourcesCreated = app->deviceResourcesRestored = true;  // as the framework left them
    static ViewerApplication* viewer;
    static bool windowedWhenShown;
    viewer = app.get();
    windowedWhenShown = false;
    fake_platform::onMessageBox = [](const fake_platform::MessageBoxCall&) { windowedWhenShown = viewer->windowed; };
    device->ClearCalls();
    Send();
    // The measurement (which the fake device fails at its first step, the swap chain's
    // description) came before the switch to the window.
    const auto reset = std::find(device->calls.begin(), device->calls.end(), "Reset");
    ASSERT_NE(reset, device->calls.end());
    EXPECT_NE(std::find(device->calls.begin(), reset, "GetSwapChain 0"), reset) << "no measurement before the switch";
    EXPECT_TRUE(app->windowed);
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    EXPECT_EQ(fake_platform::messageBoxes[0].text.rfind(kFailurePrefix, 0), 0u);
    EXPECT_TRUE(windowedWhenShown) << "the report came over the fullscreen picture";
    app->settings.windowedDeviceCombo = app->settings.fullscreenDeviceCombo = nullptr;
}

TEST_F(SamplePositionsCommand, MeasurementTheDeviceCannotMakeIsReportedWhilePausedAndNothingChanges) {
    // The fake device makes no render targets, so the measurement fails.
    test_support::AnswerDialogs cancel;
    static int pauseWhileShown;
    pauseWhileShown = -1;
    fake_platform::onMessageBox = [](const fake_platform::MessageBoxCall&) {
        pauseWhileShown = framework_test_hooks::PauseCount();
    };
    const int pauseBefore = framework_test_hooks::PauseCount();
    const DWORD mask = app->sampleMask;
    const int grid = app->gridSize;
    const int mode = app->drawMode;
    Send();
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    const fake_platform::MessageBoxCall& box = fake_platform::messageBoxes[0];
    EXPECT_EQ(box.text.rfind(kFailurePrefix, 0), 0u) << box.text;
    EXPECT_EQ(box.caption, app->windowTitle);
    EXPECT_EQ(box.owner, app->mainWindow);
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONWARNING | MB_OK));
    EXPECT_EQ(pauseWhileShown, pauseBefore + 1);
    EXPECT_EQ(framework_test_hooks::PauseCount(), pauseBefore);
    EXPECT_TRUE(test_support::AnswerDialogs::Titles().empty()) << "a dialog opened anyway";
    EXPECT_EQ(app->sampleMask, mask);
    EXPECT_EQ(app->gridSize, grid);
    EXPECT_EQ(app->drawMode, mode);
}

TEST_F(SamplePositionsCommand, WindowIsShownAgainAsTheModeRequires) {
    test_support::AnswerDialogs cancel;
    // Running: the next frame repaints.
    app->stepPending = false;
    Send();
    EXPECT_TRUE(app->stepPending);

    // Single frame: no new frame is drawn or presented; the repaint of the uncovered area shows
    // the frozen frame again.
    app->updateContinuously = false;
    app->stepPending = false;
    device->ClearCalls();
    Send();
    EXPECT_FALSE(app->stepPending);
    EXPECT_EQ(device->CountCalls("Present"), 0);
    EXPECT_EQ(device->CountCalls("BeginScene"), 0);
}

}  // namespace
