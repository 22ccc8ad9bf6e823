// Hooks for tests: the framework's process-wide state, read and put back between test cases
// (a real process has one application and never needs this).
#pragma once

namespace framework_test_hooks {

int PauseCount();
bool FatalReportShown();
// Back to a fresh process: pause count 0, no fatal report yet, the frame timer unprobed and
// stopped, the frame-rate window at 0 and no application object.
void ResetProcessState();

}  // namespace framework_test_hooks
