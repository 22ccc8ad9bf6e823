// Why a console program cannot show Direct3D 9 a window: no interactive desktop (a service, a
// locked or disconnected session) or no display (under Wine: no X server to reach).
#pragma once

#include <string>

// One line naming the cause, "no display: ..." or "no desktop: ..."; empty where a window can
// be made on the input desktop, so the cause lies elsewhere.
std::string MissingDisplayText();
