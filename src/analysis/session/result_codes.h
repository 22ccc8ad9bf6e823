// Result codes by name, as every report states them: the survey's failures and a measurement's own.
#pragma once

#include <windows.h>

#include <string>

// "D3DERR_NOTAVAILABLE (0x8876086A)"; the code alone where it has no name here.
std::string ResultCodeText(HRESULT code);
// The code back from either form ResultCodeText gives; false where the text holds no code.
bool ResultCodeFromText(const std::string& text, HRESULT* code);
