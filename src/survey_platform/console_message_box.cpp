// The survey's message-box seam: the framework's reports go to the survey's report instead of a
// box that would wait for a click no one gives.
#include "platform/platform.h"
#include "survey/framework_reports.h"

namespace platform {

int ShowMessageBox(HWND, const char* text, const char*, UINT) {
    RecordFrameworkReport(text);
    return IDOK;
}

}  // namespace platform
