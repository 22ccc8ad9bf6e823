// The status lines over the picture, composed as a list of texts with their places and colours
// before they are drawn, so that what is shown can be checked without a device.
#pragma once

#include <windows.h>

#include "pattern/pattern_settings.h"

class TextFont;

struct OverlayText {
    float x;
    float y;
    DWORD colour;
    char text[260];
};

// Notice, frame number, frame statistics, grid line, offsets line, three legend words, fix-ups.
constexpr int kMaxOverlayTexts = 9;

// The top of the lines, which the picture's owner knows: the pattern's lines follow.
struct StatusHeader {
    bool singleFrameNotice = false;
    const char* frameLabel = nullptr;  // e.g. "Frame 12: ", drawn before the statistics; null for none
    const char* statistics = "";
    const char* deviceDescription = "";
};

// Fills texts in drawing order; returns how many there are. Widths come from font (zero without one).
int ComposeStatusLines(const PatternSettings& settings, const StatusHeader& header, const TextFont* font,
                       OverlayText (&texts)[kMaxOverlayTexts]);

// Draws the composed texts; nothing without a font.
void DrawStatusLines(TextFont* font, const OverlayText* texts, int count);
