// The copy of what the window shows into the system-memory surface that single-frame mode keeps
// and the save writes out. GetFrontBufferData is the way on Windows; where it hands back a client
// area that is entirely black (Wine over Mesa's llvmpipe never fills it), the picture is taken
// from the window itself through GDI, once the device has really carried out its Present.
#pragma once

#include <windows.h>
#include <d3d9.h>

enum FrontBufferSource : int {
    FrontBufferSourceAutomatic = 0,     // the device's copy, or the window's where that is black
    FrontBufferSourceDeviceOnly = 1,    // GetFrontBufferData alone
    FrontBufferSourceWindowOnly = 2,    // the window's picture alone
};

// The client area of window in desktop coordinates.
RECT ClientRectOnDesktop(HWND window);

// Copies the front buffer of swap chain 0 into copy (a D3DFMT_A8R8G8B8 surface of the desktop's
// size) and makes sure the client rectangle of window holds the picture the window shows.
HRESULT CopyFrontBuffer(IDirect3DDevice9* device, IDirect3DSurface9* copy, HWND window,
                        FrontBufferSource source);
