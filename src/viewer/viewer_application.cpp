// The viewer's application object: construction with the built-in defaults, the one-time scene
// set-up with its loading text, and the final clean-up.
#include "viewer/viewer_application.h"

#include <new>

#include "font/text_font.h"

ViewerApplication::ViewerApplication()
    : loadingTextVisible(TRUE),
      textFont(nullptr),
      drawMode(DrawModeThreeSquare),
      gridSize(64),
      pointVertexBufferBytes(0),
      sampleMask(0xFFFFFFFF),
      pointSize(0.125f),
      showHighlight(TRUE),
      whiteBackground(TRUE),
      supersampleFixupY(2),
      supersampleFixupX(2),
      textureOffsetX(0.0f),
      textureOffsetY(0.0f),
      geometryOffsetX(0.0f),
      geometryOffsetY(0.0f),
      pointVertexBuffer(nullptr),
      quadVertexBuffer(nullptr),
      pointTexture(nullptr),
      halfTexture(nullptr),
      frontBufferCopy(nullptr),
      resolvedFrame(nullptr),
      shownFrame(nullptr),
      keepNextFrame(false) {
    windowTitle = "DX9 Quillant 5.2";
    initialClientWidth = 512;
    initialClientHeight = 384;
    // Without the font the viewer still runs; the overlay is then simply missing.
    textFont = new (std::nothrow) TextFont("Arial", 8, 0);
}

ViewerApplication::~ViewerApplication() {
    // A start-up that failed before the window closed never ran CleanupScene.
    delete textFont;
    textFont = nullptr;
}

HRESULT ViewerApplication::InitScene() {
    // Paint the loading text now: the device is created next and that takes a while.
    SendMessageA(mainWindow, WM_PAINT, 0, 0);
    loadingTextVisible = FALSE;
    return S_OK;
}

HRESULT ViewerApplication::CleanupScene() {
    delete textFont;
    textFont = nullptr;
    return S_OK;
}
