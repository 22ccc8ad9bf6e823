// The survey's render-target formats and their names.
#include "survey/render_target_formats.h"

#include <cctype>

#include "enumeration/value_names.h"

const std::vector<D3DFORMAT>& SurveyRenderTargetFormats() {
    static const std::vector<D3DFORMAT> formats = {
        D3DFMT_X8R8G8B8,     D3DFMT_A8R8G8B8,     D3DFMT_X8B8G8R8,      D3DFMT_A8B8G8R8,
        D3DFMT_A2R10G10B10,  D3DFMT_A2B10G10R10,  D3DFMT_G16R16,        D3DFMT_A16B16G16R16,
        D3DFMT_R5G6B5,       D3DFMT_X1R5G5B5,     D3DFMT_A1R5G5B5,      D3DFMT_X4R4G4B4,
        D3DFMT_A4R4G4B4,     D3DFMT_R3G3B2,       D3DFMT_A8R3G3B2,      D3DFMT_R16F,
        D3DFMT_G16R16F,      D3DFMT_A16B16G16R16F, D3DFMT_R32F,         D3DFMT_G32R32F,
        D3DFMT_A32B32G32R32F,
    };
    return formats;
}

bool RenderTargetFormatFromName(const std::string& name, D3DFORMAT* format) {
    std::string upper;
    for (char c : name) upper += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    if (upper.compare(0, 7, "D3DFMT_") == 0) upper.erase(0, 7);
    for (D3DFORMAT candidate : SurveyRenderTargetFormats()) {
        if (upper == FormatText(candidate, false)) {
            *format = candidate;
            return true;
        }
    }
    return false;
}

std::string RenderTargetFormatNames() {
    std::string names;
    for (D3DFORMAT format : SurveyRenderTargetFormats()) names += (names.empty() ? "" : ", ") + std::string(FormatText(format, false));
    return names;
}
