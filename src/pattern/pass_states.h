// Device states the pattern passes and the edge bands both open with, and the stage setting that
// draws in the texture factor's colour.
#pragma once

#include <d3d9.h>

// Opaque, unculled, unlit drawing with point sampling and the given texture addressing.
void SetPassOpeningStates(IDirect3DDevice9* device, D3DTEXTUREADDRESS addressing);

// Stage 0 colour and alpha straight from D3DRS_TEXTUREFACTOR.
void SelectTextureFactor(IDirect3DDevice9* device);
