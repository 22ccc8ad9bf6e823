// The text font against the recording fake device: texture size and glyph layout, the two state
// blocks, measuring, the quads and batches RenderText draws, and its failure paths.
#include "font/text_font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "font/glyph_rasteriser.h"
#include "support/fake_device.h"

namespace {

using fakes::FakeDevice;
using fakes::FakeStateBlock;
using fakes::FakeVertexBuffer;

struct Vertex {
    float x, y, z, rhw;
    DWORD colour;
    float u, v;
};
static_assert(sizeof(Vertex) == 28, "glyph vertex layout");

const float* Cell(const TextFont& font, char code) { return font.glyphCoords[code - 32]; }

// Texels to pixels as the font draws them.
float CellWidth(const TextFont& font, char code) {
    const float* c = Cell(font, code);
    return (c[2] - c[0]) * float(font.textureWidth) / font.textScale;
}
float CellHeight(const TextFont& font, char code) {
    const float* c = Cell(font, code);
    return (c[3] - c[1]) * float(font.textureHeight) / font.textScale;
}
float Spacing(const TextFont& font) { return float(font.glyphSpacing) / font.textScale; }

class TextFontTest : public ::testing::Test {
protected:
    std::unique_ptr<TextFont> RestoredFont(DWORD height = 8, DWORD flags = 0) {
        auto font = std::make_unique<TextFont>("Arial", height, flags);
        EXPECT_EQ(font->CreateDeviceResources(&device), S_OK);
        EXPECT_EQ(font->RestoreDeviceResources(), S_OK);
        return font;
    }

    // Renders inside a scene and keeps every batch's vertices, in draw order.
    HRESULT Render(TextFont& font, float x, float y, const char* text, DWORD flags = 0,
                   DWORD colour = 0xFF112233) {
        batches.clear();
        device.onDrawPrimitive = [this](FakeDevice& d, D3DPRIMITIVETYPE type, UINT start,
                                        UINT count) {
            EXPECT_EQ(type, D3DPT_TRIANGLELIST);
            EXPECT_EQ(start, 0u);
            const FakeVertexBuffer* buffer = FakeVertexBuffer::From(d.streamSource0);
            ASSERT_NE(buffer, nullptr);
            std::vector<Vertex> vertices(count * 3);
            ASSERT_LE(vertices.size() * sizeof(Vertex), buffer->bytes.size());
            std::memcpy(vertices.data(), buffer->bytes.data(), vertices.size() * sizeof(Vertex));
            batches.push_back(vertices);
        };
        EXPECT_EQ(device.BeginScene(), D3D_OK);
        const HRESULT result = font.RenderText(x, y, colour, text, flags);
        EXPECT_EQ(device.EndScene(), D3D_OK);
        return result;
    }

    std::vector<Vertex> AllVertices() const {
        std::vector<Vertex> all;
        for (const auto& batch : batches) all.insert(all.end(), batch.begin(), batch.end());
        return all;
    }

    FakeDevice device;
    std::vector<std::vector<Vertex>> batches;
};

// --- Glyph sheet ------------------------------------------------------------------------------

struct SizeCase {
    DWORD points;
    DWORD textureSize;
};

TEST_F(TextFontTest, TextureSizeFollowsTheFontHeight) {
    const SizeCase cases[] = {{8, 256}, {15, 256}, {16, 512}, {30, 512},
                              {31, 1024}, {60, 1024}, {61, 2048}};
    for (const SizeCase& c : cases) {
        TextFont font("Arial", c.points, 0);
        device.ClearCalls();
        ASSERT_EQ(font.CreateDeviceResources(&device), S_OK) << c.points;
        EXPECT_EQ(font.textureWidth, c.textureSize) << c.points;
        EXPECT_EQ(font.textureHeight, c.textureSize) << c.points;
        EXPECT_EQ(font.textScale, 1.0f);
        const std::string size = std::to_string(c.textureSize);
        EXPECT_EQ(device.CountCalls("CreateTexture " + size + " " + size + " 1 0 " +
                                    std::to_string(D3DFMT_A4R4G4B4) + " " +
                                    std::to_string(D3DPOOL_MANAGED)), 1)
            << c.points;
    }
}

TEST_F(TextFontTest, SmallLargestTextureShrinksTheFontButItIsLaidOutAtFullSize) {
    auto full = std::make_unique<TextFont>("Arial", 61, 0);
    ASSERT_EQ(full->CreateDeviceResources(&device), S_OK);

    FakeDevice small;
    small.caps.MaxTextureWidth = small.caps.MaxTextureHeight = 1024;
    TextFont shrunk("Arial", 61, 0);
    ASSERT_EQ(shrunk.CreateDeviceResources(&small), S_OK);
    EXPECT_EQ(shrunk.textureWidth, 1024u);
    EXPECT_EQ(shrunk.textureHeight, 1024u);
    EXPECT_EQ(shrunk.textScale, 0.5f);

    // Rasterised at half the resolution...
    const float fullTexels = (Cell(*full, 'M')[3] - Cell(*full, 'M')[1]) * 2048.0f;
    const float shrunkTexels = (Cell(shrunk, 'M')[3] - Cell(shrunk, 'M')[1]) * 1024.0f;
    EXPECT_NEAR(shrunkTexels * 2.0f, fullTexels, 2.0f);
    // ...and measured, like drawn, at full size.
    SIZE fullSize = {}, shrunkSize = {};
    ASSERT_EQ(full->MeasureText("Moth\nMoth", &fullSize), S_OK);
    ASSERT_EQ(shrunk.MeasureText("Moth\nMoth", &shrunkSize), S_OK);
    EXPECT_NEAR(shrunkSize.cx, fullSize.cx, 8);
    EXPECT_NEAR(shrunkSize.cy, fullSize.cy, 4);
}

TEST_F(TextFontTest, GlyphCellsAreLaidOutInRowsWithoutOverlap) {
    TextFont font("Arial", 30, FontBold);
    ASSERT_EQ(font.CreateDeviceResources(&device), S_OK);
    const float texel = 1.0f / float(font.textureWidth);
    EXPECT_GT(font.glyphSpacing, 0u);
    EXPECT_EQ(font.glyphCoords[0][0], 0.0f);
    EXPECT_EQ(font.glyphCoords[0][1], 0.0f);
    int rows = 1;
    for (int k = 33; k <= 126; ++k) {
        const float* previous = font.glyphCoords[k - 33];
        const float* cell = font.glyphCoords[k - 32];
        EXPECT_GT(cell[2], cell[0]) << k;
        EXPECT_LE(cell[2], 1.0f) << k;
        // Each cell carries its margins: wider than the two margins alone.
        EXPECT_GT((cell[2] - cell[0]) / texel, 2.0f * float(font.glyphSpacing)) << k;
        if (cell[1] == previous[1]) {
            EXPECT_EQ(cell[0], previous[2]) << "cell " << k << " does not follow its left one";
        } else {
            ++rows;
            EXPECT_EQ(cell[0], 0.0f) << k;
            EXPECT_EQ(cell[1], previous[3] + texel) << "row below cell " << k - 1;
        }
    }
    EXPECT_GT(rows, 1);
    // The glyphs' texels are white with a coverage alpha, or fully transparent.
    const fakes::FakeTexture* texture = fakes::FakeTexture::From(font.glyphTexture);
    ASSERT_NE(texture, nullptr);
    int covered = 0;
    for (UINT y = 0; y < texture->height; ++y) {
        for (UINT x = 0; x < texture->width; ++x) {
            const DWORD texel16 = texture->levels[0]->PixelAt(x, y);
            if (texel16 == 0) continue;
            ++covered;
            ASSERT_EQ(texel16 & 0x0FFF, 0x0FFFu) << x << "," << y;
        }
    }
    EXPECT_GT(covered, 1000);
    EXPECT_EQ(texture->levels[0]->locked, false);
}

TEST(GlyphRasteriserTest, SpacingIsThreeTenthsOfTheBlankRoundedUp) {
    EXPECT_EQ(glyph_rasteriser::GlyphSpacingForBlankHeight(10), 4u);  // 3.0000001
    EXPECT_EQ(glyph_rasteriser::GlyphSpacingForBlankHeight(20), 7u);  // 6.0000002
    EXPECT_EQ(glyph_rasteriser::GlyphSpacingForBlankHeight(13), 4u);
    EXPECT_EQ(glyph_rasteriser::GlyphSpacingForBlankHeight(1), 1u);
    EXPECT_EQ(glyph_rasteriser::GlyphSpacingForBlankHeight(0), 0u);
}

TEST(GlyphRasteriserTest, CoverageComesFromTheUpperNibbleOfTheLowestByte) {
    const DWORD dib[] = {0x00000000, 0x000000F0, 0x0000000F, 0x00FFFF0F,
                         0x00000010, 0xFF000080, 0x00123456};
    WORD texels[7] = {};
    glyph_rasteriser::ConvertCoverageRow(dib, texels, 7);
    const WORD expected[] = {0x0000, 0xFFFF, 0x0000, 0x0000, 0x1FFF, 0x8FFF, 0x5FFF};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(texels[i], expected[i]) << i;
}

// --- Device objects -----------------------------------------------------------------------------

TEST_F(TextFontTest, RestoreRecordsTheSameFontStatesInBothBlocks) {
    auto font = RestoredFont(8, FontDepthTest);
    EXPECT_EQ(device.CountCalls("CreateVertexBuffer 9600 " +
                                std::to_string(D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC) + " 0 " +
                                std::to_string(D3DPOOL_DEFAULT)), 1);
    const FakeStateBlock* saved = FakeStateBlock::From(font->savedStateBlock);
    const FakeStateBlock* draw = FakeStateBlock::From(font->drawStateBlock);
    ASSERT_NE(saved, nullptr);
    ASSERT_NE(draw, nullptr);
    ASSERT_NE(saved, draw);
    // One texture, sixteen render states, ten stage states and three sampler states.
    ASSERT_EQ(draw->entries.size(), 30u);
    ASSERT_EQ(saved->entries.size(), draw->entries.size());
    for (size_t i = 0; i < draw->entries.size(); ++i) {
        const FakeStateBlock::Entry& a = saved->entries[i];
        const FakeStateBlock::Entry& b = draw->entries[i];
        EXPECT_TRUE(a.kind == b.kind && a.index == b.index && a.subIndex == b.subIndex &&
                    a.value == b.value && a.texture == b.texture) << "entry " << i;
    }
    using Kind = FakeStateBlock::EntryKind;
    EXPECT_EQ(draw->entries[0].kind, Kind::Texture);
    EXPECT_EQ(draw->entries[0].texture, font->glyphTexture);
    EXPECT_EQ(draw->entries[1].index, DWORD(D3DRS_ZENABLE));
    EXPECT_EQ(draw->entries[1].value, DWORD(D3DZB_TRUE));
    // Without FontDepthTest the font draws without depth test.
    auto flat = RestoredFont(8, 0);
    const FakeStateBlock* flatDraw = FakeStateBlock::From(flat->drawStateBlock);
    ASSERT_NE(flatDraw, nullptr);
    ASSERT_GE(flatDraw->entries.size(), 2u);
    EXPECT_EQ(flatDraw->entries[1].value, DWORD(D3DZB_FALSE));
}

TEST_F(TextFontTest, LifeCycleReleasesEachObjectInItsOwnStep) {
    {
        auto font = RestoredFont();
        EXPECT_EQ(device.LiveResourceCount(), 4) << device.LiveResourceReport();
        // Before a reset: the vertex buffer and the blocks go, the managed texture stays.
        EXPECT_EQ(font->ReleaseDeviceResources(), S_OK);
        EXPECT_EQ(font->vertexBuffer, nullptr);
        EXPECT_EQ(font->savedStateBlock, nullptr);
        EXPECT_EQ(font->drawStateBlock, nullptr);
        EXPECT_NE(font->glyphTexture, nullptr);
        EXPECT_EQ(device.LiveResourceCount(), 1) << device.LiveResourceReport();
        // After it, new ones; restoring twice does not leak the first set.
        EXPECT_EQ(font->RestoreDeviceResources(), S_OK);
        EXPECT_EQ(font->RestoreDeviceResources(), S_OK);
        EXPECT_EQ(device.LiveResourceCount(), 4) << device.LiveResourceReport();
        // Creating again for the same device replaces the texture.
        EXPECT_EQ(font->CreateDeviceResources(&device), S_OK);
        EXPECT_EQ(device.LiveResourceCount(), 4) << device.LiveResourceReport();
        font->ReleaseDeviceResources();
        EXPECT_EQ(font->DestroyDeviceResources(), S_OK);
        EXPECT_EQ(font->glyphTexture, nullptr);
        EXPECT_EQ(font->device, nullptr);
        EXPECT_EQ(device.LiveResourceCount(), 0) << device.LiveResourceReport();
        EXPECT_EQ(font->RenderText(0, 0, 0xFFFFFFFF, "gone", 0), E_FAIL);
    }
    // The destructor alone gives everything back.
    { auto font = RestoredFont(); }
    EXPECT_EQ(device.LiveResourceCount(), 0) << device.LiveResourceReport();
    EXPECT_EQ(device.misuseCount, 0) << device.lastMisuse;
}

TEST_F(TextFontTest, ConstructorKeepsAtMost79CharactersOfTheFaceName) {
    const std::string longName(100, 'f');
    TextFont font(longName.c_str(), 12, FontItalic);
    EXPECT_EQ(std::string(font.faceName), std::string(79, 'f'));
    EXPECT_EQ(font.fontHeight, 12u);
    EXPECT_EQ(font.fontFlags, DWORD(FontItalic));
    EXPECT_EQ(font.device, nullptr);
    EXPECT_EQ(font.glyphSpacing, 0u);
}

TEST_F(TextFontTest, TextureCreationFailureIsReturnedBeforeAnyLayout) {
    device.createTextureResult = D3DERR_OUTOFVIDEOMEMORY;
    TextFont font("Arial", 8, 0);
    EXPECT_EQ(font.CreateDeviceResources(&device), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(font.glyphTexture, nullptr);
    EXPECT_EQ(font.glyphSpacing, 0u);
    EXPECT_EQ(font.glyphCoords[33][2], 0.0f);
    EXPECT_EQ(font.CreateDeviceResources(nullptr), E_FAIL);
}

TEST_F(TextFontTest, VertexBufferFailureRecordsNoStateBlocksAndRenderDoesNothing) {
    TextFont font("Arial", 8, 0);
    ASSERT_EQ(font.CreateDeviceResources(&device), S_OK);
    device.createVertexBufferResult = D3DERR_OUTOFVIDEOMEMORY;
    EXPECT_EQ(font.RestoreDeviceResources(), D3DERR_OUTOFVIDEOMEMORY);
    EXPECT_EQ(device.CountCalls("BeginStateBlock"), 0);
    EXPECT_EQ(font.savedStateBlock, nullptr);
    device.ClearCalls();
    device.BeginScene();
    EXPECT_EQ(font.RenderText(0, 0, 0xFFFFFFFF, "text", 0), E_FAIL);
    device.EndScene();
    EXPECT_EQ(device.calls, (std::vector<std::string>{"BeginScene", "EndScene"}));
}

TEST_F(TextFontTest, StateBlockFailureIsReturnedAndRenderDoesNothing) {
    TextFont font("Arial", 8, 0);
    ASSERT_EQ(font.CreateDeviceResources(&device), S_OK);
    device.failCreateStateBlockAfter = 1;  // the draw block fails
    EXPECT_TRUE(FAILED(font.RestoreDeviceResources()));
    EXPECT_EQ(font.drawStateBlock, nullptr);
    EXPECT_EQ(font.RenderText(0, 0, 0xFFFFFFFF, "text", 0), E_FAIL);
    EXPECT_EQ(device.CountCalls("StateBlock.Capture"), 0);
}

TEST(TextFontWithoutDeviceTest, RenderAndMeasureRejectWhatTheyCannotUse) {
    TextFont font("Arial", 8, 0);
    EXPECT_EQ(font.RenderText(1, 2, 0xFFFFFFFF, "x", 0), E_FAIL);
    EXPECT_EQ(font.RestoreDeviceResources(), E_FAIL);
    SIZE size = {-7, -9};
    EXPECT_EQ(font.MeasureText(nullptr, &size), E_FAIL);
    EXPECT_EQ(size.cx, -7);
    EXPECT_EQ(size.cy, -9);
    EXPECT_EQ(font.MeasureText("x", nullptr), E_FAIL);
}

// --- Measuring ----------------------------------------------------------------------------------

TEST_F(TextFontTest, NewlineAddsALineAndTheWidestLineSetsTheWidth) {
    auto font = RestoredFont();
    SIZE w = {}, i = {}, both = {}, reversed = {};
    ASSERT_EQ(font->MeasureText("W", &w), S_OK);
    ASSERT_EQ(font->MeasureText("i", &i), S_OK);
    ASSERT_EQ(font->MeasureText("W\ni", &both), S_OK);
    ASSERT_EQ(font->MeasureText("i\nW", &reversed), S_OK);
    EXPECT_GT(w.cx, i.cx);
    EXPECT_EQ(both.cx, w.cx);
    EXPECT_EQ(reversed.cx, w.cx);
    EXPECT_EQ(both.cy, 2 * w.cy);
    EXPECT_EQ(w.cy, LONG(CellHeight(*font, ' ')));
    EXPECT_EQ(w.cx, LONG(CellWidth(*font, 'W') - 2 * Spacing(*font)));

    SIZE empty = {};
    ASSERT_EQ(font->MeasureText("", &empty), S_OK);
    EXPECT_EQ(empty.cx, 0);
    EXPECT_EQ(empty.cy, w.cy);
}

TEST_F(TextFontTest, UnprintableCodesAreNeitherMeasuredNorDrawnNorAdvanced) {
    auto font = RestoredFont();
    SIZE plain = {}, noisy = {};
    ASSERT_EQ(font->MeasureText("AB", &plain), S_OK);
    ASSERT_EQ(font->MeasureText("A\x7F\x80\xFF\t\r\x01" "B", &noisy), S_OK);
    EXPECT_EQ(noisy.cx, plain.cx);
    EXPECT_EQ(noisy.cy, plain.cy);

    ASSERT_EQ(Render(*font, 10, 10, "AB"), S_OK);
    const std::vector<Vertex> clean = AllVertices();
    ASSERT_EQ(Render(*font, 10, 10, "A\x7F\x80\xFF\t\r\x01" "B"), S_OK);
    const std::vector<Vertex> skipped = AllVertices();
    ASSERT_EQ(skipped.size(), 12u);
    ASSERT_EQ(clean.size(), 12u);
    for (size_t v = 0; v < clean.size(); ++v) {
        EXPECT_EQ(skipped[v].x, clean[v].x) << v;
        EXPECT_EQ(skipped[v].u, clean[v].u) << v;
    }
}

// --- Drawing ------------------------------------------------------------------------------------

TEST_F(TextFontTest, GlyphQuadsSitAtThePenWithTheirCellsTexture) {
    auto font = RestoredFont();
    ASSERT_EQ(Render(*font, 10, 20, "Ab", 0, 0xFF336699), S_OK);
    ASSERT_EQ(batches.size(), 1u);
    const std::vector<Vertex>& v = batches[0];
    ASSERT_EQ(v.size(), 12u);
    const float spacing = Spacing(*font);
    const float* a = Cell(*font, 'A');
    const float x0 = 10 - spacing - 0.5f, y0 = 20 - 0.5f;
    const float x1 = x0 + CellWidth(*font, 'A'), y1 = y0 + CellHeight(*font, 'A');
    const Vertex expected[6] = {
        {x0, y1, 0.9f, 1.0f, 0xFF336699, a[0], a[3]}, {x0, y0, 0.9f, 1.0f, 0xFF336699, a[0], a[1]},
        {x1, y1, 0.9f, 1.0f, 0xFF336699, a[2], a[3]}, {x1, y0, 0.9f, 1.0f, 0xFF336699, a[2], a[1]},
        {x1, y1, 0.9f, 1.0f, 0xFF336699, a[2], a[3]}, {x0, y0, 0.9f, 1.0f, 0xFF336699, a[0], a[1]},
    };
    for (int i = 0; i < 6; ++i) {
        EXPECT_FLOAT_EQ(v[i].x, expected[i].x) << i;
        EXPECT_FLOAT_EQ(v[i].y, expected[i].y) << i;
        EXPECT_EQ(v[i].z, 0.9f) << i;
        EXPECT_EQ(v[i].rhw, 1.0f) << i;
        EXPECT_EQ(v[i].colour, 0xFF336699u) << i;
        EXPECT_EQ(v[i].u, expected[i].u) << i;
        EXPECT_EQ(v[i].v, expected[i].v) << i;
    }
    // The pen moves on by the glyph without its margins.
    EXPECT_FLOAT_EQ(v[7].x, x0 + CellWidth(*font, 'A') - 2 * spacing);
    EXPECT_EQ(v[6].u, Cell(*font, 'b')[0]);
    // What RenderText leaves set for the caller to override.
    EXPECT_EQ(device.fvf, DWORD(D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1));
    EXPECT_EQ(device.pixelShader, nullptr);
    EXPECT_EQ(device.streamSource0, font->vertexBuffer);
    EXPECT_EQ(device.streamStride, 28u);
    EXPECT_EQ(device.misuseCount, 0) << device.lastMisuse;
}

TEST_F(TextFontTest, FiftyOneGlyphsTakeTwoDrawsOfAHundredAndTwoTriangles) {
    auto font = RestoredFont();
    const std::string text(51, 'x');
    device.ClearCalls();
    ASSERT_EQ(Render(*font, 0, 0, text.c_str()), S_OK);
    EXPECT_EQ(device.CountCalls("DrawPrimitive "), 2);
    EXPECT_EQ(device.CountCalls("DrawPrimitive 4 0 100"), 1);
    EXPECT_EQ(device.CountCalls("DrawPrimitive 4 0 2"), 1);
    const std::string discard = " " + std::to_string(D3DLOCK_DISCARD);
    EXPECT_EQ(device.CountCalls("VertexBuffer.Lock "), 2);
    EXPECT_EQ(device.CountCalls("VertexBuffer.Unlock"), 2);
    for (const std::string& call : device.calls) {
        if (call.rfind("VertexBuffer.Lock ", 0) == 0) {
            EXPECT_EQ(call.substr(call.size() - discard.size()), discard) << call;
        }
    }
    // The 51st glyph continues where the 50th left off.
    ASSERT_EQ(batches.size(), 2u);
    const float advance = CellWidth(*font, 'x') - 2 * Spacing(*font);
    EXPECT_FLOAT_EQ(batches[1][1].x - batches[0][49 * 6 + 1].x, advance);
    EXPECT_EQ(device.misuseCount, 0) << device.lastMisuse;

    // Exactly fifty fit one draw.
    device.ClearCalls();
    ASSERT_EQ(Render(*font, 0, 0, std::string(50, 'x').c_str()), S_OK);
    EXPECT_EQ(device.CountCalls("DrawPrimitive "), 1);
    EXPECT_EQ(device.CountCalls("DrawPrimitive 4 0 100"), 1);
}

TEST_F(TextFontTest, BlanksMoveThePenWithoutTriangles) {
    auto font = RestoredFont();
    // 60 characters, 30 of them blanks: one draw of 60 triangles.
    std::string text;
    for (int i = 0; i < 30; ++i) text += "o ";
    device.ClearCalls();
    ASSERT_EQ(Render(*font, 0, 0, text.c_str()), S_OK);
    EXPECT_EQ(device.CountCalls("DrawPrimitive "), 1);
    EXPECT_EQ(device.CountCalls("DrawPrimitive 4 0 60"), 1);
    const float step = CellWidth(*font, 'o') + CellWidth(*font, ' ') - 4 * Spacing(*font);
    EXPECT_FLOAT_EQ(batches[0][6 + 1].x - batches[0][1].x, step);
}

TEST_F(TextFontTest, EmptyTextDrawsNothingAndStillRestoresTheCallersStates) {
    auto font = RestoredFont();
    device.renderStates[D3DRS_ALPHABLENDENABLE] = FALSE;
    device.renderStates[D3DRS_CULLMODE] = D3DCULL_NONE;
    device.samplerStates[0][D3DSAMP_MINFILTER] = D3DTEXF_ANISOTROPIC;
    device.ClearCalls();
    ASSERT_EQ(Render(*font, 5, 5, ""), S_OK);
    EXPECT_EQ(device.CountCalls("DrawPrimitive"), 0);
    const int saved = FakeStateBlock::From(font->savedStateBlock)->id;
    const int draw = FakeStateBlock::From(font->drawStateBlock)->id;
    EXPECT_EQ(device.CountCalls("StateBlock.Capture " + std::to_string(saved)), 1);
    EXPECT_EQ(device.CountCalls("StateBlock.Apply " + std::to_string(draw)), 1);
    EXPECT_EQ(device.CountCalls("StateBlock.Apply " + std::to_string(saved)), 1);
    // The saved block is applied last: after it, the caller's values are back.
    std::string lastBlockCall;
    for (const std::string& call : device.calls) {
        if (call.rfind("StateBlock.", 0) == 0) lastBlockCall = call;
    }
    EXPECT_EQ(lastBlockCall, "StateBlock.Apply " + std::to_string(saved));
    EXPECT_EQ(device.renderStates[D3DRS_ALPHABLENDENABLE], DWORD(FALSE));
    EXPECT_EQ(device.renderStates[D3DRS_CULLMODE], DWORD(D3DCULL_NONE));
    EXPECT_EQ(device.samplerStates[0][D3DSAMP_MINFILTER], DWORD(D3DTEXF_ANISOTROPIC));
    EXPECT_EQ(device.textures[0], nullptr);
    EXPECT_EQ(font->RenderText(0, 0, 0, nullptr, 0), E_FAIL);
}

TEST_F(TextFontTest, FilteredTextSamplesBilinearlyOnlyWhileDrawing) {
    auto font = RestoredFont();
    DWORD minFilterAtDraw = 0, magFilterAtDraw = 0;
    device.onDrawPrimitive = [&](FakeDevice& d, D3DPRIMITIVETYPE, UINT, UINT) {
        minFilterAtDraw = d.samplerStates[0][D3DSAMP_MINFILTER];
        magFilterAtDraw = d.samplerStates[0][D3DSAMP_MAGFILTER];
    };
    device.samplerStates[0][D3DSAMP_MINFILTER] = D3DTEXF_NONE;
    device.BeginScene();
    ASSERT_EQ(font->RenderText(0, 0, 0xFFFFFFFF, "f", TextFiltered), S_OK);
    EXPECT_EQ(minFilterAtDraw, DWORD(D3DTEXF_LINEAR));
    EXPECT_EQ(magFilterAtDraw, DWORD(D3DTEXF_LINEAR));
    // Afterwards the caller's filter is back; unfiltered text samples by point.
    EXPECT_EQ(device.samplerStates[0][D3DSAMP_MINFILTER], DWORD(D3DTEXF_NONE));
    ASSERT_EQ(font->RenderText(0, 0, 0xFFFFFFFF, "f", 0), S_OK);
    device.EndScene();
    EXPECT_EQ(minFilterAtDraw, DWORD(D3DTEXF_POINT));
    EXPECT_EQ(magFilterAtDraw, DWORD(D3DTEXF_POINT));
}

TEST_F(TextFontTest, CentringUsesTheViewportAndTheFirstLineOnly) {
    auto font = RestoredFont();
    device.viewport.Width = 800;
    device.viewport.Height = 600;
    ASSERT_EQ(Render(*font, 3, 4, "Hi\nmuch longer second line", TextCenterX | TextCenterY),
              S_OK);
    const float spacing = Spacing(*font);
    const float firstLine = CellWidth(*font, 'H') + CellWidth(*font, 'i') - 4 * spacing;
    const std::vector<Vertex> v = AllVertices();
    ASSERT_FALSE(v.empty());
    EXPECT_NEAR(v[1].x, (800 - firstLine) * 0.5f - spacing - 0.5f, 1e-3);
    EXPECT_NEAR(v[1].y, (600 - CellHeight(*font, ' ')) * 0.5f - 0.5f, 1e-3);
}

TEST_F(TextFontTest, EachNewLineStartsAtTheLeftOneLineHeightDown) {
    for (DWORD maxTexture : {4096u, 1024u}) {
        FakeDevice local;
        local.caps.MaxTextureWidth = local.caps.MaxTextureHeight = maxTexture;
        TextFont font("Arial", 61, 0);  // at 1024, rasterised at half size
        ASSERT_EQ(font.CreateDeviceResources(&local), S_OK);
        ASSERT_EQ(font.RestoreDeviceResources(), S_OK);
        std::vector<Vertex> v;
        local.onDrawPrimitive = [&v](FakeDevice& d, D3DPRIMITIVETYPE, UINT, UINT count) {
            const BYTE* bytes = FakeVertexBuffer::From(d.streamSource0)->bytes.data();
            v.assign(reinterpret_cast<const Vertex*>(bytes),
                     reinterpret_cast<const Vertex*>(bytes) + count * 3);
        };
        local.BeginScene();
        ASSERT_EQ(font.RenderText(7, 9, 0xFFFFFFFF, "AA\nA", 0), S_OK);
        local.EndScene();
        ASSERT_EQ(v.size(), 18u);
        const float glyphHeight = v[0].y - v[1].y;
        EXPECT_EQ(v[13].x, v[1].x) << maxTexture;
        // The second line starts exactly where the first one's glyphs end: no overlap.
        EXPECT_FLOAT_EQ(v[13].y - v[1].y, glyphHeight) << maxTexture;
    }
}

}  // namespace
