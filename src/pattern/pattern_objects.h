// The device objects the pattern is drawn from: the point grid with its highlight ring, the
// textured quad and the two textures, all managed (they survive resets). Whoever makes them owns
// them (the viewer's fields, the survey's host); the passes only borrow them.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "pattern/pattern_settings.h"

struct PatternObjects {
    IDirect3DVertexBuffer9* pointVertexBuffer = nullptr;
    UINT pointVertexBufferBytes = 0;
    IDirect3DVertexBuffer9* quadVertexBuffer = nullptr;
    IDirect3DTexture9* pointTexture = nullptr;
    IDirect3DTexture9* halfTexture = nullptr;
};

// Each fills its object for settings, making it first where *object is null. The point grid's
// buffer only grows: a smaller grid uses the front of the one there is. A failure leaves the
// object null and returns E_FAIL; a lock that fails leaves the old contents.
HRESULT FillPointGrid(IDirect3DDevice9* device, const PatternSettings& settings, IDirect3DVertexBuffer9** buffer,
                      UINT* bufferBytes);
HRESULT FillTexturedQuad(IDirect3DDevice9* device, const PatternSettings& settings, IDirect3DVertexBuffer9** buffer);
HRESULT FillPointTexture(IDirect3DDevice9* device, const PatternSettings& settings, IDirect3DTexture9** texture);
HRESULT FillHalfTexture(IDirect3DDevice9* device, IDirect3DTexture9** texture);

// All four in that order, stopping at the first that fails.
HRESULT FillPatternObjects(IDirect3DDevice9* device, const PatternSettings& settings, PatternObjects* objects);
void ReleasePatternObjects(PatternObjects* objects);

// The device state every frame starts from, set after each creation or reset: unlit, no depth
// test, point sampling, stage 0 passing the current colour, identity transforms.
void SetBaselineStates(IDirect3DDevice9* device);
