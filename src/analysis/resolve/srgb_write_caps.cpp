// The sRGB-write caps queries.
#include "analysis/resolve/srgb_write_caps.h"

#include <string>

#include "analysis/probing/probe_target.h"

std::vector<CapsAnswer> AskSrgbWriteCaps(IDirect3DDevice9* device, D3DFORMAT format) {
    static const struct {
        DWORD usage;
        D3DRESOURCETYPE resource;
        const char* query;
    } kForms[] = {
        {D3DUSAGE_QUERY_SRGBWRITE, D3DRTYPE_SURFACE, "CheckDeviceFormat(D3DUSAGE_QUERY_SRGBWRITE, D3DRTYPE_SURFACE)"},
        {D3DUSAGE_QUERY_SRGBWRITE | D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE,
         "CheckDeviceFormat(D3DUSAGE_QUERY_SRGBWRITE | D3DUSAGE_RENDERTARGET, D3DRTYPE_SURFACE)"},
        {D3DUSAGE_QUERY_SRGBWRITE, D3DRTYPE_TEXTURE, "CheckDeviceFormat(D3DUSAGE_QUERY_SRGBWRITE, D3DRTYPE_TEXTURE)"},
        {D3DUSAGE_QUERY_SRGBWRITE | D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE,
         "CheckDeviceFormat(D3DUSAGE_QUERY_SRGBWRITE | D3DUSAGE_RENDERTARGET, D3DRTYPE_TEXTURE)"},
    };
    std::vector<CapsAnswer> answers;
    for (const auto& form : kForms) {
        const HRESULT hr = CheckDeviceResourceFormat(device, form.usage, form.resource, format);
        answers.push_back({form.query, HResultName(hr), SUCCEEDED(hr)});
    }
    return answers;
}
