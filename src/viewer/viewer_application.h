// The program's application object: the sample-pattern viewer's settings, its commands and menu
// check marks, the pattern resources, the render passes and the status overlay.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "framework/application_framework.h"
#include "pattern/pattern_objects.h"
#include "pattern/pattern_settings.h"

class TextFont;

// Frames drawn by the status overlay since the process started (not reset by a device reset).
extern int frameCounter;

class ViewerApplication : public ApplicationFramework {
public:
    ViewerApplication();
    ~ViewerApplication() override;
    ViewerApplication(const ViewerApplication&) = delete;
    ViewerApplication& operator=(const ViewerApplication&) = delete;

    HRESULT InitScene() override;
    HRESULT CreateDeviceResources() override;
    HRESULT RestoreDeviceResources() override;
    HRESULT UpdateFrame() override;
    HRESULT RenderFrame() override;
    HRESULT ReleaseDeviceResources() override;
    HRESULT DestroyDeviceResources() override;
    HRESULT CleanupScene() override;
    LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

    void UpdateMenuChecks();
    HRESULT RebuildPatternResources();
    HRESULT DrawTiledPattern(float width, float height);
    HRESULT DrawThreeSquarePattern(float width, float height);
    HRESULT DrawEdgeReferenceBands(float width, float height);
    HRESULT DrawStatusOverlay();
    void SaveOutputImage();
    // Called at the end of RenderFrame, before the frame is presented.
    void KeepDrawnFrame();
    // WM_PAINT in single-frame mode: the frozen frame shown again as it was drawn.
    void PaintFrozenFrame(HWND window);

    // Viewer fields, in declaration order.
    BOOL loadingTextVisible;
    TextFont* textFont;
    int drawMode;
    int gridSize;
    UINT pointVertexBufferBytes;
    DWORD sampleMask;
    float pointSize;
    BOOL showHighlight;
    BOOL whiteBackground;
    int supersampleFixupY;
    int supersampleFixupX;
    float textureOffsetX;
    float textureOffsetY;
    float geometryOffsetX;
    float geometryOffsetY;
    IDirect3DVertexBuffer9* pointVertexBuffer;
    IDirect3DVertexBuffer9* quadVertexBuffer;
    IDirect3DTexture9* pointTexture;
    IDirect3DTexture9* halfTexture;
    // The picture Ctrl+S writes: the frame drawn at the last entry into single-frame mode or the
    // last Space (while running, the frame drawn after the save dialog closed), resolved from the
    // back buffer before it was presented. System memory: it outlives device resets.
    IDirect3DSurface9* frontBufferCopy;
    // The plain render target every kept frame is resolved into (default pool: reset cycle).
    IDirect3DSurface9* resolvedFrame;
    // The frame the window shows in single-frame mode, in system memory, painted again whenever
    // the window is uncovered; commands redraw it without renewing frontBufferCopy.
    IDirect3DSurface9* shownFrame;
    // The next frame drawn is to become frontBufferCopy.
    bool keepNextFrame;
};

// The viewer's pattern fields as the pattern library takes them: its settings, and its device
// objects lent for one call.
PatternSettings PatternSettingsOf(const ViewerApplication& viewer);
PatternObjects PatternObjectsOf(const ViewerApplication& viewer);
