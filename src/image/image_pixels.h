// The back-buffer formats a kept frame can come in, widened to A8R8G8B8 for the PNG file and the
// window: 8-bit channels, alpha set.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <vector>

// True for the render-target formats the program can draw into and keep: X8R8G8B8, A8R8G8B8,
// A2R10G10B10, R5G6B5, X1R5G5B5 and A1R5G5B5.
bool IsKeptFrameFormat(D3DFORMAT format);

// True for those and every other render-target format whose red channel the read-back knows
// (10- and 16-bit, half and float ones among them): the formats a picture can be made of.
bool IsPicturedFormat(D3DFORMAT format);

// Widens one row of width pixels of format into out (width values). Narrow channels are scaled
// so that their largest value becomes 255, wide ones rounded to it; float channels are clamped
// to 0 .. 1 first. A format with red alone is shown grey, one without blue has none. False,
// writing nothing, for a format that is not pictured.
bool WidenRowToArgb(D3DFORMAT format, const BYTE* row, UINT width, DWORD* out);

// The pixels of rect (within the surface) of a surface in a pictured format, widened, top row
// first; pixels holds rect's width times its height values afterwards.
HRESULT ReadSurfaceArgb(IDirect3DSurface9* surface, const RECT& rect, std::vector<DWORD>* pixels);
