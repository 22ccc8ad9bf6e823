// The real clocks behind the frame timer: the performance counter and the multimedia timer.
#include "platform/platform.h"

#include <mmsystem.h>

namespace platform {

BOOL QueryCounterFrequency(LARGE_INTEGER* frequency) { return QueryPerformanceFrequency(frequency); }

BOOL QueryCounter(LARGE_INTEGER* counter) { return QueryPerformanceCounter(counter); }

DWORD MillisecondTime() { return timeGetTime(); }

}  // namespace platform
