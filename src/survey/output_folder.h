// The survey's output folder: made (with its parents) and tried for writing before any mode is
// measured, so that a folder that cannot hold the report fails at once and leaves nothing behind.
#pragma once

#include <windows.h>

#include <string>

#include "image/system_error_text.h"

struct OutputFolder {
    std::string path;  // as given, without a trailing separator
};

// Creates the folder if needed and checks that a file can be created in it. On failure, error
// holds one line saying what went wrong, folders this call created are removed again, and the
// result is a failure code.
HRESULT PrepareOutputFolder(const std::string& path, OutputFolder* folder, std::string* error);

// path joined with a file name.
std::string OutputPath(const OutputFolder& folder, const std::string& name);
