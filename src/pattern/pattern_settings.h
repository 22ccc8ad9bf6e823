// What the picture is drawn with, as plain values: the viewer's settings that its keys change and
// the survey's fixed ones. The defaults are the program's start-up picture.
#pragma once

#include <windows.h>

enum DrawMode : int {
    DrawModeBoth = 0,
    DrawModeGeometry = 1,
    DrawModeTexture = 2,
    DrawModeThreeSquare = 3,
};

struct PatternSettings {
    int drawMode = DrawModeThreeSquare;
    int gridSize = 64;
    DWORD sampleMask = 0xFFFFFFFF;
    float pointSize = 0.125f;
    BOOL showHighlight = TRUE;
    BOOL whiteBackground = TRUE;
    // The projection window is fixupX * W / 2 by fixupY * H / 2 units: at 2 one unit is one pixel.
    int supersampleFixupX = 2;
    int supersampleFixupY = 2;
    float textureOffsetX = 0.0f;
    float textureOffsetY = 0.0f;
    float geometryOffsetX = 0.0f;
    float geometryOffsetY = 0.0f;
};
