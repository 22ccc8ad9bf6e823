// Process-wide stopwatch: application time without the paused periods, time between frames and
// absolute time, from the performance counter or, without one, the millisecond timer.
#pragma once

#include <windows.h>

enum TimerCommand : int {
    TimerReset = 0,
    TimerStart = 1,
    TimerStop = 2,
    TimerAdvance = 3,
    TimerGetAbsoluteTime = 4,
    TimerGetAppTime = 5,
    TimerGetElapsedTime = 6,
};

// One stopwatch's state. The process has one (behind FrameTimer(command)); tests run their own.
struct FrameTimerState {
    bool probed = false;
    bool counterAvailable = false;
    LONGLONG ticksPerSecond = 0;
    bool stopped = true;  // the stopwatch starts out stopped
    // Counter mode, in counter ticks; a stop time of 0 means "reading live time".
    LONGLONG stopTicks = 0;
    LONGLONG lastElapsedTicks = 0;
    LONGLONG baseTicks = 0;
    // Millisecond mode, in seconds; a stop time of 0.0 means "reading live time".
    double stopSeconds = 0.0;
    double lastElapsedSeconds = 0.0;
    double baseSeconds = 0.0;
};

// Runs one command on the given stopwatch; -1.0 for a command outside TimerCommand.
double FrameTimer(FrameTimerState& state, int command);
// The process-wide stopwatch.
double FrameTimer(int command);
