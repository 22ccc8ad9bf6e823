// The status lines over the picture, composed as a list of texts with their places and colours
// before they are drawn, so that what is shown can be checked without a device.
#pragma once

#include <windows.h>

class ViewerApplication;

struct OverlayText {
    float x;
    float y;
    DWORD colour;
    char text[260];
};

// Notice, frame number, frame statistics, grid line, offsets line, three legend words, fix-ups.
constexpr int kMaxOverlayTexts = 9;

// Fills texts in drawing order for frame number frameNumber; returns how many there are.
// Widths come from the viewer's font (zero without one).
int ComposeStatusOverlay(const ViewerApplication& viewer, int frameNumber,
                         OverlayText (&texts)[kMaxOverlayTexts]);
