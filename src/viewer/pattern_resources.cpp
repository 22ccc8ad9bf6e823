// The viewer's device objects: the managed pattern objects that survive resets, refilled on every
// settings change (by the pattern library, into the viewer's fields), the baseline device state,
// and the surfaces the drawn frame is kept in.
#include <windows.h>
#include <d3d9.h>

#include "font/text_font.h"
#include "framework/safe_release.h"
#include "image/kept_frame.h"
#include "pattern/pattern_objects.h"
#include "viewer/viewer_application.h"

HRESULT ViewerApplication::RebuildPatternResources() {
    if (device == nullptr) {
        return E_FAIL;
    }
    const PatternSettings pattern = PatternSettingsOf(*this);
    if (FAILED(FillPointGrid(device, pattern, &pointVertexBuffer, &pointVertexBufferBytes)) ||
        FAILED(FillTexturedQuad(device, pattern, &quadVertexBuffer)) ||
        FAILED(FillPointTexture(device, pattern, &pointTexture)) || FAILED(FillHalfTexture(device, &halfTexture))) {
        return E_FAIL;
    }
    return S_OK;
}

HRESULT ViewerApplication::CreateDeviceResources() {
    if (textFont != nullptr) {
        // Without its glyphs the overlay is lost, but the pattern is what matters.
        static_cast<void>(textFont->CreateDeviceResources(device));
    }
    if (FAILED(RebuildPatternResources())) {
        return E_FAIL;
    }
    UpdateMenuChecks();
    return S_OK;
}

HRESULT ViewerApplication::RestoreDeviceResources() {
    SetBaselineStates(device);

    if (textFont != nullptr) {
        static_cast<void>(textFont->RestoreDeviceResources());
    }

    // A target that cannot be made only costs the kept pictures; their users expect null.
    SafeRelease(resolvedFrame);
    static_cast<void>(CreateResolveTarget(device, backBufferDesc, &resolvedFrame));
    return S_OK;
}

HRESULT ViewerApplication::ReleaseDeviceResources() {
    if (textFont != nullptr) {
        static_cast<void>(textFont->ReleaseDeviceResources());
    }
    // The kept frames are in system memory and stay; only the render target must go.
    SafeRelease(resolvedFrame);
    return S_OK;
}

HRESULT ViewerApplication::DestroyDeviceResources() {
    if (textFont != nullptr) {
        static_cast<void>(textFont->DestroyDeviceResources());
    }
    SafeRelease(pointVertexBuffer);
    SafeRelease(quadVertexBuffer);
    SafeRelease(pointTexture);
    SafeRelease(halfTexture);
    SafeRelease(frontBufferCopy);
    SafeRelease(shownFrame);
    keepNextFrame = false;
    return S_OK;
}
