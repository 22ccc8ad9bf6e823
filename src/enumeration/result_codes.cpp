// Names and likely causes of the result codes that device creation, resets and drawing give back.
#include "enumeration/result_codes.h"

#include <d3d9.h>

#include <cstdio>
#include <cstdlib>

#include "enumeration/value_table.h"

namespace {

// The codes device creation and drawing give back in practice.
const ValueText<HRESULT> kResultNames[] = {
    {D3D_OK, "D3D_OK"},
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

// What each code usually means when a device, its back buffer or a render target is made; a
// guess, said as one. An implementation that offers a sample count its Vulkan device lacks
// answers out of video memory when a target of it is made.
const ValueText<HRESULT> kLikelyCauses[] = {
    {D3DERR_NOTAVAILABLE, "the implementation does not offer this mode or format for a windowed device"},
    {D3DERR_INVALIDCALL, "the implementation refused the present parameters or the window (under Wine, a "
                         "Vulkan-based d3d9 cannot present to a child window)"},
    {D3DERR_OUTOFVIDEOMEMORY, "not enough video memory for the back buffer and the render targets, or a "
                              "multisample mode the implementation offers but cannot make"},
    {E_OUTOFMEMORY, "not enough memory for the back buffer and the render targets"},
    {D3DERR_DEVICELOST, "another program took the display (fullscreen), or the session was locked"},
    {D3DERR_DEVICEREMOVED, "the display driver was stopped or the adapter removed"},
    {D3DERR_DEVICEHUNG, "the display driver stopped answering and was reset"},
    {D3DERR_DRIVERINTERNALERROR, "the driver failed inside"},
    {E_FAIL, "the implementation gave no reason"},
};

}  // namespace

std::string ResultCodeName(HRESULT code) {
    if (const char* name = TextOf(kResultNames, code, nullptr)) return name;
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08lX", static_cast<unsigned long>(code));
    return hex;
}

HRESULT ResultCodeFromName(const std::string& name) {
    HRESULT code = S_OK;
    if (ValueOf(kResultNames, name, &code)) return code;
    return static_cast<HRESULT>(std::strtoul(name.c_str(), nullptr, 16));
}

std::string ResultCodeText(HRESULT code) {
    char hex[16];
    std::snprintf(hex, sizeof(hex), "0x%08lX", static_cast<unsigned long>(code));
    if (const char* name = TextOf(kResultNames, code, nullptr)) return std::string(name) + " (" + hex + ")";
    return hex;
}

bool ResultCodeFromText(const std::string& text, HRESULT* code) {
    const size_t hex = text.find("0x");
    if (hex == std::string::npos) return false;
    *code = static_cast<HRESULT>(std::strtoul(text.c_str() + hex, nullptr, 16));
    return true;
}

std::string LikelyCauseText(HRESULT code) {
    return TextOf(kLikelyCauses, code, "");
}

std::string FailedCallText(const std::string& call, HRESULT code) {
    std::string text = call + " failed: " + ResultCodeText(code);
    const std::string cause = LikelyCauseText(code);
    return cause.empty() ? text : text + " (likely cause: " + cause + ")";
}
