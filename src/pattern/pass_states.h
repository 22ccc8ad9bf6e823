// Device states the pattern passes and the edge bands both open with, the stage setting that
// draws in the texture factor's colour, and the alpha test that keeps a texture's opaque texels.
#pragma once

#include <d3d9.h>

// Opaque, unculled, unlit drawing with point sampling and the given texture addressing.
void SetPassOpeningStates(IDirect3DDevice9* device, D3DTEXTUREADDRESS addressing);

// Stage 0 colour and alpha straight from D3DRS_TEXTUREFACTOR.
void SelectTextureFactor(IDirect3DDevice9* device);

// Only texels whose alpha is at least one half pass: the opaque squares of the point and band
// textures, their transparent rest not. D3DRS_ALPHATESTENABLE is turned off again by the caller.
void PassOpaqueTexelsOnly(IDirect3DDevice9* device);
