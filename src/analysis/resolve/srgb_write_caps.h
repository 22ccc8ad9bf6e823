// What a runtime says of writing sRGB-encoded into the target's format, asked in every form
// drivers answer: some refuse the bare query on a surface and accept it with the render-target
// usage, or for a texture.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "analysis/session/switch_finding.h"

// D3DUSAGE_QUERY_SRGBWRITE alone and with D3DUSAGE_RENDERTARGET, on a surface and on a texture,
// in that order: the first is the form older files recorded as their one caps answer.
std::vector<CapsAnswer> AskSrgbWriteCaps(IDirect3DDevice9* device, D3DFORMAT format);
