// Temporary bodies of the operations still being written, so that the program links.
#include "viewer/viewer_application.h"

int frameCounter = 0;

HRESULT ViewerApplication::CreateDeviceResources() { return S_OK; }
HRESULT ViewerApplication::RestoreDeviceResources() { return S_OK; }
HRESULT ViewerApplication::UpdateFrame() { return S_OK; }
HRESULT ViewerApplication::RenderFrame() { return S_OK; }
HRESULT ViewerApplication::ReleaseDeviceResources() { return S_OK; }
HRESULT ViewerApplication::DestroyDeviceResources() { return S_OK; }
LRESULT ViewerApplication::HandleWindowMessage(HWND window, UINT message, WPARAM wParam,
                                               LPARAM lParam) {
    return ApplicationFramework::HandleWindowMessage(window, message, wParam, lParam);
}
void ViewerApplication::UpdateMenuChecks() {}
HRESULT ViewerApplication::RebuildPatternResources() { return S_OK; }
HRESULT ViewerApplication::DrawTiledPattern(float, float) { return S_OK; }
HRESULT ViewerApplication::DrawThreeSquarePattern(float, float) { return S_OK; }
HRESULT ViewerApplication::DrawEdgeReferenceBands(float, float) { return S_OK; }
HRESULT ViewerApplication::DrawStatusOverlay() { return S_OK; }
