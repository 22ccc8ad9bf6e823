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

double FrameTimer(int command);
