// The test pattern drawn straight into the (multisampled) back buffer at one unit per pixel: the
// tiled pattern, the three squares, and the whole picture beneath the status lines.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "pattern/pattern_objects.h"
#include "pattern/pattern_settings.h"

// width x height is the back buffer's size in pixels. Each leaves alpha blending off and the
// sample mask open.
HRESULT DrawPatternTiles(IDirect3DDevice9* device, const PatternSettings& settings, const PatternObjects& objects,
                         float width, float height);
// Left square geometry only, middle both, right texture only.
HRESULT DrawPatternThreeSquares(IDirect3DDevice9* device, const PatternSettings& settings,
                                const PatternObjects& objects, float width, float height);

// Inside a scene: the clear, the pattern of settings.drawMode and the edge reference bands.
HRESULT DrawPatternPicture(IDirect3DDevice9* device, const PatternSettings& settings, const PatternObjects& objects,
                           float width, float height);
