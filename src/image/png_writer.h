// Our own PNG writer over libpng and zlib: A8R8G8B8 pixels, or a rectangle of a 32-bit surface,
// become an 8-bit RGB PNG that replaces the target file only once it is complete.
#pragma once

#include <windows.h>
#include <d3d9.h>

// Writes width x height pixels, rows pitchBytes apart starting at topLeftPixel (a negative pitch
// walks a bottom-up image), as a PNG holding only IHDR, IDAT and IEND. Red, green and blue come
// from bits 16-23, 8-15 and 0-7; alpha is dropped. path is an ANSI file name. The file is built
// beside the target and renamed over it at the end; on failure any existing target is left as
// it was, no temporary file remains, and the result is a failure code.
HRESULT WritePngFile(const char* path, const BYTE* topLeftPixel, int pitchBytes, UINT width,
                     UINT height);

// Writes rect of a surface in one of the kept-frame formats (image_pixels.h), clipped to the
// surface, as WritePngFile does; channels narrower than eight bits are widened.
// A rectangle that misses the surface altogether fails without touching any file.
HRESULT SaveSurfaceRectToPng(IDirect3DSurface9* surface, const RECT& rect, const char* path);
