// When the viewer keeps the frame it has drawn, and where it shows a frozen one again: the saved
// picture and the frozen window are the frame as rendered, never a read of the screen (which can
// be black, or hold another window lying over the client area).
#include <windows.h>
#include <d3d9.h>

#include "framework/safe_release.h"
#include "image/kept_frame.h"
#include "viewer/viewer_application.h"

void ViewerApplication::KeepDrawnFrame() {
    // The same frame drawn once more to be shown again: what it would keep is kept already.
    if (repeatingFrame) return;
    const bool frozen = !updateContinuously;
    // A new device has no picture kept yet: its first frozen frame becomes the one saved.
    if (frozen && frontBufferCopy == nullptr) keepNextFrame = true;
    if (!frozen && !keepNextFrame) return;  // running frames cost nothing extra
    if (device == nullptr || resolvedFrame == nullptr || FAILED(ResolveBackBuffer(device, resolvedFrame))) {
        if (frozen) SafeRelease(shownFrame);  // never repaint a picture other than the one drawn
        return;
    }
    if (frozen && FAILED(ReadBackResolved(device, resolvedFrame, &shownFrame))) SafeRelease(shownFrame);
    if (keepNextFrame && SUCCEEDED(ReadBackResolved(device, resolvedFrame, &frontBufferCopy))) {
        keepNextFrame = false;
    }
}

void ViewerApplication::PaintFrozenFrame(HWND window) {
    D3DSURFACE_DESC shown = {};
    const bool fits = shownFrame != nullptr && SUCCEEDED(shownFrame->GetDesc(&shown)) &&
                      shown.Width == backBufferDesc.Width && shown.Height == backBufferDesc.Height;
    if (!fits) {
        // Nothing drawn to show again (a device that has not drawn yet), or a picture of another
        // size than the window's back buffer: draw a frame instead.
        stepPending = true;
        return;
    }
    PAINTSTRUCT paint = {};
    HDC context = BeginPaint(window, &paint);
    if (context != nullptr) static_cast<void>(PaintKeptFrame(context, shownFrame));
    EndPaint(window, &paint);
}
