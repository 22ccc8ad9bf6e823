// Writing a file so that it replaces its target only once it is complete: the contents go to a
// temporary file beside the target, which is renamed over it at the end. The picture and the
// measurement files are saved this way.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

// Writes the contents into the open temporary file; a failure code stops the write.
using FileContentsWriter = HRESULT (*)(HANDLE file, void* context);

// path is an ANSI file name. On failure any existing target is left as it was, no temporary
// file remains, and the result is a failure code (the system's error where there is one). A
// folder or a read-only file is never replaced.
HRESULT WriteFileReplacing(const char* path, FileContentsWriter writeContents, void* context);
HRESULT WriteFileReplacing(const char* path, const std::string& contents);

// Writes all of data to file, in pieces WriteFile can take.
HRESULT WriteAllToFile(HANDLE file, const void* data, size_t length);
