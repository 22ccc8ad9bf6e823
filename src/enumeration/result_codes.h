// Result codes as every report states them: by name, with what usually causes them, and read
// back from those texts. The viewer's message boxes, the survey's reports and a measurement's own
// failures all say them so.
#pragma once

#include <windows.h>

#include <string>

// "D3DERR_NOTAVAILABLE", "D3D_OK"; "0x8876086A" where it has no name here. And back.
std::string ResultCodeName(HRESULT code);
HRESULT ResultCodeFromName(const std::string& name);
// "D3DERR_NOTAVAILABLE (0x8876086A)"; the code alone where it has no name here.
std::string ResultCodeText(HRESULT code);
// The code back from either form ResultCodeText gives; false where the text holds no code.
bool ResultCodeFromText(const std::string& text, HRESULT* code);
// What is known to cause a failure with this code, a few words; empty where nothing is.
std::string LikelyCauseText(HRESULT code);
// "CreateRenderTarget failed: D3DERR_OUTOFVIDEOMEMORY (0x8876017C) (likely cause: ...)".
std::string FailedCallText(const std::string& call, HRESULT code);
