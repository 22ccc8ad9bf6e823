// The frame of edge reference bands along the window edges, in pixel coordinates: the bottom and
// left bands carry long slanted triangle edges, the top and right ones edges made by alpha test.
#include "pattern/edge_reference_bands.h"

#include "pattern/ortho_projection.h"
#include "pattern/pattern_colours.h"
#include "pattern/pattern_contents.h"
#include "pattern/pass_states.h"

namespace {

// The band vertices of one frame, built on the stack from the back-buffer size.
struct BandVertices {
    PositionVertex borderBottomLeft[6];
    PositionVertex borderTopRight[6];
    PositionVertex geometricBands[12];
    TexturedVertex textureHalvesHigh[6];
    TexturedVertex textureHalvesLow[6];
};

void BuildBandVertices(float w, float h, BandVertices& v) {
    const PositionVertex s1[6] = {{w, h, 0},         {w - 2, h - 2, 0}, {0, h, 0},
                                  {2, h - 2, 0},     {0, 0, 0},         {2, 2, 0}};
    const PositionVertex s2[6] = {{0, 0, 0}, {2, 2, 0},         {w, 0, 0},
                                  {w - 2, 2, 0}, {w, h, 0}, {w - 2, h - 2, 0}};
    const PositionVertex g[12] = {
        {w - 2, h - 2, 0}, {w - 2, h - 20, 0}, {2, h - 2, 0},       // g1: bottom band
        {2, h - 2, 0},     {20, h - 2, 0},     {2, 2, 0},           // g2: left band
        {20, h - 20, 0},   {w - 2, h - 20, 0}, {2, h - 2, 0},       // g3: bottom band
        {20, 2, 0},        {20, h - 2, 0},     {2, 2, 0},           // g4: left band
    };
    // u = 0.5 runs along each band's diagonal: T1 holds the halves above it, T2 those below.
    const TexturedVertex t1[6] = {
        {2, 20, 0, 0.5f, 0.0f},      {w - 2, 20, 0, 1.0f, 0.5f},     {w - 2, 2, 0, 0.5f, 1.0f},
        {w - 20, 2, 0, 0.5f, 0.0f},  {w - 20, h - 2, 0, 1.0f, 0.5f}, {w - 2, h - 2, 0, 0.5f, 1.0f},
    };
    const TexturedVertex t2[6] = {
        {2, 20, 0, 0.5f, 0.0f},     {2, 2, 0, 0.0f, 0.5f},     {w - 2, 2, 0, 0.5f, 1.0f},
        {w - 20, 2, 0, 0.5f, 0.0f}, {w - 2, 2, 0, 0.0f, 0.5f}, {w - 2, h - 2, 0, 0.5f, 1.0f},
    };
    for (int i = 0; i < 6; ++i) {
        v.borderBottomLeft[i] = s1[i];
        v.borderTopRight[i] = s2[i];
        v.textureHalvesHigh[i] = t1[i];
        v.textureHalvesLow[i] = t2[i];
    }
    for (int i = 0; i < 12; ++i) {
        v.geometricBands[i] = g[i];
    }
}

void DrawPositions(IDirect3DDevice9* device, D3DPRIMITIVETYPE type, UINT primitives,
                   const PositionVertex* vertices) {
    static_cast<void>(device->DrawPrimitiveUP(type, primitives, vertices, sizeof(PositionVertex)));
}

void DrawTextured(IDirect3DDevice9* device, const TexturedVertex* vertices) {
    static_cast<void>(
        device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 2, vertices, sizeof(TexturedVertex)));
}

}  // namespace

HRESULT DrawEdgeBands(IDirect3DDevice9* device, BOOL whiteBackground, IDirect3DTexture9* halfTexture, float width,
                      float height) {
    const PatternColours& colours = ColoursFor(whiteBackground);
    BandVertices bands;
    BuildBandVertices(width, height, bands);

    SetPassOpeningStates(device, D3DTADDRESS_CLAMP);
    // Pixel coordinates: origin at the top-left corner, y downwards.
    const D3DMATRIX identity = IdentityMatrix();
    const D3DMATRIX projection = OrthoProjection(0.0f, width, height, 0.0f, 0.0f, 1.0f);
    static_cast<void>(device->SetTransform(D3DTS_VIEW, &identity));
    static_cast<void>(device->SetTransform(D3DTS_PROJECTION, &projection));
    static_cast<void>(device->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE));

    // Borders: the geometry colour beside the geometric-edge bands, the texture colour beside
    // the texture-edge bands.
    static_cast<void>(device->SetRenderState(D3DRS_TEXTUREFACTOR, colours.geometricEdgeBorder));
    static_cast<void>(device->SetFVF(D3DFVF_XYZ));
    SelectTextureFactor(device);
    DrawPositions(device, D3DPT_TRIANGLESTRIP, 4, bands.borderBottomLeft);
    static_cast<void>(device->SetRenderState(D3DRS_TEXTUREFACTOR, colours.textureEdgeBorder));
    DrawPositions(device, D3DPT_TRIANGLESTRIP, 4, bands.borderTopRight);

    // Blank all four bands in the band background.
    static_cast<void>(device->SetRenderState(D3DRS_TEXTUREFACTOR, colours.bandBackground));
    DrawPositions(device, D3DPT_TRIANGLELIST, 4, bands.geometricBands);
    static_cast<void>(device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1));
    DrawTextured(device, bands.textureHalvesHigh);
    DrawTextured(device, bands.textureHalvesLow);

    // Top and right bands: only the opaque half of halfTexture passes the alpha test, so the
    // slanted edge is the texture's, not a triangle's.
    static_cast<void>(device->SetTexture(0, halfTexture));
    static_cast<void>(device->SetRenderState(D3DRS_TEXTUREFACTOR, colours.bandEdge));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE));
    static_cast<void>(device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1));
    static_cast<void>(device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP));
    static_cast<void>(device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP));
    PassOpaqueTexelsOnly(device);
    DrawTextured(device, bands.textureHalvesHigh);
    DrawTextured(device, bands.textureHalvesLow);
    static_cast<void>(device->SetTexture(0, nullptr));
    static_cast<void>(device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE));

    // Bottom and left bands: g1 and g2, whose slanted edges are triangle edges.
    static_cast<void>(device->SetFVF(D3DFVF_XYZ));
    SelectTextureFactor(device);
    static_cast<void>(device->SetRenderState(D3DRS_TEXTUREFACTOR, colours.bandEdge));
    DrawPositions(device, D3DPT_TRIANGLELIST, 2, bands.geometricBands);
    return S_OK;
}
