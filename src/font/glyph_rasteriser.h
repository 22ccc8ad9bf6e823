// GDI side of the text font: rasterises the printable ASCII glyphs of a Windows font into a DIB,
// records where each glyph lies, and turns the DIB's coverage into the A4R4G4B4 glyph texture.
#pragma once

#include <windows.h>
#include <d3d9.h>

namespace glyph_rasteriser {

struct GlyphSheetRequest {
    const char* faceName;
    DWORD fontHeight;   // points
    DWORD fontFlags;    // FontBold, FontItalic
    float textScale;    // 1, or the shrink applied to fit the device's largest texture
    DWORD textureSize;  // width and height of the square texture
};

// Draws the glyphs of codes 32 to 126 into a textureSize-square sheet, fills glyphCoords (entry
// k - 32 for code k: tx1, ty1, tx2, ty2) and glyphSpacing, and writes the coverage into level 0
// of texture. E_FAIL when the font or the drawing surface cannot be created (texture, coords
// and spacing untouched); the texture's lock failure code when it cannot be filled.
HRESULT RasteriseGlyphSheet(const GlyphSheetRequest& request, IDirect3DTexture9* texture,
                            float glyphCoords[96][4], DWORD* glyphSpacing);

// The margin on each side of every glyph cell: the blank's height times 0.3f, rounded up (a
// height of 10 gives 4, since 10 * 0.3f is a hair above 3).
DWORD GlyphSpacingForBlankHeight(LONG blankHeight);

// One row of the conversion: the upper four bits of each DIB pixel's lowest byte become the
// alpha of a white texel; no coverage gives the fully transparent texel 0x0000.
void ConvertCoverageRow(const DWORD* dibRow, WORD* texelRow, UINT width);

}  // namespace glyph_rasteriser
