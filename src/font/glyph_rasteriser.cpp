// GDI side of the text font: rasterises the printable ASCII glyphs of a Windows font into a DIB,
// records where each glyph lies, and turns the DIB's coverage into the A4R4G4B4 glyph texture.
#include "font/glyph_rasteriser.h"

#include <cmath>

#include "font/text_font.h"

namespace glyph_rasteriser {
namespace {

constexpr int kFirstCode = 32;
constexpr int kLastCode = 126;

// The memory context, its 32-bit top-down sheet and the font, selected in while it lives.
class GlyphCanvas {
public:
    GlyphCanvas(const GlyphSheetRequest& request) {
        context_ = CreateCompatibleDC(nullptr);
        if (context_ == nullptr) return;

        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = static_cast<LONG>(request.textureSize);
        info.bmiHeader.biHeight = -static_cast<LONG>(request.textureSize);
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        void* bits = nullptr;
        bitmap_ = CreateDIBSection(context_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        if (bitmap_ == nullptr || bits == nullptr) return;
        static_cast<void>(SetMapMode(context_, MM_TEXT));

        const int pixelsPerInch = static_cast<int>(
            static_cast<float>(GetDeviceCaps(context_, LOGPIXELSY)) * request.textScale);
        const int height = -MulDiv(static_cast<int>(request.fontHeight), pixelsPerInch, 72);
        const int weight = (request.fontFlags & FontBold) != 0 ? FW_BOLD : FW_NORMAL;
        const DWORD italic = (request.fontFlags & FontItalic) != 0 ? TRUE : FALSE;
        font_ = CreateFontA(height, 0, 0, 0, weight, italic, FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY,
                            VARIABLE_PITCH, request.faceName);
        if (font_ == nullptr) return;

        previousBitmap_ = SelectObject(context_, bitmap_);
        previousFont_ = SelectObject(context_, font_);
        static_cast<void>(SetTextColor(context_, RGB(255, 255, 255)));
        static_cast<void>(SetBkColor(context_, RGB(0, 0, 0)));
        static_cast<void>(SetTextAlign(context_, TA_TOP | TA_LEFT));
        pixels_ = static_cast<const DWORD*>(bits);
    }

    ~GlyphCanvas() {
        if (previousFont_ != nullptr) SelectObject(context_, previousFont_);
        if (previousBitmap_ != nullptr) SelectObject(context_, previousBitmap_);
        if (font_ != nullptr) DeleteObject(font_);
        if (bitmap_ != nullptr) DeleteObject(bitmap_);
        if (context_ != nullptr) DeleteDC(context_);
    }

    GlyphCanvas(const GlyphCanvas&) = delete;
    GlyphCanvas& operator=(const GlyphCanvas&) = delete;

    bool Ready() const { return pixels_ != nullptr; }
    HDC Context() const { return context_; }
    // Valid once GDI has finished drawing (GdiFlush).
    const DWORD* Pixels() const { return pixels_; }

    SIZE Measure(char character) const {
        SIZE size = {0, 0};
        static_cast<void>(GetTextExtentPoint32A(context_, &character, 1, &size));
        return size;
    }

private:
    HDC context_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HFONT font_ = nullptr;
    HGDIOBJ previousBitmap_ = nullptr;
    HGDIOBJ previousFont_ = nullptr;
    const DWORD* pixels_ = nullptr;
};

// Lays the glyphs out left to right in rows, each cell glyphSpacing wider on both sides than
// the glyph, and draws them. Rows past the sheet's bottom are cut off by GDI.
void DrawGlyphs(const GlyphCanvas& canvas, DWORD size, DWORD spacing, float coords[96][4]) {
    const float extent = static_cast<float>(size);
    LONG x = static_cast<LONG>(spacing);
    LONG y = 0;
    for (int code = kFirstCode; code <= kLastCode; ++code) {
        const char character = static_cast<char>(code);
        const SIZE glyph = canvas.Measure(character);
        if (x + glyph.cx + static_cast<LONG>(spacing) > static_cast<LONG>(size)) {
            x = static_cast<LONG>(spacing);
            y += glyph.cy + 1;
        }
        static_cast<void>(
            ExtTextOutA(canvas.Context(), x, y, ETO_OPAQUE, nullptr, &character, 1, nullptr));
        float* cell = coords[code - kFirstCode];
        cell[0] = static_cast<float>(x - static_cast<LONG>(spacing)) / extent;
        cell[1] = static_cast<float>(y) / extent;
        cell[2] = static_cast<float>(x + glyph.cx + static_cast<LONG>(spacing)) / extent;
        cell[3] = static_cast<float>(y + glyph.cy) / extent;
        x += glyph.cx + 2 * static_cast<LONG>(spacing);
    }
}

}  // namespace

DWORD GlyphSpacingForBlankHeight(LONG blankHeight) {
    // The factor is 0.3 in single precision (a hair above 0.3) and the product is not rounded
    // back to single precision, so the margin of a 10-pixel font is 4, not 3.
    const double margin = static_cast<double>(blankHeight) * static_cast<double>(0.3f);
    return margin <= 0.0 ? 0u : static_cast<DWORD>(std::ceil(margin));
}

void ConvertCoverageRow(const DWORD* dibRow, WORD* texelRow, UINT width) {
    for (UINT x = 0; x < width; ++x) {
        const WORD alpha = static_cast<WORD>((dibRow[x] >> 4) & 0xF);
        texelRow[x] = alpha != 0 ? static_cast<WORD>((alpha << 12) | 0x0FFF) : WORD{0};
    }
}

HRESULT RasteriseGlyphSheet(const GlyphSheetRequest& request, IDirect3DTexture9* texture,
                            float glyphCoords[96][4], DWORD* glyphSpacing) {
    if (texture == nullptr || request.faceName == nullptr || request.textureSize == 0) {
        return E_FAIL;
    }
    const GlyphCanvas canvas(request);
    if (!canvas.Ready()) return E_FAIL;

    const DWORD spacing = GlyphSpacingForBlankHeight(canvas.Measure(' ').cy);
    *glyphSpacing = spacing;
    DrawGlyphs(canvas, request.textureSize, spacing, glyphCoords);
    // The sheet's memory holds the glyphs only once GDI has run its queued drawing.
    GdiFlush();

    D3DLOCKED_RECT locked = {};
    const HRESULT result = texture->LockRect(0, &locked, nullptr, 0);
    if (FAILED(result)) return result;
    const DWORD* dibRow = canvas.Pixels();
    BYTE* texelRow = static_cast<BYTE*>(locked.pBits);
    for (DWORD y = 0; y < request.textureSize; ++y) {
        ConvertCoverageRow(dibRow, reinterpret_cast<WORD*>(texelRow), request.textureSize);
        dibRow += request.textureSize;
        texelRow += locked.Pitch;
    }
    static_cast<void>(texture->UnlockRect(0));
    return S_OK;
}

}  // namespace glyph_rasteriser
