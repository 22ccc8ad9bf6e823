// The real cursor clip behind a fullscreen device that keeps the cursor on its screen.
#include "platform/platform.h"

namespace platform {

BOOL ClipCursorTo(const RECT* bounds) { return ClipCursor(bounds); }

}  // namespace platform
