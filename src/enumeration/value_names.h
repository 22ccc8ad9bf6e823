// Texts of Direct3D 9 values, as shown in the settings dialog and the statistics line.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>

#include "enumeration/device_enumeration.h"

const char* DeviceTypeText(D3DDEVTYPE deviceType);
const char* MultisampleTypeText(D3DMULTISAMPLE_TYPE multisampleType);
const char* VertexProcessingText(VertexProcessingType vertexProcessing);
const char* PresentIntervalText(UINT presentInterval);
// withPrefix false drops the leading "D3DFMT_"; "Unknown format" is returned whole.
const char* FormatText(D3DFORMAT format, bool withPrefix);

// The value a text above names, for files that stored it ("D3DDEVTYPE_HAL", "D3DFMT_X8R8G8B8",
// prefix and all); false for a text no value here has.
bool DeviceTypeFromText(const std::string& text, D3DDEVTYPE* deviceType);
bool FormatFromText(const std::string& text, D3DFORMAT* format);
