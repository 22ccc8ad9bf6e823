// The program's application object: the sample-pattern viewer's settings, its commands and menu
// check marks, the pattern resources, the render passes and the status overlay.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "framework/application_framework.h"

class TextFont;

enum DrawMode : int {
    DrawModeBoth = 0,
    DrawModeGeometry = 1,
    DrawModeTexture = 2,
    DrawModeThreeSquare = 3,
};

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
    IDirect3DSurface9* frontBufferCopy;
};
