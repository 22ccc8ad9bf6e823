// Bitmap text font: a GDI font rasterised once per device into an A4R4G4B4 glyph texture and
// drawn as screen-space quads in batches, between two state blocks that keep the caller's states.
#pragma once

#include <windows.h>
#include <d3d9.h>

enum TextFontFlags : DWORD {
    FontBold = 1,
    FontItalic = 2,
    FontDepthTest = 4,
};

enum TextDrawFlags : DWORD {
    TextCenterX = 1,
    TextCenterY = 2,
    TextFiltered = 8,
};

class TextFont {
public:
    TextFont(const char* faceName, DWORD height, DWORD flags);
    ~TextFont();
    TextFont(const TextFont&) = delete;
    TextFont& operator=(const TextFont&) = delete;

    HRESULT CreateDeviceResources(IDirect3DDevice9* device);
    HRESULT RestoreDeviceResources();
    HRESULT ReleaseDeviceResources();
    HRESULT DestroyDeviceResources();

    HRESULT MeasureText(const char* text, SIZE* size) const;
    HRESULT RenderText(float x, float y, DWORD colour, const char* text, DWORD flags);

    char faceName[80];
    DWORD fontHeight;
    DWORD fontFlags;
    IDirect3DDevice9* device = nullptr;
    IDirect3DTexture9* glyphTexture = nullptr;
    IDirect3DVertexBuffer9* vertexBuffer = nullptr;
    DWORD textureWidth = 0;
    DWORD textureHeight = 0;
    float textScale = 1.0f;
    float glyphCoords[96][4] = {};
    DWORD glyphSpacing = 0;
    IDirect3DStateBlock9* savedStateBlock = nullptr;
    IDirect3DStateBlock9* drawStateBlock = nullptr;

private:
    // Distances on the render target: texels divided by textScale, so that a font rasterised
    // small for a small-texture device is laid out at the size it is drawn.
    float LineHeight() const;
    float GlyphWidth(int code) const;
    float PixelSpacing() const;
    void SetFontStates();
};
