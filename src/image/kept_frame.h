// The picture as the device drew it: the back buffer resolved into a plain render target before
// Present and read back into system memory, where the save and a frozen window's repaint find it.
#pragma once

#include <windows.h>
#include <d3d9.h>

// Creates the render target a multisampled back buffer of this description resolves into: the
// same size and format, no multisampling, default pool (so it goes before every reset).
HRESULT CreateResolveTarget(IDirect3DDevice9* device, const D3DSURFACE_DESC& backBuffer,
                            IDirect3DSurface9** target);

// Resolves back buffer 0 into target (StretchRect; the multisample resolve happens here).
HRESULT ResolveBackBuffer(IDirect3DDevice9* device, IDirect3DSurface9* target);

// Reads resolved back into *copy, a system-memory surface of the same size and format; a missing
// copy, or one of another size or format, is replaced first. On failure *copy keeps what it had.
HRESULT ReadBackResolved(IDirect3DDevice9* device, IDirect3DSurface9* resolved, IDirect3DSurface9** copy);

// The three above in one call, for a picture taken once (the survey's): *copy receives a new
// system-memory surface of the back buffer's size and format; the resolve target lives only for
// the call. Call after the frame's EndScene and before its Present. On failure *copy is left alone.
HRESULT ReadResolvedBackBuffer(IDirect3DDevice9* device, IDirect3DSurface9** copy);

// Draws copy at the top-left of the device context, pixel for pixel.
HRESULT PaintKeptFrame(HDC context, IDirect3DSurface9* copy);
