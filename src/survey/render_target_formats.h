// The colour formats a survey measures a mode in, where the adapter multisamples them: every
// format the read-back knows, in a fixed order, and their names on the command line.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

// 8-bit first, then the wider, the narrower and the float formats.
const std::vector<D3DFORMAT>& SurveyRenderTargetFormats();

// "A2R10G10B10", "d3dfmt_a2r10g10b10": one of the formats above, in any case, with or without
// the prefix; false for any other text.
bool RenderTargetFormatFromName(const std::string& name, D3DFORMAT* format);

// "X8R8G8B8, A8R8G8B8, ...": the names the option takes.
std::string RenderTargetFormatNames();
