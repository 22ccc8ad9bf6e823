// Saving the window's picture: the client area, as the screen shows it, to a PNG file the user
// picks. Windowed only; in single-frame mode the copy taken at the last freeze or Space is saved.
#include <windows.h>
#include <commdlg.h>

#include <cstdio>

#include "platform/platform.h"
#include "viewer/front_buffer_copy.h"
#include "viewer/png_writer.h"
#include "viewer/viewer_application.h"

namespace {

// The dialog's file-name buffer, as long as the dialog allows.
constexpr DWORD kFileNameLength = 512;

}  // namespace

void ViewerApplication::SaveOutputImage() {
    if (!windowed) return;

    char fileName[kFileNameLength] = {};
    static const char filter[] = "PNG Files (*.png)\0*.png\0";
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = mainWindow;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = kFileNameLength;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING;
    dialog.lpstrDefExt = "png";
    // Paused like the framework's own dialog: the time the dialog is up is not frame time, and
    // the window keeps repainting its scene beneath it.
    Pause(true);
    const BOOL chosen = GetSaveFileNameA(&dialog);
    Pause(false);
    if (!chosen) return;

    // The client area in desktop coordinates: the window rectangle less its frame and menu.
    RECT frame = clientRect;
    static_cast<void>(AdjustWindowRect(&frame, windowedStyle, TRUE));
    RECT source;
    source.left = windowedBounds.left - frame.left;
    source.top = windowedBounds.top - frame.top;
    source.right = source.left + clientRect.right;
    source.bottom = source.top + clientRect.bottom;

    if (updateContinuously) {
        // Frames drawn after the dialog closed replace it on the screen before the copy.
        for (int i = 0; i < 6; ++i) static_cast<void>(StepFrame());
        static_cast<void>(CopyFrontBuffer(device, frontBufferCopy, mainWindow, FrontBufferSourceAutomatic));
    }

    // The user asked for a file: one that could not be written is worth a word.
    const HRESULT result = frontBufferCopy ? SaveSurfaceRectToPng(frontBufferCopy, source, fileName) : E_FAIL;
    if (FAILED(result)) {
        char text[kFileNameLength + 64];
        std::snprintf(text, sizeof(text), "The picture could not be saved as\n%s", fileName);
        static_cast<void>(platform::ShowMessageBox(mainWindow, text, windowTitle, MB_ICONWARNING | MB_OK));
    }
}
