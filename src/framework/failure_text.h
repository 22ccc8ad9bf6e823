// How a failed call is named to the user, by the viewer's message boxes and the survey's reports
// alike: the result code by name and what usually causes it.
#pragma once

#include <windows.h>

#include <string>

// "D3DERR_NOTAVAILABLE (0x8876086A)"; the code alone where it has no name here.
std::string ResultCodeText(HRESULT code);
// What is known to cause a failure with this code, a few words; empty where nothing is.
std::string LikelyCauseText(HRESULT code);
// "CreateRenderTarget failed: D3DERR_OUTOFVIDEOMEMORY (0x8876017C) (likely cause: ...)".
std::string FailedCallText(const std::string& call, HRESULT code);
