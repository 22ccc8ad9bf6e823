// The system's reason for a failed file or folder operation, for the messages that report it.
#pragma once

#include <windows.h>

#include <string>

// The system's text for a result code, on one line without its final full stop; "error 0x..."
// where the system has none.
std::string SystemErrorText(HRESULT code);
