// The frame of edge reference bands along the back buffer's edges, beside the pattern: slanted
// triangle edges at the bottom and left, slanted alpha-tested texture edges at the top and right.
#pragma once

#include <windows.h>
#include <d3d9.h>

// width x height is the back buffer's size in pixels; halfTexture is the pattern's half-opaque
// texture (PatternObjects::halfTexture).
HRESULT DrawEdgeBands(IDirect3DDevice9* device, BOOL whiteBackground, IDirect3DTexture9* halfTexture, float width,
                      float height);
