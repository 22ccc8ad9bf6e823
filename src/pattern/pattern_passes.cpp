// The test pattern's passes: the highlight rings, the textured points and the geometric points,
// placed by moving the projection window, each kind of draw setting the states it relies on.
#include "pattern/pattern_passes.h"

#include "pattern/edge_reference_bands.h"
#include "pattern/ortho_projection.h"
#include "pattern/pass_states.h"
#include "pattern/pattern_colours.h"
#include "pattern/pattern_contents.h"
#include "pattern/tile_layout.h"

namespace {

// A placement moves the projection window, not the geometry: world (x, y) lands (x - xc, y - yc)
// units from the middle of the back buffer.
void SetPlacement(IDirect3DDevice9* device, int centreX, int centreY, float extentX,
                  float extentY) {
    const float xc = static_cast<float>(centreX);
    const float yc = static_cast<float>(centreY);
    const D3DMATRIX projection =
        OrthoProjection(xc - extentX * 0.5f, xc + extentX * 0.5f, yc + extentY * 0.5f,
                        yc - extentY * 0.5f, 0.0f, 1.0f);
    static_cast<void>(device->SetTransform(D3DTS_PROJECTION, &projection));
}

struct Placement {
    int x;
    int y;
};

// The three kinds of draw of a pattern pass, each over a run of placements. The states each
// kind relies on are set before its first placement.
class PatternDraws {
public:
    PatternDraws(IDirect3DDevice9* device, const PatternSettings& settings, const PatternObjects& objects,
                 float extentX, float extentY)
        : device_(device),
          settings_(settings),
          objects_(objects),
          colours_(ColoursFor(settings.whiteBackground)),
          extentX_(extentX),
          extentY_(extentY),
          pointCount_(static_cast<UINT>(settings.gridSize) * static_cast<UINT>(settings.gridSize)) {}

    void BeginHighlightRings() {
        static_cast<void>(device_->SetFVF(D3DFVF_XYZ));
        static_cast<void>(
            device_->SetStreamSource(0, objects_.pointVertexBuffer, 0, sizeof(PositionVertex)));
        SelectTextureFactor(device_);
        static_cast<void>(device_->SetRenderState(D3DRS_TEXTUREFACTOR, colours_.highlightRing));
    }
    void HighlightRing(int x, int y) {
        SetPlacement(device_, x, y, extentX_, extentY_);
        static_cast<void>(
            device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, pointCount_ * kVerticesPerPoint, 8));
    }

    void BeginTexturedPoints() {
        static_cast<void>(device_->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE));
        static_cast<void>(device_->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_ONE));
        static_cast<void>(device_->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ZERO));
        static_cast<void>(device_->SetRenderState(D3DRS_TEXTUREFACTOR, colours_.texturedPoints));
        static_cast<void>(device_->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1));
        static_cast<void>(
            device_->SetStreamSource(0, objects_.quadVertexBuffer, 0, sizeof(TexturedVertex)));
        static_cast<void>(device_->SetTexture(0, objects_.pointTexture));
        // The texture repeats once per grid cell.
        static_cast<void>(device_->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP));
        static_cast<void>(device_->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP));
        static_cast<void>(device_->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE));
        static_cast<void>(device_->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE));
        static_cast<void>(device_->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_TFACTOR));
        static_cast<void>(device_->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE));
        static_cast<void>(device_->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1));
        static_cast<void>(device_->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_TFACTOR));
        // Only the opaque white square of the texture passes.
        PassOpaqueTexelsOnly(device_);
    }
    void TexturedPoints(int x, int y) {
        SetPlacement(device_, x, y, extentX_, extentY_);
        static_cast<void>(device_->DrawPrimitive(D3DPT_TRIANGLESTRIP, 0, 2));
    }
    void EndTexturedPoints() {
        EndStream();
        static_cast<void>(device_->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE));
    }

    void BeginGeometricPoints() {
        static_cast<void>(device_->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE));
        static_cast<void>(device_->SetRenderState(D3DRS_SRCBLEND, colours_.geometricSourceBlend));
        static_cast<void>(
            device_->SetRenderState(D3DRS_DESTBLEND, colours_.geometricDestinationBlend));
        static_cast<void>(device_->SetRenderState(D3DRS_TEXTUREFACTOR, colours_.geometricPoints));
        static_cast<void>(device_->SetFVF(D3DFVF_XYZ));
        static_cast<void>(
            device_->SetStreamSource(0, objects_.pointVertexBuffer, 0, sizeof(PositionVertex)));
        SelectTextureFactor(device_);
    }
    void GeometricPoints(int x, int y) {
        SetPlacement(device_, x, y, extentX_, extentY_);
        static_cast<void>(device_->DrawPrimitive(D3DPT_TRIANGLELIST, 0, 2 * pointCount_));
    }

    void EndStream() { static_cast<void>(device_->SetStreamSource(0, nullptr, 0, 0)); }

    // The mask applies to the points alone: the ring before and the bands after use all samples.
    void MaskPoints() {
        static_cast<void>(device_->SetRenderState(D3DRS_MULTISAMPLEMASK, settings_.sampleMask));
    }
    void EndPass() {
        static_cast<void>(device_->SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE));
        static_cast<void>(device_->SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF));
    }

private:
    IDirect3DDevice9* device_;
    const PatternSettings& settings_;
    const PatternObjects& objects_;
    const PatternColours& colours_;
    float extentX_;
    float extentY_;
    UINT pointCount_;
};

// The opening both pattern passes share.
void OpenPatternPass(IDirect3DDevice9* device) {
    SetPassOpeningStates(device, D3DTADDRESS_WRAP);
    const D3DMATRIX identity = IdentityMatrix();
    static_cast<void>(device->SetTransform(D3DTS_VIEW, &identity));
}

// A = fixupX * W / 2 and B = fixupY * H / 2: at the default factor 2 one unit is one pixel.
float ExtentX(const PatternSettings& settings, float width) {
    return static_cast<float>(settings.supersampleFixupX) * width * 0.5f;
}
float ExtentY(const PatternSettings& settings, float height) {
    return static_cast<float>(settings.supersampleFixupY) * height * 0.5f;
}

// Row by row, as the tiles are laid out.
template <class Draw>
void ForEachTile(const TileLayout& tiles, Draw draw) {
    for (int y = tiles.yStart; y <= tiles.yMax; y += tiles.step) {
        for (int x = tiles.xStart; x <= tiles.xMax; x += tiles.step) draw(x, y);
    }
}

}  // namespace

HRESULT DrawPatternTiles(IDirect3DDevice9* device, const PatternSettings& settings, const PatternObjects& objects,
                         float width, float height) {
    OpenPatternPass(device);
    const float extentX = ExtentX(settings, width);
    const float extentY = ExtentY(settings, height);
    PatternDraws draws(device, settings, objects, extentX, extentY);
    const int middle = settings.gridSize / 2;
    if (settings.showHighlight) {
        draws.BeginHighlightRings();
        draws.HighlightRing(middle, middle);
        draws.EndStream();
    }
    draws.MaskPoints();
    const TileLayout tiles = ComputeTileLayout(settings.gridSize, extentX, extentY);
    if (settings.drawMode == DrawModeBoth || settings.drawMode == DrawModeTexture) {
        draws.BeginTexturedPoints();
        ForEachTile(tiles, [&draws](int x, int y) { draws.TexturedPoints(x, y); });
        draws.EndTexturedPoints();
    }
    if (settings.drawMode == DrawModeBoth || settings.drawMode == DrawModeGeometry) {
        draws.BeginGeometricPoints();
        ForEachTile(tiles, [&draws](int x, int y) { draws.GeometricPoints(x, y); });
        draws.EndStream();
    }
    draws.EndPass();
    return S_OK;
}

HRESULT DrawPatternThreeSquares(IDirect3DDevice9* device, const PatternSettings& settings,
                                const PatternObjects& objects, float width, float height) {
    OpenPatternPass(device);
    PatternDraws draws(device, settings, objects, ExtentX(settings, width), ExtentY(settings, height));
    // The left square shows geometry only, the middle one both, the right one texture only.
    const int middle = settings.gridSize / 2;
    const int step = settings.gridSize + 1;
    const Placement left = {middle + step, middle};
    const Placement centre = {middle, middle};
    const Placement right = {middle - step, middle};
    if (settings.showHighlight) {
        draws.BeginHighlightRings();
        draws.HighlightRing(left.x, left.y);
        draws.HighlightRing(centre.x, centre.y);
        draws.HighlightRing(right.x, right.y);
        draws.EndStream();
    }
    draws.MaskPoints();
    draws.BeginTexturedPoints();
    draws.TexturedPoints(centre.x, centre.y);
    draws.TexturedPoints(right.x, right.y);
    draws.EndTexturedPoints();
    draws.BeginGeometricPoints();
    draws.GeometricPoints(left.x, left.y);
    draws.GeometricPoints(centre.x, centre.y);
    draws.EndStream();
    draws.EndPass();
    return S_OK;
}

HRESULT DrawPatternPicture(IDirect3DDevice9* device, const PatternSettings& settings, const PatternObjects& objects,
                           float width, float height) {
    static_cast<void>(device->Clear(0, nullptr, D3DCLEAR_TARGET, ColoursFor(settings.whiteBackground).clear, 1.0f, 0));
    if (settings.drawMode == DrawModeThreeSquare) {
        static_cast<void>(DrawPatternThreeSquares(device, settings, objects, width, height));
    } else {
        static_cast<void>(DrawPatternTiles(device, settings, objects, width, height));
    }
    return DrawEdgeBands(device, settings.whiteBackground, objects.halfTexture, width, height);
}
