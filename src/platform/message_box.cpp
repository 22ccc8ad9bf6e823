// The real message box behind every report the framework shows.
#include "platform/platform.h"

namespace platform {

int ShowMessageBox(HWND owner, const char* text, const char* caption, UINT type) {
    return MessageBoxA(owner, text, caption, type);
}

}  // namespace platform
