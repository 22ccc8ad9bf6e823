// Bitmap text font: a GDI font rasterised once per device into an A4R4G4B4 glyph texture and
// drawn as screen-space quads in batches, between two state blocks that keep the caller's states.
#include "font/text_font.h"
#include "framework/safe_release.h"

#include <cstring>

#include "font/glyph_rasteriser.h"

namespace {

struct GlyphVertex {
    float x, y, z, rhw;
    DWORD colour;
    float u, v;
};
static_assert(sizeof(GlyphVertex) == 28, "the glyph vertex layout is 28 bytes");

constexpr DWORD kGlyphVertexFormat = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr UINT kVertexBufferBytes = 9600;
// A batch is drawn as soon as it holds more vertices than this: every 50 glyphs (300 vertices,
// 8400 bytes), which the 9600-byte buffer always has room for.
constexpr UINT kBatchVertexLimit = 294;
static_assert((kBatchVertexLimit + 6) * sizeof(GlyphVertex) <= kVertexBufferBytes,
              "a full batch fits the vertex buffer");

constexpr int kFirstCode = 32;
constexpr int kLastCode = 126;

bool IsDrawable(int code) { return code >= kFirstCode && code <= kLastCode; }

// Larger fonts need larger glyph sheets: the first row whose height is exceeded wins.
struct TextureSizeRule {
    DWORD heightAbove;
    DWORD textureSize;
};
constexpr TextureSizeRule kTextureSizes[] = {{60, 2048}, {30, 1024}, {15, 512}};
constexpr DWORD kSmallestTextureSize = 256;

DWORD TextureSizeForHeight(DWORD points) {
    for (const TextureSizeRule& rule : kTextureSizes) {
        if (points > rule.heightAbove) return rule.textureSize;
    }
    return kSmallestTextureSize;
}

struct RenderStateValue {
    D3DRENDERSTATETYPE state;
    DWORD value;
};
// Recorded after D3DRS_ZENABLE, which depends on FontDepthTest.
constexpr RenderStateValue kFontRenderStates[] = {
    {D3DRS_ALPHABLENDENABLE, TRUE},
    {D3DRS_SRCBLEND, D3DBLEND_SRCALPHA},
    {D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA},
    {D3DRS_ALPHATESTENABLE, TRUE},
    {D3DRS_ALPHAREF, 8},
    {D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL},
    {D3DRS_FILLMODE, D3DFILL_SOLID},
    {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_STENCILENABLE, FALSE},
    {D3DRS_CLIPPING, TRUE},
    {D3DRS_CLIPPLANEENABLE, 0},
    {D3DRS_VERTEXBLEND, D3DVBF_DISABLE},
    {D3DRS_INDEXEDVERTEXBLENDENABLE, FALSE},
    {D3DRS_FOGENABLE, FALSE},
    {D3DRS_COLORWRITEENABLE, 0xF},
};

struct StageStateValue {
    DWORD stage;
    D3DTEXTURESTAGESTATETYPE type;
    DWORD value;
};
constexpr StageStateValue kFontStageStates[] = {
    {0, D3DTSS_COLOROP, D3DTOP_MODULATE},
    {0, D3DTSS_COLORARG1, D3DTA_TEXTURE},
    {0, D3DTSS_COLORARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_ALPHAOP, D3DTOP_MODULATE},
    {0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE},
    {0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE},
    {0, D3DTSS_TEXCOORDINDEX, 0},
    {0, D3DTSS_TEXTURETRANSFORMFLAGS, D3DTTFF_DISABLE},
    {1, D3DTSS_COLOROP, D3DTOP_DISABLE},
    {1, D3DTSS_ALPHAOP, D3DTOP_DISABLE},
};

struct SamplerStateValue {
    D3DSAMPLERSTATETYPE type;
    DWORD value;
};
constexpr SamplerStateValue kFontSamplerStates[] = {
    {D3DSAMP_MINFILTER, D3DTEXF_POINT},
    {D3DSAMP_MAGFILTER, D3DTEXF_POINT},
    {D3DSAMP_MIPFILTER, D3DTEXF_NONE},
};

// Two triangles covering [x0, x1] x [y0, y1], wound as the font's cull mode expects.
void AppendQuad(GlyphVertex* out, float x0, float y0, float x1, float y1, const float* cell,
                DWORD colour) {
    const float tx1 = cell[0], ty1 = cell[1], tx2 = cell[2], ty2 = cell[3];
    const GlyphVertex corners[6] = {
        {x0, y1, 0.9f, 1.0f, colour, tx1, ty2}, {x0, y0, 0.9f, 1.0f, colour, tx1, ty1},
        {x1, y1, 0.9f, 1.0f, colour, tx2, ty2}, {x1, y0, 0.9f, 1.0f, colour, tx2, ty1},
        {x1, y1, 0.9f, 1.0f, colour, tx2, ty2}, {x0, y0, 0.9f, 1.0f, colour, tx1, ty1},
    };
    std::memcpy(out, corners, sizeof corners);
}

}  // namespace

TextFont::TextFont(const char* name, DWORD height, DWORD flags)
    : fontHeight(height), fontFlags(flags) {
    faceName[0] = '\0';
    if (name != nullptr) lstrcpynA(faceName, name, sizeof faceName);
    faceName[sizeof faceName - 1] = '\0';
}

TextFont::~TextFont() {
    static_cast<void>(ReleaseDeviceResources());
    static_cast<void>(DestroyDeviceResources());
}

HRESULT TextFont::CreateDeviceResources(IDirect3DDevice9* newDevice) {
    if (newDevice == nullptr) return E_FAIL;
    // Called again without DestroyDeviceResources, the old texture is replaced, not leaked.
    SafeRelease(glyphTexture);
    device = newDevice;
    textScale = 1.0f;

    DWORD size = TextureSizeForHeight(fontHeight);
    D3DCAPS9 caps = {};
    if (SUCCEEDED(device->GetDeviceCaps(&caps)) && caps.MaxTextureWidth != 0 &&
        size > caps.MaxTextureWidth) {
        textScale = static_cast<float>(caps.MaxTextureWidth) / static_cast<float>(size);
        size = caps.MaxTextureWidth;
    }
    textureWidth = textureHeight = size;

    HRESULT result = device->CreateTexture(size, size, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED,
                                           &glyphTexture, nullptr);
    if (FAILED(result)) {
        glyphTexture = nullptr;
        return result;
    }
    const glyph_rasteriser::GlyphSheetRequest request = {faceName, fontHeight, fontFlags,
                                                         textScale, size};
    return glyph_rasteriser::RasteriseGlyphSheet(request, glyphTexture, glyphCoords,
                                                 &glyphSpacing);
}

HRESULT TextFont::RestoreDeviceResources() {
    if (device == nullptr) return E_FAIL;
    // A second restore without a release replaces the objects instead of leaking them.
    static_cast<void>(ReleaseDeviceResources());
    HRESULT result = device->CreateVertexBuffer(kVertexBufferBytes,
                                                D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0,
                                                D3DPOOL_DEFAULT, &vertexBuffer, nullptr);
    if (FAILED(result)) {
        vertexBuffer = nullptr;
        return result;
    }
    // The same states twice: one block to capture and give back the caller's values, one to
    // apply the font's.
    IDirect3DStateBlock9** const blocks[] = {&savedStateBlock, &drawStateBlock};
    for (IDirect3DStateBlock9** block : blocks) {
        result = device->BeginStateBlock();
        if (FAILED(result)) return result;
        SetFontStates();
        result = device->EndStateBlock(block);
        if (FAILED(result)) {
            *block = nullptr;
            return result;
        }
    }
    return S_OK;
}

void TextFont::SetFontStates() {
    static_cast<void>(device->SetTexture(0, glyphTexture));
    static_cast<void>(device->SetRenderState(
        D3DRS_ZENABLE, (fontFlags & FontDepthTest) != 0 ? D3DZB_TRUE : D3DZB_FALSE));
    for (const RenderStateValue& state : kFontRenderStates) {
        static_cast<void>(device->SetRenderState(state.state, state.value));
    }
    for (const StageStateValue& state : kFontStageStates) {
        static_cast<void>(device->SetTextureStageState(state.stage, state.type, state.value));
    }
    for (const SamplerStateValue& state : kFontSamplerStates) {
        static_cast<void>(device->SetSamplerState(0, state.type, state.value));
    }
}

HRESULT TextFont::ReleaseDeviceResources() {
    SafeRelease(vertexBuffer);
    SafeRelease(savedStateBlock);
    SafeRelease(drawStateBlock);
    return S_OK;
}

HRESULT TextFont::DestroyDeviceResources() {
    SafeRelease(glyphTexture);
    device = nullptr;
    return S_OK;
}

float TextFont::LineHeight() const {
    const float* blank = glyphCoords[0];
    return (blank[3] - blank[1]) * static_cast<float>(textureHeight) / textScale;
}

float TextFont::GlyphWidth(int code) const {
    const float* cell = glyphCoords[code - kFirstCode];
    return (cell[2] - cell[0]) * static_cast<float>(textureWidth) / textScale;
}

float TextFont::PixelSpacing() const {
    return static_cast<float>(glyphSpacing) / textScale;
}

HRESULT TextFont::MeasureText(const char* text, SIZE* size) const {
    if (text == nullptr || size == nullptr) return E_FAIL;
    const float lineHeight = LineHeight();
    float height = lineHeight;
    float width = 0.0f;
    float widest = 0.0f;
    for (const char* at = text; *at != '\0'; ++at) {
        const int code = static_cast<unsigned char>(*at);
        if (code == '\n') {
            width = 0.0f;
            height += lineHeight;
        } else if (IsDrawable(code)) {
            width += GlyphWidth(code) - 2.0f * PixelSpacing();
            if (width > widest) widest = width;
        }
    }
    size->cx = static_cast<LONG>(widest);
    size->cy = static_cast<LONG>(height);
    return S_OK;
}

HRESULT TextFont::RenderText(float x, float y, DWORD colour, const char* text, DWORD flags) {
    // Without the restored objects there is nothing to draw with, and nothing is touched.
    if (device == nullptr || text == nullptr || vertexBuffer == nullptr ||
        savedStateBlock == nullptr || drawStateBlock == nullptr) {
        return E_FAIL;
    }
    static_cast<void>(savedStateBlock->Capture());
    static_cast<void>(drawStateBlock->Apply());
    static_cast<void>(device->SetFVF(kGlyphVertexFormat));
    static_cast<void>(device->SetPixelShader(nullptr));
    static_cast<void>(device->SetStreamSource(0, vertexBuffer, 0, sizeof(GlyphVertex)));
    if ((flags & TextFiltered) != 0) {
        static_cast<void>(device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR));
        static_cast<void>(device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR));
    }

    const float spacing = PixelSpacing();
    if ((flags & (TextCenterX | TextCenterY)) != 0) {
        D3DVIEWPORT9 viewport = {};
        static_cast<void>(device->GetViewport(&viewport));
        if ((flags & TextCenterX) != 0) {
            float lineWidth = 0.0f;
            for (const char* at = text; *at != '\0' && *at != '\n'; ++at) {
                const int code = static_cast<unsigned char>(*at);
                if (IsDrawable(code)) lineWidth += GlyphWidth(code) - 2.0f * spacing;
            }
            x = (static_cast<float>(viewport.Width) - lineWidth) * 0.5f;
        }
        if ((flags & TextCenterY) != 0) {
            y = (static_cast<float>(viewport.Height) - LineHeight()) * 0.5f;
        }
    }

    x -= spacing;
    const float startX = x;
    GlyphVertex* vertices = nullptr;
    HRESULT result = vertexBuffer->Lock(0, 0, reinterpret_cast<void**>(&vertices),
                                        D3DLOCK_DISCARD);
    UINT triangles = 0;
    for (const char* at = text; SUCCEEDED(result) && *at != '\0'; ++at) {
        const int code = static_cast<unsigned char>(*at);
        if (code == '\n') {
            x = startX;
            y += LineHeight();
            continue;
        }
        if (!IsDrawable(code)) continue;
        const float* cell = glyphCoords[code - kFirstCode];
        const float width = GlyphWidth(code);
        if (code != ' ') {
            const float height = (cell[3] - cell[1]) * static_cast<float>(textureHeight) /
                                 textScale;
            AppendQuad(vertices + triangles * 3, x - 0.5f, y - 0.5f, x + width - 0.5f,
                       y + height - 0.5f, cell, colour);
            triangles += 2;
            if (triangles * 3 > kBatchVertexLimit) {
                static_cast<void>(vertexBuffer->Unlock());
                static_cast<void>(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles));
                triangles = 0;
                result = vertexBuffer->Lock(0, 0, reinterpret_cast<void**>(&vertices),
                                            D3DLOCK_DISCARD);
            }
        }
        x += width - 2.0f * spacing;
    }
    // A failed lock leaves nothing to unlock or draw; the caller's states still come back.
    if (SUCCEEDED(result)) {
        static_cast<void>(vertexBuffer->Unlock());
        if (triangles > 0) {
            static_cast<void>(device->DrawPrimitive(D3DPT_TRIANGLELIST, 0, triangles));
        }
    }
    static_cast<void>(savedStateBlock->Apply());
    return SUCCEEDED(result) ? S_OK : result;
}
