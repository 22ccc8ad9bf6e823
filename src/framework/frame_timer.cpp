// The frame timer: one set of stopwatch rules, run on performance-counter ticks when the system
// has a counter and on millisecond-timer seconds otherwise.
#include "framework/frame_timer.h"

#include "framework/process_state.h"
#include "platform/platform.h"

namespace {

// The three stopwatch values of one mode, in that mode's unit (ticks or seconds).
template <typename Unit>
struct Stopwatch {
    Unit& stop;
    Unit& lastElapsed;
    Unit& base;
    Unit tenthOfSecond;
    double unitsPerSecond;
};

template <typename Unit>
double RunCommand(bool& stopped, Stopwatch<Unit> watch, int command, Unit (*readClock)()) {
    // A stopped stopwatch reads its frozen stop time, except where the live time is the point:
    // Start and Reset pick the timer up at the present moment (Reset on the frozen time would
    // count the stopped interval into the new application time).
    const bool frozen = watch.stop != 0 && command != TimerStart && command != TimerReset &&
                        command != TimerGetAbsoluteTime;
    const Unit now = frozen ? watch.stop : readClock();
    switch (command) {
    case TimerReset:
        watch.base = now;
        watch.lastElapsed = now;
        watch.stop = 0;
        stopped = false;
        return 0.0;
    case TimerStart:
        // Cut the stopped interval out of application time.
        if (stopped) watch.base += now - watch.stop;
        watch.stop = 0;
        watch.lastElapsed = now;
        stopped = false;
        return 0.0;
    case TimerStop:
        if (!stopped) {
            watch.stop = now;
            watch.lastElapsed = now;
            stopped = true;
        }
        return 0.0;
    case TimerAdvance:
        // Only a stopped stopwatch can be stepped on: a running one reads live time, and giving
        // it a stop time of a tenth of a second would freeze it near the clock's origin.
        if (stopped) watch.stop += watch.tenthOfSecond;
        return 0.0;
    case TimerGetAbsoluteTime:
        return static_cast<double>(now) / watch.unitsPerSecond;
    case TimerGetAppTime:
        return static_cast<double>(now - watch.base) / watch.unitsPerSecond;
    case TimerGetElapsedTime: {
        const double elapsed = static_cast<double>(now - watch.lastElapsed) / watch.unitsPerSecond;
        watch.lastElapsed = now;
        return elapsed;
    }
    default:
        return -1.0;
    }
}

LONGLONG ReadCounter() {
    LARGE_INTEGER counter = {};
    static_cast<void>(platform::QueryCounter(&counter));
    return counter.QuadPart;
}

double ReadMillisecondClock() { return static_cast<double>(platform::MillisecondTime()) * 0.001; }

}  // namespace

double FrameTimer(FrameTimerState& state, int command) {
    if (!state.probed) {
        LARGE_INTEGER frequency = {};
        state.counterAvailable = platform::QueryCounterFrequency(&frequency) && frequency.QuadPart != 0;
        state.ticksPerSecond = frequency.QuadPart;
        state.probed = true;
    }
    if (command < TimerReset || command > TimerGetElapsedTime) return -1.0;
    if (state.counterAvailable) {
        Stopwatch<LONGLONG> watch{state.stopTicks, state.lastElapsedTicks, state.baseTicks,
                                  state.ticksPerSecond / 10, static_cast<double>(state.ticksPerSecond)};
        return RunCommand(state.stopped, watch, command, &ReadCounter);
    }
    Stopwatch<double> watch{state.stopSeconds, state.lastElapsedSeconds, state.baseSeconds, 0.1, 1.0};
    return RunCommand(state.stopped, watch, command, &ReadMillisecondClock);
}

double FrameTimer(int command) { return FrameTimer(ProcessState().timer, command); }
