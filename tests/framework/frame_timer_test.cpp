// The frame timer's stopwatch rules in both clock modes, driven by the fake clocks.
#include <gtest/gtest.h>

#include "framework/frame_timer.h"
#include "framework/framework_test_hooks.h"
#include "support/fake_platform.h"

namespace {

constexpr LONGLONG kTicksPerSecond = 1000;
constexpr double kTolerance = 1e-9;

// Each case runs both clock modes through the same steps: "advance the clock by s seconds".
struct ClockMode {
    const char* name;
    bool counter;
};

class FrameTimerTest : public ::testing::TestWithParam<ClockMode> {
protected:
    void SetUp() override {
        fake_platform::Reset();
        if (GetParam().counter) {
            fake_platform::counterFrequency = kTicksPerSecond;
            fake_platform::counterValue = 5 * kTicksPerSecond;
        } else {
            fake_platform::counterFrequency = 0;
            fake_platform::milliseconds = 5000;
        }
    }

    void Wait(double seconds) {
        if (GetParam().counter) {
            fake_platform::counterValue += static_cast<LONGLONG>(seconds * kTicksPerSecond);
        } else {
            fake_platform::milliseconds += static_cast<DWORD>(seconds * 1000);
        }
    }

    double Run(int command) { return FrameTimer(timer, command); }
    void RunThenStop(double seconds) {
        Run(TimerStart);
        Wait(seconds);
        Run(TimerStop);
    }

    FrameTimerState timer;
};

TEST_P(FrameTimerTest, ApplicationTimeBeginsAtTheFirstStart) {
    Wait(2.0);
    EXPECT_EQ(Run(TimerStart), 0.0);
    EXPECT_NEAR(Run(TimerGetAppTime), 0.0, kTolerance);
    Wait(1.5);
    EXPECT_NEAR(Run(TimerGetAppTime), 1.5, kTolerance);
    EXPECT_NEAR(Run(TimerGetAbsoluteTime), 8.5, kTolerance);
}

TEST_P(FrameTimerTest, StoppedIntervalIsCutOutOfApplicationTime) {
    RunThenStop(1.0);
    Wait(10.0);
    EXPECT_NEAR(Run(TimerGetAppTime), 1.0, kTolerance) << "frozen while stopped";
    EXPECT_NEAR(Run(TimerGetAbsoluteTime), 16.0, kTolerance) << "absolute time reads the live clock";
    Run(TimerStart);
    Wait(0.5);
    EXPECT_NEAR(Run(TimerGetAppTime), 1.5, kTolerance);
}

TEST_P(FrameTimerTest, SecondStopChangesNothing) {
    RunThenStop(1.0);
    Wait(3.0);
    Run(TimerStop);
    Wait(3.0);
    Run(TimerStart);
    EXPECT_NEAR(Run(TimerGetAppTime), 1.0, kTolerance);
}

TEST_P(FrameTimerTest, ElapsedTimeCountsFromThePreviousReadingAndIsZeroWhileStopped) {
    Run(TimerStart);
    Wait(0.25);
    EXPECT_NEAR(Run(TimerGetElapsedTime), 0.25, kTolerance);
    Wait(0.5);
    EXPECT_NEAR(Run(TimerGetElapsedTime), 0.5, kTolerance);
    Wait(0.5);
    Run(TimerStop);
    Wait(2.0);
    EXPECT_EQ(Run(TimerGetElapsedTime), 0.0);
    EXPECT_EQ(Run(TimerGetElapsedTime), 0.0);
    Run(TimerStart);
    Wait(0.125);
    EXPECT_NEAR(Run(TimerGetElapsedTime), 0.125, kTolerance) << "Start restarts the elapsed interval";
}

TEST_P(FrameTimerTest, ResetRestartsApplicationTimeAndRunsTheTimer) {
    RunThenStop(4.0);
    Wait(1.0);
    EXPECT_EQ(Run(TimerReset), 0.0);  // on a stopped timer: the new application time starts now
    EXPECT_NEAR(Run(TimerGetAppTime), 0.0, kTolerance);
    Wait(0.5);
    EXPECT_NEAR(Run(TimerGetAppTime), 0.5, kTolerance) << "Reset leaves the timer running";
}

TEST_P(FrameTimerTest, AdvanceStepsAStoppedTimerOnByATenthOfASecond) {
    RunThenStop(1.0);
    EXPECT_EQ(Run(TimerAdvance), 0.0);
    EXPECT_NEAR(Run(TimerGetAppTime), 1.1, kTolerance);
    Run(TimerAdvance);
    EXPECT_NEAR(Run(TimerGetElapsedTime), 0.2, kTolerance);
    EXPECT_NEAR(Run(TimerGetAppTime), 1.2, kTolerance);
}

TEST_P(FrameTimerTest, AdvanceLeavesARunningTimerOnLiveTime) {
    Run(TimerStart);
    Wait(3.0);
    Run(TimerAdvance);
    Wait(1.0);
    EXPECT_NEAR(Run(TimerGetAppTime), 4.0, kTolerance);
}

TEST_P(FrameTimerTest, UnknownCommandsReturnMinusOneAndChangeNothing) {
    Run(TimerStart);
    Wait(1.0);
    EXPECT_EQ(Run(7), -1.0);
    EXPECT_EQ(Run(-1), -1.0);
    EXPECT_NEAR(Run(TimerGetElapsedTime), 1.0, kTolerance);
}

INSTANTIATE_TEST_SUITE_P(BothClocks, FrameTimerTest,
                         ::testing::Values(ClockMode{"PerformanceCounter", true}, ClockMode{"Milliseconds", false}),
                         [](const ::testing::TestParamInfo<ClockMode>& info) { return info.param.name; });

TEST(FrameTimerClockChoice, IsMadeOnceAtTheFirstCall) {
    fake_platform::Reset();
    fake_platform::counterFrequency = 0;
    fake_platform::milliseconds = 1000;
    FrameTimerState timer;
    FrameTimer(timer, 99);  // even an unknown command probes
    EXPECT_TRUE(timer.probed);
    EXPECT_FALSE(timer.counterAvailable);
    // A counter appearing later is not picked up: the millisecond clock stays in use.
    fake_platform::counterFrequency = 1000;
    fake_platform::counterValue = 50000;
    EXPECT_NEAR(FrameTimer(timer, TimerGetAbsoluteTime), 1.0, kTolerance);
}

TEST(FrameTimerProcessWide, ResetHookReturnsToAStoppedUnprobedTimer) {
    fake_platform::Reset();
    framework_test_hooks::ResetProcessState();
    fake_platform::counterFrequency = 100;
    fake_platform::counterValue = 100;
    FrameTimer(TimerStart);
    fake_platform::counterValue = 300;
    EXPECT_NEAR(FrameTimer(TimerGetAppTime), 2.0, kTolerance);

    framework_test_hooks::ResetProcessState();
    fake_platform::counterFrequency = 1000;
    fake_platform::counterValue = 5000;
    EXPECT_NEAR(FrameTimer(TimerGetAbsoluteTime), 5.0, kTolerance) << "probed again with the new frequency";
    FrameTimer(TimerStart);
    fake_platform::counterValue = 5500;
    EXPECT_NEAR(FrameTimer(TimerGetAppTime), 0.5, kTolerance);
}

}  // namespace
