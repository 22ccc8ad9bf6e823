// A scriptable IDirect3D9 for unit tests: adapters, modes and caps are public data, the capability
// checks and CreateDevice are replaceable hooks, and every call is logged so tests can check order.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace fakes {

struct FakeAdapter {
    D3DADAPTER_IDENTIFIER9 identifier = {};
    // What GetAdapterDisplayMode reports, and its result.
    D3DDISPLAYMODE desktopMode = {1024, 768, 60, D3DFMT_X8R8G8B8};
    HRESULT desktopModeResult = D3D_OK;
    // What GetAdapterModeCount/EnumAdapterModes list for the format asked; absent formats have none.
    std::map<D3DFORMAT, std::vector<D3DDISPLAYMODE>> modes;
    // GetDeviceCaps fails with D3DERR_NOTAVAILABLE for a device type that has no entry.
    std::map<D3DDEVTYPE, D3DCAPS9> caps;
    HMONITOR monitor = nullptr;
};

class FakeDirect3D final : public IDirect3D9 {
public:
    using CheckDeviceTypeHook = std::function<HRESULT(UINT adapter, D3DDEVTYPE, D3DFORMAT adapterFormat,
                                                      D3DFORMAT backBufferFormat, BOOL windowed)>;
    using CheckDeviceFormatHook = std::function<HRESULT(UINT adapter, D3DDEVTYPE, D3DFORMAT adapterFormat,
                                                        DWORD usage, D3DRESOURCETYPE, D3DFORMAT checkFormat)>;
    using CheckDepthStencilMatchHook = std::function<HRESULT(UINT adapter, D3DDEVTYPE, D3DFORMAT adapterFormat,
                                                             D3DFORMAT renderTargetFormat,
                                                             D3DFORMAT depthStencilFormat)>;
    using CheckDeviceMultiSampleTypeHook = std::function<HRESULT(UINT adapter, D3DDEVTYPE, D3DFORMAT surfaceFormat,
                                                                 BOOL windowed, D3DMULTISAMPLE_TYPE,
                                                                 DWORD* qualityLevels)>;
    using EnumAdapterModesHook = std::function<HRESULT(UINT adapter, D3DFORMAT, UINT mode, D3DDISPLAYMODE* out)>;
    using CreateDeviceHook = std::function<HRESULT(UINT adapter, D3DDEVTYPE, HWND focus, DWORD flags,
                                                   D3DPRESENT_PARAMETERS*, IDirect3DDevice9** out)>;

    // Starts with one reference, no adapters and the default hooks.
    FakeDirect3D();
    FakeDirect3D(const FakeDirect3D&) = delete;
    FakeDirect3D& operator=(const FakeDirect3D&) = delete;

    std::vector<FakeAdapter> adapters;

    // Defaults (each may be wrapped: keep the old function and call it):
    // CheckDeviceType succeeds when the back buffer is the adapter format or its alpha variant,
    // windowed only when the adapter format is the desktop format.
    CheckDeviceTypeHook onCheckDeviceType;
    // CheckDeviceFormat: depth/stencil usage accepts D16, D24X8 and D24S8, render-target usage the
    // formats of renderTargetFormats; other usages succeed.
    CheckDeviceFormatHook onCheckDeviceFormat;
    // None at first: a survey on the fake measures each mode in its back buffer's format alone.
    std::vector<D3DFORMAT> renderTargetFormats;
    // CheckDepthStencilMatch: succeeds.
    CheckDepthStencilMatchHook onCheckDepthStencilMatch;
    // CheckDeviceMultiSampleType: NONE and 4 samples, each with 1 quality level; others fail.
    CheckDeviceMultiSampleTypeHook onCheckDeviceMultiSampleType;
    // EnumAdapterModes: the entry of the adapter's mode table, D3DERR_INVALIDCALL past its end.
    EnumAdapterModesHook onEnumAdapterModes;
    // CreateDevice: D3DERR_NOTAVAILABLE with a null device.
    CreateDeviceHook onCreateDevice;

    // One entry per call, e.g. "GetDeviceCaps 0 1", "CheckDeviceType 0 1 22 21 0",
    // "CreateDevice 0 1 64": the method name, then its numeric arguments in decimal.
    std::vector<std::string> calls;
    // The logged calls whose text starts with the given prefix (e.g. "CheckDeviceMultiSampleType").
    std::vector<std::string> CallsStartingWith(const std::string& prefix) const;

    ULONG RefCount() const { return references; }
    // Set to true when the last reference goes.
    bool* destroyed = nullptr;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    // IDirect3D9
    HRESULT STDMETHODCALLTYPE RegisterSoftwareDevice(void* initializeFunction) override;
    UINT STDMETHODCALLTYPE GetAdapterCount() override;
    HRESULT STDMETHODCALLTYPE GetAdapterIdentifier(UINT adapter, DWORD flags,
                                                   D3DADAPTER_IDENTIFIER9* identifier) override;
    UINT STDMETHODCALLTYPE GetAdapterModeCount(UINT adapter, D3DFORMAT format) override;
    HRESULT STDMETHODCALLTYPE EnumAdapterModes(UINT adapter, D3DFORMAT format, UINT mode,
                                               D3DDISPLAYMODE* displayMode) override;
    HRESULT STDMETHODCALLTYPE GetAdapterDisplayMode(UINT adapter, D3DDISPLAYMODE* displayMode) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceType(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT displayFormat,
                                              D3DFORMAT backBufferFormat, WINBOOL windowed) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormat(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                                DWORD usage, D3DRESOURCETYPE resourceType,
                                                D3DFORMAT checkFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceMultiSampleType(UINT adapter, D3DDEVTYPE deviceType,
                                                         D3DFORMAT surfaceFormat, WINBOOL windowed,
                                                         D3DMULTISAMPLE_TYPE multiSampleType,
                                                         DWORD* qualityLevels) override;
    HRESULT STDMETHODCALLTYPE CheckDepthStencilMatch(UINT adapter, D3DDEVTYPE deviceType, D3DFORMAT adapterFormat,
                                                     D3DFORMAT renderTargetFormat,
                                                     D3DFORMAT depthStencilFormat) override;
    HRESULT STDMETHODCALLTYPE CheckDeviceFormatConversion(UINT adapter, D3DDEVTYPE deviceType,
                                                          D3DFORMAT sourceFormat, D3DFORMAT targetFormat) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(UINT adapter, D3DDEVTYPE deviceType, D3DCAPS9* caps) override;
    HMONITOR STDMETHODCALLTYPE GetAdapterMonitor(UINT adapter) override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                           DWORD behaviorFlags, D3DPRESENT_PARAMETERS* presentParameters,
                                           IDirect3DDevice9** device) override;

private:
    // Only Release deletes.
    ~FakeDirect3D();
    void Log(const char* method, std::initializer_list<unsigned long long> arguments);

    ULONG references = 1;
};

D3DDISPLAYMODE Mode(UINT width, UINT height, UINT refreshRate, D3DFORMAT format);
// Caps of the given type with the device and presentation-interval capability bits given.
D3DCAPS9 MakeCaps(UINT adapter, D3DDEVTYPE deviceType, DWORD devCaps, DWORD presentationIntervals);
// An adapter "Fake Adapter" with a 1024 x 768 X8R8G8B8 desktop; modes 640 x 480, 800 x 600 and
// 1024 x 768 (60 and 75 Hz) in X8R8G8B8 and 640 x 480, 800 x 600 in R5G6B5; HAL caps with hardware
// transform and lighting and a pure device, intervals IMMEDIATE and ONE; REF caps with hardware
// transform and lighting only, every interval. No SW device.
FakeAdapter MakeTypicalAdapter(UINT ordinal = 0);
// A new fake (one reference, owned by the caller) holding one typical adapter.
FakeDirect3D* MakeTypicalDirect3D();

}  // namespace fakes
