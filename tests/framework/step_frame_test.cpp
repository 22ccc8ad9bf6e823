// The per-frame step and the loop around it: what a pass draws in each mode, lost-device
// polling and recovery, and how the loop ends.
#include <gtest/gtest.h>

#include "support/framework_device_fixture.h"

namespace {

using test_support::FrameworkDeviceTest;

class StepFrameTest : public FrameworkDeviceTest {
protected:
    void SetUp() override {
        FrameworkDeviceTest::SetUp();
        ASSERT_EQ(Start(), S_OK);
        app->log.clear();
        Device()->ClearCalls();
    }
    std::vector<std::string> FrameLog() const { return {"UpdateFrame", "RenderFrame", "RefreshFrameStats"}; }
};

TEST_F(StepFrameTest, ContinuousModeUpdatesRendersAndPresentsOncePerPass) {
    Wait(20);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(app->log, FrameLog());
    EXPECT_EQ(Device()->presentCount, 1);
    EXPECT_NEAR(app->frameElapsed, 0.020f, 1e-6f);
    Wait(30);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_NEAR(app->appTime, 0.050f, 1e-6f);
    EXPECT_EQ(Device()->presentCount, 2);
}

TEST_F(StepFrameTest, PassWithNoElapsedTimeDrawsNothing) {
    Wait(10);
    app->StepFrame();
    app->log.clear();
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_TRUE(app->log.empty());
    EXPECT_EQ(Device()->presentCount, 1);
}

TEST_F(StepFrameTest, SingleFrameModeDrawsExactlyOneFramePerRequest) {
    app->updateContinuously = false;
    Wait(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_TRUE(app->log.empty()) << "nothing until a step is requested";
    EXPECT_EQ(Device()->presentCount, 0);

    app->stepPending = true;
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_FALSE(app->stepPending);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(app->log, FrameLog());
    EXPECT_EQ(Device()->presentCount, 1);
}

TEST_F(StepFrameTest, SingleFrameStepIsDrawnEvenWithoutElapsedTime) {
    app->updateContinuously = false;
    app->stepPending = true;
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(app->log, FrameLog());
}

// Under Wine the first frame presented at a new client size is shown at the old one; in
// single-frame mode no later frame would mend it.
TEST_F(StepFrameTest, FrozenFrameAtANewClientSizeIsPresentedTwiceAsTheSamePicture) {
    app->updateContinuously = false;
    app->stepPending = true;
    ASSERT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(Device()->presentCount, 1) << "the first frame of a surface is presented once";

    std::vector<bool> repeating;
    app->onOperation = [&](const std::string& operation) {
        if (operation == "RenderFrame") repeating.push_back(app->repeatingFrame);
    };
    const SIZE sizes[] = {{300, 200}, {300, 200}, {640, 200}};
    const int presents[] = {2, 1, 2};
    for (int step = 0; step < 3; ++step) {
        SetWindowPos(app->mainWindow, nullptr, 0, 0, sizes[step].cx, sizes[step].cy, SWP_NOMOVE | SWP_NOZORDER);
        app->stepPending = true;
        app->log.clear();
        repeating.clear();
        Device()->presentCount = 0;
        ASSERT_EQ(app->StepFrame(), S_OK);
        EXPECT_EQ(Device()->presentCount, presents[step]) << "step " << step;
        if (presents[step] == 2) {
            EXPECT_EQ(app->log, (std::vector<std::string>{"UpdateFrame", "RenderFrame", "RenderFrame", "RefreshFrameStats"}));
            EXPECT_EQ(repeating, (std::vector<bool>{false, true})) << "the second drawing repeats the first";
        } else {
            EXPECT_EQ(app->log, FrameLog());
        }
        EXPECT_FALSE(app->repeatingFrame);
    }

    // Running, the next frame follows anyway.
    app->updateContinuously = true;
    SetWindowPos(app->mainWindow, nullptr, 0, 0, 500, 300, SWP_NOMOVE | SWP_NOZORDER);
    Device()->presentCount = 0;
    Wait(10);
    ASSERT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(Device()->presentCount, 1);
}

TEST_F(StepFrameTest, PResumesDrawingAfterAPauseThatEndedInSingleFrameMode) {
    // Minimised while running (the pause stops the timer), P while minimised, restored, P again.
    app->Pause(true);
    app->updateContinuously = false;
    app->Pause(false);
    app->updateContinuously = true;
    app->stepPending = true;
    for (int pass = 1; pass <= 3; ++pass) {
        Wait(10);
        EXPECT_EQ(app->StepFrame(), S_OK);
        EXPECT_EQ(app->Count("RenderFrame"), pass) << "pass " << pass;
    }
}

TEST_F(StepFrameTest, FailedUpdateOrRenderIsReturnedWithoutPresenting) {
    app->updateContinuously = false;
    app->stepPending = true;
    app->failures["UpdateFrame"] = E_OUTOFMEMORY;
    EXPECT_EQ(app->StepFrame(), E_OUTOFMEMORY);
    EXPECT_TRUE(app->stepPending) << "the requested frame is still due";
    app->failures.clear();
    app->failures["RenderFrame"] = D3DERR_INVALIDCALL;
    app->log.clear();
    EXPECT_EQ(app->StepFrame(), D3DERR_INVALIDCALL);
    EXPECT_EQ(app->log, (std::vector<std::string>{"UpdateFrame", "RenderFrame"}));
    EXPECT_EQ(Device()->presentCount, 0);
}

TEST_F(StepFrameTest, LostDeviceDrawsNothingUntilItCanBeResetThenResetsAndDrawsAgain) {
    Device()->presentResult = D3DERR_DEVICELOST;
    Wait(10);
    app->StepFrame();
    EXPECT_TRUE(app->deviceLost);
    Device()->presentResult = D3D_OK;

    Device()->testCooperativeLevelResults = {D3DERR_DEVICELOST, D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET};
    app->log.clear();
    Wait(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    Wait(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_TRUE(app->log.empty());
    EXPECT_EQ(Device()->presentCount, 1);

    direct3d->adapters[0].desktopMode.Format = D3DFMT_R5G6B5;  // the desktop changed meanwhile
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(Device()->resetCount, 1);
    EXPECT_EQ(app->log, (std::vector<std::string>{"ReleaseDeviceResources", "RestoreDeviceResources"}));
    EXPECT_EQ(app->presentParams.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(app->settings.windowedDisplayMode.Format, D3DFMT_R5G6B5);

    app->log.clear();
    Wait(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_FALSE(app->deviceLost);
    EXPECT_EQ(app->log, FrameLog());
}

TEST_F(StepFrameTest, OtherCooperativeLevelFailuresAreReturned) {
    app->deviceLost = true;
    Device()->testCooperativeLevelResults = {D3DERR_DRIVERINTERNALERROR};
    EXPECT_EQ(app->StepFrame(), D3DERR_DRIVERINTERNALERROR);
    EXPECT_TRUE(app->deviceLost);
}

TEST_F(StepFrameTest, WithoutADeviceNothingIsDrawn) {
    app->ReleaseDevice();
    Wait(10);
    EXPECT_EQ(app->StepFrame(), S_OK);
    EXPECT_EQ(app->Count("UpdateFrame"), 0);
}

TEST_F(StepFrameTest, LoopReturnsTheQuitCode) {
    PostQuitMessage(3);
    EXPECT_EQ(app->RunLoop(), 3);
}

TEST_F(StepFrameTest, FailedStepClosesTheWindowAndEndsTheLoopWithCodeZero) {
    app->failures["RenderFrame"] = E_FAIL;
    Wait(10);
    EXPECT_EQ(app->RunLoop(), 0);
    EXPECT_EQ(app->mainWindow, nullptr);
    EXPECT_EQ(app->Count("RenderFrame"), 1);
    EXPECT_EQ(app->Count("CleanupScene"), 1);
}

TEST_F(StepFrameTest, LoopSleepsWhileTheDeviceIsLost) {
    app->deviceLost = true;
    Device()->testCooperativeLevelResults.assign(1000, D3DERR_DEVICELOST);
    const UINT_PTR timer = SetTimer(nullptr, 0, 450, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    app->RunLoop();
    KillTimer(nullptr, timer);
    const size_t polls = 1000 - Device()->testCooperativeLevelResults.size();
    EXPECT_GE(polls, 2u);
    EXPECT_LE(polls, 8u) << "about one poll per 100 ms";
    EXPECT_EQ(app->Count("RenderFrame"), 0);
}

TEST_F(StepFrameTest, PausedLoopStepsNoFrames) {
    app->Pause(true);
    Wait(10);
    const UINT_PTR timer = SetTimer(nullptr, 0, 100, [](HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); });
    app->RunLoop();
    KillTimer(nullptr, timer);
    EXPECT_EQ(app->Count("UpdateFrame"), 0) << "only WM_PAINT may draw while paused";
}

}  // namespace
