// Pausing: the process-wide nesting count, the active flag and the timer stopping and starting
// only on the outer edges.
#include <gtest/gtest.h>

#include "framework/frame_timer.h"
#include "support/recording_application.h"

namespace {

using test_support::RecordingApplication;

class PauseTest : public test_support::ClockedFrameworkTest {
protected:
    // Application time in whole milliseconds.
    int AppTime() { return static_cast<int>(FrameTimer(TimerGetAppTime) * 1000.0 + 0.5); }
};

TEST_F(PauseTest, ObjectStartsPausedOnce) {
    RecordingApplication app;
    EXPECT_EQ(framework_test_hooks::PauseCount(), 1);
    EXPECT_FALSE(app.active);
    app.Pause(false);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    EXPECT_TRUE(app.active);
}

TEST_F(PauseTest, NestedPausesStopTheTimerOnceAndRestartItAtTheLastResume) {
    RecordingApplication app;
    app.Pause(false);
    Wait(100);
    app.Pause(true);
    Wait(50);
    app.Pause(true);
    Wait(50);
    app.Pause(false);
    EXPECT_FALSE(app.active);
    Wait(50);
    EXPECT_EQ(AppTime(), 100) << "still stopped after the inner resume";
    app.Pause(false);
    EXPECT_TRUE(app.active);
    Wait(30);
    EXPECT_EQ(AppTime(), 130) << "the whole paused span is cut out";
}

TEST_F(PauseTest, UnmatchedResumeTakesTheCountBelowZero) {
    RecordingApplication app;
    app.Pause(false);
    app.Pause(false);
    EXPECT_EQ(framework_test_hooks::PauseCount(), -1);
    EXPECT_FALSE(app.active);
    app.Pause(true);
    EXPECT_EQ(framework_test_hooks::PauseCount(), 0);
    EXPECT_TRUE(app.active) << "a pause that brings the count back to zero activates";
    Wait(40);
    EXPECT_EQ(AppTime(), 40) << "and starts the timer";
}

TEST_F(PauseTest, SingleFrameModeLeavesTheTimerAlone) {
    RecordingApplication app;
    app.Pause(false);
    Wait(100);
    app.updateContinuously = false;
    app.Pause(true);
    Wait(100);
    EXPECT_EQ(AppTime(), 200) << "not stopped by the pause";
    FrameTimer(TimerStop);
    app.Pause(false);
    Wait(100);
    EXPECT_EQ(AppTime(), 200) << "not started by the resume";
    EXPECT_TRUE(app.active);
}

}  // namespace
