// The framework's process-wide state, gathered in one place so that it has one owner and tests
// can put it back to the state of a fresh process (framework_test_hooks.h).
#pragma once

#include <windows.h>

#include "framework/error_reporting.h"
#include "framework/frame_timer.h"

// The once-a-second frame-rate window of RefreshFrameStats.
struct FrameRateState {
    double lastMeasurementTime = 0.0;
    UINT framesSinceMeasurement = 0;
    double pausedAt = 0.0;  // absolute time of the first pause still in force
};

struct FrameworkProcessState {
    int pauseCount = 0;             // signed: an unmatched resume takes it below zero
    bool fatalReportShown = false;  // after the first fatal report every report is silent
    ReportReceiver reportReceiver;  // empty: reports are message boxes
    FrameRateState frameRate;
    FrameTimerState timer;
};

FrameworkProcessState& ProcessState();
