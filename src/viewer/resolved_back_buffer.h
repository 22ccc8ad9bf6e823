// The picture a frame left in the back buffer, as the device made it: resolved (the multisample
// resolve happens in StretchRect) into a plain render target and read back into system memory.
// The survey writes its pictures from it; the viewer's kept copy can share it.
#pragma once

#include <windows.h>
#include <d3d9.h>

// Resolves back buffer 0 of swap chain 0 and returns its pixels in *copy, a new system-memory
// surface of the back buffer's size and format (the caller releases it). Call after the frame's
// EndScene and before its Present. On failure *copy is left alone.
HRESULT ReadResolvedBackBuffer(IDirect3DDevice9* device, IDirect3DSurface9** copy);
