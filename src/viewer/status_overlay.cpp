// The status overlay of the viewer's frame: its header from the viewer's state, the lines
// composed and drawn by the pattern library, and the process-wide frame number.
#include "viewer/status_overlay.h"

#include <cstdio>

#include "viewer/viewer_application.h"

int frameCounter = 0;

int ComposeStatusOverlay(const ViewerApplication& viewer, int frameNumber,
                         OverlayText (&texts)[kMaxOverlayTexts]) {
    char frameLabel[32];
    std::snprintf(frameLabel, sizeof(frameLabel), "Frame %i: ", frameNumber);
    StatusHeader header;
    header.singleFrameNotice = !viewer.updateContinuously;
    header.frameLabel = frameLabel;
    header.statistics = viewer.frameStatistics;
    header.deviceDescription = viewer.deviceDescription;
    return ComposeStatusLines(PatternSettingsOf(viewer), header, viewer.textFont, texts);
}

HRESULT ViewerApplication::DrawStatusOverlay() {
    OverlayText texts[kMaxOverlayTexts];
    // A frame drawn once more shows the number it was shown with.
    const int count = ComposeStatusOverlay(*this, repeatingFrame ? frameCounter - 1 : frameCounter, texts);
    if (!repeatingFrame) ++frameCounter;
    DrawStatusLines(textFont, texts, count);
    return S_OK;
}
