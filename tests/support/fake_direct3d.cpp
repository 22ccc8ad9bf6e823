// The scriptable IDirect3D9 of the unit tests: table lookups, default hooks and the call log.
#include "support/fake_direct3d.h"

#include <cstring>

namespace fakes {

namespace {

// The format a back buffer may have beside the adapter format itself.
D3DFORMAT AlphaVariantOf(D3DFORMAT format) {
    switch (format) {
    case D3DFMT_X8R8G8B8: return D3DFMT_A8R8G8B8;
    case D3DFMT_X1R5G5B5: return D3DFMT_A1R5G5B5;
    case D3DFMT_X4R4G4B4: return D3DFMT_A4R4G4B4;
    default: return format;
    }
}

void CopyText(char* destination, size_t size, const char* text) {
    std::strncpy(destination, text, size - 1);
    destination[size - 1] = '\0';
}

}  // namespace

FakeDirect3D::FakeDirect3D() {
    onCheckDeviceType = [this](UINT adapter, D3DDEVTYPE, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                               BOOL windowed) -> HRESULT {
        if (adapter >= adapters.size()) return D3DERR_INVALIDCALL;
        if (backBufferFormat != adapterFormat && backBufferFormat != AlphaVariantOf(adapterFormat)) {
            return D3DERR_NOTAVAILABLE;
        }
        if (windowed && adapterFormat != adapters[adapter].desktopMode.Format) return D3DERR_NOTAVAILABLE;
        return D3D_OK;
    };
    onCheckDeviceFormat = [this](UINT adapter, D3DDEVTYPE, D3DFORMAT, DWORD usage, D3DRESOURCETYPE,
                                 D3DFORMAT checkFormat) -> HRESULT {
        if (adapter >= adapters.size()) return D3DERR_INVALIDCALL;
        if (usage & D3DUSAGE_DEPTHSTENCIL) {
            const bool supported =
                checkFormat == D3DFMT_D16 || checkFormat == D3DFMT_D24X8 || checkFormat == D3DFMT_D24S8;
            return supported ? D3D_OK : D3DERR_NOTAVAILABLE;
        }
        if (usage & D3DUSAGE_RENDERTARGET) {
            for (D3DFORMAT format : renderTargetFormats) {
                if (format == checkFormat) return D3D_OK;
            }
            return D3DERR_NOTAVAILABLE;
        }
        return D3D_OK;
    };
    onCheckDepthStencilMatch = [this](UINT adapter, D3DDEVTYPE, D3DFORMAT, D3DFORMAT, D3DFORMAT) -> HRESULT {
        return adapter < adapters.size() ? D3D_OK : D3DERR_INVALIDCALL;
    };
    onCheckDeviceMultiSampleType = [this](UINT adapter, D3DDEVTYPE, D3DFORMAT, BOOL, D3DMULTISAMPLE_TYPE type,
                                          DWORD* qualityLevels) -> HRESULT {
        if (adapter >= adapters.size()) return D3DERR_INVALIDCALL;
        if (type != D3DMULTISAMPLE_NONE && type != D3DMULTISAMPLE_4_SAMPLES) {
            if (qualityLevels) *qualityLevels = 0;
            return D3DERR_NOTAVAILABLE;
        }
        if (qualityLevels) *qualityLevels = 1;
        return D3D_OK;
    };
    onEnumAdapterModes = [this](UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* out) -> HRESULT {
        if (adapter >= adapters.size() || out == nullptr) return D3DERR_INVALIDCALL;
        const auto found = adapters[adapter].modes.find(format);
        if (found == adapters[adapter].modes.end() || mode >= found->second.size()) return D3DERR_INVALIDCALL;
        *out = found->second[mode];
        return D3D_OK;
    };
    onCreateDevice = [](UINT, D3DDEVTYPE, HWND, DWORD, D3DPRESENT_PARAMETERS*, IDirect3DDevice9** out) -> HRESULT {
        if (out) *out = nullptr;
        return D3DERR_NOTAVAILABLE;
    };
}

FakeDirect3D::~FakeDirect3D() {
    if (destroyed) *destroyed = true;
}

std::vector<std::string> FakeDirect3D::CallsStartingWith(const std::string& prefix) const {
    std::vector<std::string> matching;
    for (const std::string& call : calls) {
        if (call.compare(0, prefix.size(), prefix) == 0) matching.push_back(call);
    }
    return matching;
}

void FakeDirect3D::Log(const char* method, std::initializer_list<unsigned long long> arguments) {
    std::string entry = method;
    for (unsigned long long argument : arguments) entry += " " + std::to_string(argument);
    calls.push_back(entry);
}

HRESULT FakeDirect3D::QueryInterface(REFIID riid, void** object) {
    if (object == nullptr) return E_POINTER;
    if (IsEqualGUID(riid, __uuidof(IUnknown)) || IsEqualGUID(riid, __uuidof(IDirect3D9))) {
        *object = static_cast<IDirect3D9*>(this);
        AddRef();
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDirect3D::AddRef() { return ++references; }

ULONG FakeDirect3D::Release() {
    const ULONG remaining = --references;
    if (remaining == 0) delete this;
    return remaining;
}

HRESULT FakeDirect3D::RegisterSoftwareDevice(void*) {
    Log("RegisterSoftwareDevice", {});
    return D3DERR_NOTAVAILABLE;
}

UINT FakeDirect3D::GetAdapterCount() {
    Log("GetAdapterCount", {});
    return static_cast<UINT>(adapters.size());
}

HRESULT FakeDirect3D::GetAdapterIdentifier(UINT adapter, DWORD flags, D3DADAPTER_IDENTIFIER9* identifier) {
    Log("GetAdapterIdentifier", {adapter, flags});
    if (adapter >= adapters.size() || identifier == nullptr) return D3DERR_INVALIDCALL;
    *identifier = adapters[adapter].identifier;
    return D3D_OK;
}

UINT FakeDirect3D::GetAdapterModeCount(UINT adapter, D3DFORMAT format) {
    Log("GetAdapterModeCount", {adapter, static_cast<unsigned long long>(format)});
    if (adapter >= adapters.size()) return 0;
    const auto found = adapters[adapter].modes.find(format);
    return found == adapters[adapter].modes.end() ? 0 : static_cast<UINT>(found->second.size());
}

HRESULT FakeDirect3D::EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode, D3DDISPLAYMODE* displayMode) {
    Log("EnumAdapterModes", {adapter, static_cast<unsigned long long>(format), mode});
    return onEnumAdapterModes(adapter, format, mode, displayMode);
}

HRESULT FakeDirect3D::GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* displayMode) {
    Log("GetAdapterDisplayMode", {adapter});
    if (adapter >= adapters.size() || displayMode == nullptr) return D3DERR_INVALIDCALL;
    if (FAILED(adapters[adapter].desktopModeResult)) return adapters[adapter].desktopModeResult;
    *displayMode = adapters[adapter].desktopMode;
    return D3D_OK;
}

HRESULT FakeDirect3D::CheckDeviceType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT displayFormat,
                                      D3DFORMAT backBufferFormat, WINBOOL windowed) {
    Log("CheckDeviceType", {adapter, static_cast<unsigned long long>(deviceType),
                            static_cast<unsigned long long>(displayFormat),
                            static_cast<unsigned long long>(backBufferFormat), static_cast<unsigned long long>(windowed)});
    return onCheckDeviceType(adapter, deviceType, displayFormat, backBufferFormat, windowed);
}

HRESULT FakeDirect3D::CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat, DWORD usage,
                                        D3DRESOURCETYPE resourceType, D3DFORMAT checkFormat) {
    Log("CheckDeviceFormat", {adapter, static_cast<unsigned long long>(deviceType),
                              static_cast<unsigned long long>(adapterFormat), usage,
                              static_cast<unsigned long long>(resourceType),
                              static_cast<unsigned long long>(checkFormat)});
    return onCheckDeviceFormat(adapter, deviceType, adapterFormat, usage, resourceType, checkFormat);
}

HRESULT FakeDirect3D::CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT surfaceFormat,
                                                 WINBOOL windowed, D3DMULTISAMPLE_TYPE multiSampleType,
                                                 DWORD* qualityLevels) {
    Log("CheckDeviceMultiSampleType", {adapter, static_cast<unsigned long long>(deviceType),
                                       static_cast<unsigned long long>(surfaceFormat),
                                       static_cast<unsigned long long>(windowed),
                                       static_cast<unsigned long long>(multiSampleType)});
    return onCheckDeviceMultiSampleType(adapter, deviceType, surfaceFormat, windowed, multiSampleType, qualityLevels);
}

HRESULT FakeDirect3D::CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                             D3DFORMAT renderTargetFormat, D3DFORMAT depthStencilFormat) {
    Log("CheckDepthStencilMatch", {adapter, static_cast<unsigned long long>(deviceType),
                                   static_cast<unsigned long long>(adapterFormat),
                                   static_cast<unsigned long long>(renderTargetFormat),
                                   static_cast<unsigned long long>(depthStencilFormat)});
    return onCheckDepthStencilMatch(adapter, deviceType, adapterFormat, renderTargetFormat, depthStencilFormat);
}

HRESULT FakeDirect3D::CheckDeviceFormatConversion(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT sourceFormat,
                                                  D3DFORMAT targetFormat) {
    Log("CheckDeviceFormatConversion", {adapter, static_cast<unsigned long long>(deviceType),
                                        static_cast<unsigned long long>(sourceFormat),
                                        static_cast<unsigned long long>(targetFormat)});
    return adapter < adapters.size() ? D3D_OK : D3DERR_INVALIDCALL;
}

HRESULT FakeDirect3D::GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType, D3DCAPS9* caps) {
    Log("GetDeviceCaps", {adapter, static_cast<unsigned long long>(deviceType)});
    if (adapter >= adapters.size() || caps == nullptr) return D3DERR_INVALIDCALL;
    const auto found = adapters[adapter].caps.find(deviceType);
    if (found == adapters[adapter].caps.end()) return D3DERR_NOTAVAILABLE;
    *caps = found->second;
    return D3D_OK;
}

HMONITOR FakeDirect3D::GetAdapterMonitor(UINT adapter) {
    Log("GetAdapterMonitor", {adapter});
    return adapter < adapters.size() ? adapters[adapter].monitor : nullptr;
}

HRESULT FakeDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags,
                                   D3DPRESENT_PARAMETERS* presentParameters, IDirect3DDevice9** device) {
    Log("CreateDevice", {adapter, static_cast<unsigned long long>(deviceType), behaviorFlags});
    return onCreateDevice(adapter, deviceType, focusWindow, behaviorFlags, presentParameters, device);
}

D3DDISPLAYMODE Mode(UINT width, UINT height, UINT refreshRate, D3DFORMAT format) {
    return {width, height, refreshRate, format};
}

D3DCAPS9 MakeCaps(UINT adapter, D3DDEVTYPE deviceType, DWORD devCaps, DWORD presentationIntervals) {
    D3DCAPS9 caps = {};
    caps.DeviceType = deviceType;
    caps.AdapterOrdinal = adapter;
    caps.DevCaps = devCaps;
    caps.PresentationIntervals = presentationIntervals;
    caps.MaxTextureWidth = 4096;
    caps.MaxTextureHeight = 4096;
    caps.MaxPointSize = 64.0f;
    caps.MaxPrimitiveCount = 0xFFFFF;
    caps.MaxVertexIndex = 0xFFFFF;
    caps.MaxStreams = 16;
    caps.NumSimultaneousRTs = 1;
    return caps;
}

FakeAdapter MakeTypicalAdapter(UINT ordinal) {
    FakeAdapter adapter;
    CopyText(adapter.identifier.Driver, sizeof(adapter.identifier.Driver), "fake_d3d9.dll");
    CopyText(adapter.identifier.Description, sizeof(adapter.identifier.Description), "Fake Adapter");
    CopyText(adapter.identifier.DeviceName, sizeof(adapter.identifier.DeviceName), "\\\\.\\DISPLAY1");
    adapter.identifier.VendorId = 0x1AF4;
    adapter.modes[D3DFMT_X8R8G8B8] = {
        Mode(640, 480, 60, D3DFMT_X8R8G8B8), Mode(800, 600, 60, D3DFMT_X8R8G8B8),
        Mode(1024, 768, 60, D3DFMT_X8R8G8B8), Mode(1024, 768, 75, D3DFMT_X8R8G8B8),
    };
    adapter.modes[D3DFMT_R5G6B5] = {Mode(640, 480, 60, D3DFMT_R5G6B5), Mode(800, 600, 60, D3DFMT_R5G6B5)};
    adapter.caps[D3DDEVTYPE_HAL] =
        MakeCaps(ordinal, D3DDEVTYPE_HAL, D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_PUREDEVICE,
                 D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE);
    adapter.caps[D3DDEVTYPE_REF] =
        MakeCaps(ordinal, D3DDEVTYPE_REF, D3DDEVCAPS_HWTRANSFORMANDLIGHT,
                 D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE | D3DPRESENT_INTERVAL_TWO |
                     D3DPRESENT_INTERVAL_THREE | D3DPRESENT_INTERVAL_FOUR);
    return adapter;
}

FakeDirect3D* MakeTypicalDirect3D() {
    FakeDirect3D* direct3d = new FakeDirect3D();
    direct3d->adapters.push_back(MakeTypicalAdapter(0));
    return direct3d;
}

}  // namespace fakes
