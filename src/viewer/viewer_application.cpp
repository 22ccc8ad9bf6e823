// The viewer's application object: construction with the built-in defaults, the one-time scene
// set-up with its loading text, and the final clean-up.
#include "viewer/viewer_application.h"

#include <new>

#include "font/text_font.h"

namespace {

// The start-up picture, the same as the survey draws.
const PatternSettings kStartUpPattern;

}  // namespace

ViewerApplication::ViewerApplication()
    : loadingTextVisible(TRUE),
      textFont(nullptr),
      drawMode(kStartUpPattern.drawMode),
      gridSize(kStartUpPattern.gridSize),
      pointVertexBufferBytes(0),
      sampleMask(kStartUpPattern.sampleMask),
      pointSize(kStartUpPattern.pointSize),
      showHighlight(kStartUpPattern.showHighlight),
      whiteBackground(kStartUpPattern.whiteBackground),
      supersampleFixupY(kStartUpPattern.supersampleFixupY),
      supersampleFixupX(kStartUpPattern.supersampleFixupX),
      textureOffsetX(kStartUpPattern.textureOffsetX),
      textureOffsetY(kStartUpPattern.textureOffsetY),
      geometryOffsetX(kStartUpPattern.geometryOffsetX),
      geometryOffsetY(kStartUpPattern.geometryOffsetY),
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

PatternSettings PatternSettingsOf(const ViewerApplication& viewer) {
    PatternSettings settings;
    settings.drawMode = viewer.drawMode;
    settings.gridSize = viewer.gridSize;
    settings.sampleMask = viewer.sampleMask;
    settings.pointSize = viewer.pointSize;
    settings.showHighlight = viewer.showHighlight;
    settings.whiteBackground = viewer.whiteBackground;
    settings.supersampleFixupX = viewer.supersampleFixupX;
    settings.supersampleFixupY = viewer.supersampleFixupY;
    settings.textureOffsetX = viewer.textureOffsetX;
    settings.textureOffsetY = viewer.textureOffsetY;
    settings.geometryOffsetX = viewer.geometryOffsetX;
    settings.geometryOffsetY = viewer.geometryOffsetY;
    return settings;
}

PatternObjects PatternObjectsOf(const ViewerApplication& viewer) {
    PatternObjects objects;
    objects.pointVertexBuffer = viewer.pointVertexBuffer;
    objects.pointVertexBufferBytes = viewer.pointVertexBufferBytes;
    objects.quadVertexBuffer = viewer.quadVertexBuffer;
    objects.pointTexture = viewer.pointTexture;
    objects.halfTexture = viewer.halfTexture;
    return objects;
}
