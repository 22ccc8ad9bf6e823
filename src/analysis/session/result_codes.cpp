// The names of the result codes device creation, drawing and reading back give in practice.
#include "analysis/session/result_codes.h"

#include <d3d9.h>

#include <cstdio>
#include <cstdlib>

namespace {

struct ResultName {
    HRESULT code;
    const char* name;
};

const ResultName kResultNames[] = {
    {D3DERR_NOTAVAILABLE, "D3DERR_NOTAVAILABLE"},
    {D3DERR_INVALIDCALL, "D3DERR_INVALIDCALL"},
    {D3DERR_OUTOFVIDEOMEMORY, "D3DERR_OUTOFVIDEOMEMORY"},
    {D3DERR_DEVICELOST, "D3DERR_DEVICELOST"},
    {D3DERR_DEVICENOTRESET, "D3DERR_DEVICENOTRESET"},
    {D3DERR_DRIVERINTERNALERROR, "D3DERR_DRIVERINTERNALERROR"},
    {D3DERR_NOTFOUND, "D3DERR_NOTFOUND"},
    {D3DERR_WASSTILLDRAWING, "D3DERR_WASSTILLDRAWING"},
    {D3DERR_DEVICEREMOVED, "D3DERR_DEVICEREMOVED"},
    {D3DERR_DEVICEHUNG, "D3DERR_DEVICEHUNG"},
    {D3DERR_UNSUPPORTEDCOLOROPERATION, "D3DERR_UNSUPPORTEDCOLOROPERATION"},
    {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
    {E_ACCESSDENIED, "E_ACCESSDENIED"},
    {E_INVALIDARG, "E_INVALIDARG"},
    {E_NOTIMPL, "E_NOTIMPL"},
    {E_FAIL, "E_FAIL"},
};

}  // namespace

std::string ResultCodeText(HRESULT code) {
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08lX", static_cast<unsigned long>(code));
    for (const ResultName& entry : kResultNames) {
        if (entry.code == code) return std::string(entry.name) + " (" + hex + ")";
    }
    return hex;
}

bool ResultCodeFromText(const std::string& text, HRESULT* code) {
    const size_t hex = text.find("0x");
    if (hex == std::string::npos) return false;
    *code = static_cast<HRESULT>(std::strtoul(text.c_str() + hex, nullptr, 16));
    return true;
}
