// The viewer's status lines: the pattern library's lines headed by the single-frame notice, the
// frame number and the framework's statistics and device description.
#pragma once

#include <windows.h>

#include "pattern/status_lines.h"

class ViewerApplication;

// Fills texts in drawing order for frame number frameNumber; returns how many there are.
// Widths come from the viewer's font (zero without one).
int ComposeStatusOverlay(const ViewerApplication& viewer, int frameNumber,
                         OverlayText (&texts)[kMaxOverlayTexts]);
