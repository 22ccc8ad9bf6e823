// The save-file dialog and the could-not-save warning shared by the viewer's saves.
#include "viewer/save_file_choice.h"

#include <commdlg.h>

#include <string>

#include "image/system_error_text.h"
#include "platform/platform.h"

namespace {

using GetSaveFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEA);

// comdlg32 and the shell libraries it pulls in are loaded at the first save, not at start-up,
// where they only lengthen the time to the first frame. The library stays loaded.
GetSaveFileNameFunction SaveDialogFunction() {
    static const GetSaveFileNameFunction function = [] {
        HMODULE library = LoadLibraryA("comdlg32.dll");
        return library ? reinterpret_cast<GetSaveFileNameFunction>(
                             reinterpret_cast<void*>(GetProcAddress(library, "GetSaveFileNameA")))
                       : nullptr;
    }();
    return function;
}

}  // namespace

bool ChooseSaveFile(HWND owner, const char* filter, const char* extension,
                    char (&fileName)[kSaveFileNameLength], const char* suggestedName) {
    lstrcpynA(fileName, suggestedName != nullptr ? suggestedName : "", kSaveFileNameLength);
    const GetSaveFileNameFunction getSaveFileName = SaveDialogFunction();
    if (getSaveFileName == nullptr) return false;
    OPENFILENAMEA dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = owner;
    dialog.lpstrFilter = filter;
    dialog.nFilterIndex = 0;
    dialog.lpstrFile = fileName;
    dialog.nMaxFile = kSaveFileNameLength;
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_EXPLORER | OFN_ENABLESIZING;
    dialog.lpstrDefExt = extension;
    return getSaveFileName(&dialog) != FALSE;
}

void WarnNotSaved(HWND owner, const char* caption, const char* what, const char* path,
                  HRESULT reason) {
    std::string text = std::string(what) + " could not be saved as\n" + path;
    if (FAILED(reason)) text += "\n\n" + SystemErrorText(reason) + ".";
    static_cast<void>(platform::ShowMessageBox(owner, text.c_str(), caption, MB_ICONWARNING | MB_OK));
}
