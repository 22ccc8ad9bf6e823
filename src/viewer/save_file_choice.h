// The save-file dialog of the viewer's two saves (the picture, the sample positions) and the
// warning either gives when the chosen file could not be written.
#pragma once

#include <windows.h>

// The dialog's file-name buffer, as long as the dialog allows.
constexpr DWORD kSaveFileNameLength = 512;

// Asks where to save: filter is one "name\0pattern\0" pair ended by a second zero, extension is
// appended to a name typed without one, and an existing file is written only when the user agrees.
// The name field starts with suggestedName. False when the user cancelled or the dialog failed.
bool ChooseSaveFile(HWND owner, const char* filter, const char* extension,
                    char (&fileName)[kSaveFileNameLength], const char* suggestedName = "");

// "<what> could not be saved as\n<path>", a warning captioned caption; where reason is a failure
// code, the system's words for it follow ("Access denied.").
void WarnNotSaved(HWND owner, const char* caption, const char* what, const char* path,
                  HRESULT reason = S_OK);
