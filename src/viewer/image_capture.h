// GDI copy of a window's client area, for where the device's front-buffer copy comes back black
// (as it can under Wine), and the test that tells such a black copy apart.
#pragma once

#include <windows.h>

#include <vector>

// Copies the top-left width x height pixels of the window's client area (as the screen shows
// them) into pixels, top row first, as A8R8G8B8 with alpha 0xFF. pixels is resized to
// width * height; on failure it is left empty.
HRESULT CaptureClientArea(HWND window, UINT width, UINT height, std::vector<DWORD>& pixels);

// True when every pixel of r in the 32-bit image (rows pitch bytes apart) has zero colour bits;
// alpha is not looked at. An empty rectangle, or no image at all, counts as black.
bool RectIsAllBlack(const BYTE* pixels, int pitch, const RECT& r);
