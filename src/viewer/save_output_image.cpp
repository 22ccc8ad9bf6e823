// Saving the window's picture: the frame as drawn, which is the client area, to a PNG file the
// user picks. Windowed only; in single-frame mode the frame kept at the last freeze or Space is
// saved, while running the frame drawn right after the dialog closed.
#include <windows.h>

#include "image/png_writer.h"
#include "viewer/save_file_choice.h"
#include "viewer/viewer_application.h"

namespace {

// Frame steps allowed for drawing the picture to save; one is enough unless no time has passed.
constexpr int kFramesToTry = 6;

}  // namespace

void ViewerApplication::SaveOutputImage() {
    if (!windowed) return;

    char fileName[kSaveFileNameLength];
    // Paused like the framework's own dialog: the time the dialog is up is not frame time, and
    // the window keeps repainting its scene beneath it.
    Pause(true);
    const bool chosen = ChooseSaveFile(mainWindow, "PNG Files (*.png)\0*.png\0", "png", fileName);
    Pause(false);
    if (!chosen) return;

    // A keep still pending (no frame could be drawn, the device being lost) leaves nothing worth
    // saving: never an older picture in its place.
    bool kept = !keepNextFrame;
    // A frozen picture kept before the window changed size is not a picture of this window: the
    // frame drawn now is saved instead, and stays the frozen one.
    D3DSURFACE_DESC keptDesc = {};
    const bool keptOlderSize = frontBufferCopy != nullptr && SUCCEEDED(frontBufferCopy->GetDesc(&keptDesc)) &&
                               (keptDesc.Width != backBufferDesc.Width || keptDesc.Height != backBufferDesc.Height);
    // A frozen device that has not drawn its first frame yet (a new one, from the settings
    // dialog, whose frame is still to come when Ctrl+S is read) has its picture drawn now.
    const bool firstFrameToCome = !updateContinuously && kept && frontBufferCopy == nullptr;
    if (updateContinuously || (kept && keptOlderSize) || firstFrameToCome) {
        // Running: the frame drawn now that the dialog has gone is the one saved.
        if (!updateContinuously) stepPending = true;
        keepNextFrame = true;
        for (int i = 0; i < kFramesToTry && keepNextFrame; ++i) static_cast<void>(StepFrame());
        kept = !keepNextFrame;
        keepNextFrame = false;
    }

    // A window without client pixels shows no picture: a kept one is of an older size.
    if (clientAreaEmpty) kept = false;

    // The user asked for a file: one that could not be written is worth a word.
    // Without a kept picture no file was written, and there is no system reason to give.
    HRESULT result = E_FAIL;
    bool written = false;
    D3DSURFACE_DESC desc = {};
    if (kept && frontBufferCopy != nullptr && SUCCEEDED(frontBufferCopy->GetDesc(&desc))) {
        // The whole frame: in a window, the back buffer is the client area.
        const RECT whole = {0, 0, static_cast<LONG>(desc.Width), static_cast<LONG>(desc.Height)};
        result = SaveSurfaceRectToPng(frontBufferCopy, whole, fileName);
        written = true;
    }
    if (FAILED(result)) WarnNotSaved(mainWindow, windowTitle, "The picture", fileName, written ? result : S_OK);
}
