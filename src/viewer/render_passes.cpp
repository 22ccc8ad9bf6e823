// One frame of the viewer: clear, the test pattern drawn straight into the (multisampled) back
// buffer at one unit per pixel, the edge reference bands and the status overlay. The passes
// themselves are the pattern library's, drawn with the viewer's settings and objects.
#include <windows.h>
#include <d3d9.h>

#include "pattern/edge_reference_bands.h"
#include "pattern/ortho_projection.h"
#include "pattern/pattern_colours.h"
#include "pattern/pattern_passes.h"
#include "viewer/viewer_application.h"

HRESULT ViewerApplication::UpdateFrame() {
    // Bounds the frame rate and leaves the processor to others.
    Sleep(1);
    const D3DMATRIX identity = IdentityMatrix();
    static_cast<void>(device->SetTransform(D3DTS_WORLD, &identity));
    return S_OK;
}

HRESULT ViewerApplication::RenderFrame() {
    const float width = static_cast<float>(presentParams.BackBufferWidth);
    const float height = static_cast<float>(presentParams.BackBufferHeight);
    if (FAILED(device->BeginScene())) {
        return S_OK;
    }
    static_cast<void>(device->Clear(0, nullptr, D3DCLEAR_TARGET,
                                    ColoursFor(whiteBackground).clear, 1.0f, 0));
    if (drawMode == DrawModeThreeSquare) {
        static_cast<void>(DrawThreeSquarePattern(width, height));
    } else {
        static_cast<void>(DrawTiledPattern(width, height));
    }
    static_cast<void>(DrawEdgeReferenceBands(width, height));
    static_cast<void>(DrawStatusOverlay());
    static_cast<void>(device->EndScene());
    KeepDrawnFrame();
    return S_OK;
}

HRESULT ViewerApplication::DrawTiledPattern(float width, float height) {
    return DrawPatternTiles(device, PatternSettingsOf(*this), PatternObjectsOf(*this), width, height);
}

HRESULT ViewerApplication::DrawThreeSquarePattern(float width, float height) {
    return DrawPatternThreeSquares(device, PatternSettingsOf(*this), PatternObjectsOf(*this), width, height);
}

HRESULT ViewerApplication::DrawEdgeReferenceBands(float width, float height) {
    return DrawEdgeBands(device, whiteBackground, halfTexture, width, height);
}
