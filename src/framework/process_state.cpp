// The one copy of the framework's process-wide state, and the test hooks that reset it.
#include "framework/process_state.h"

#include "framework/application_framework.h"
#include "framework/framework_test_hooks.h"

ApplicationFramework* application = nullptr;

FrameworkProcessState& ProcessState() {
    static FrameworkProcessState state;
    return state;
}

namespace framework_test_hooks {

int PauseCount() { return ProcessState().pauseCount; }

bool FatalReportShown() { return ProcessState().fatalReportShown; }

void ResetProcessState() {
    ProcessState() = FrameworkProcessState{};
    application = nullptr;
}

}  // namespace framework_test_hooks
