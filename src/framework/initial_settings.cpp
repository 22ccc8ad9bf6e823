// The start-up configuration: the best windowed and the best fullscreen configuration of the
// enumeration tree, and which of the two the program starts in.
#include "framework/application_framework.h"
#include "framework/error_reporting.h"

namespace {

bool PassesFilters(const DeviceInfo& deviceInfo, bool requireHal, bool requireReference) {
    if (requireHal && deviceInfo.deviceType != D3DDEVTYPE_HAL) return false;
    if (requireReference && deviceInfo.deviceType != D3DDEVTYPE_REF) return false;
    return true;
}

// Walks, in list order, every combo of every device that passes the filters; enterAdapter runs
// before an adapter's devices, and visit returns false to end the whole walk.
template <typename EnterAdapter, typename Visit>
void WalkCombos(const ArrayList* adapters, bool requireHal, bool requireReference,
                EnterAdapter enterAdapter, Visit visit) {
    for (UINT a = 0; a < adapters->Count(); ++a) {
        AdapterInfo* adapterInfo = static_cast<AdapterInfo*>(adapters->ItemAt(a));
        enterAdapter(*adapterInfo);
        const ArrayList* devices = adapterInfo->deviceInfos;
        for (UINT d = 0; devices && d < devices->Count(); ++d) {
            DeviceInfo* deviceInfo = static_cast<DeviceInfo*>(devices->ItemAt(d));
            if (!PassesFilters(*deviceInfo, requireHal, requireReference)) continue;
            const ArrayList* combos = deviceInfo->deviceCombos;
            for (UINT c = 0; combos && c < combos->Count(); ++c) {
                if (!visit(adapterInfo, deviceInfo, static_cast<DeviceCombo*>(combos->ItemAt(c)))) return;
            }
        }
    }
}

// The display mode for a fullscreen combo: the desktop mode itself when the adapter lists it,
// else the last mode of the desktop width, else the first mode of the combo's format.
D3DDISPLAYMODE ChooseFullscreenMode(const AdapterInfo& adapterInfo, D3DFORMAT adapterFormat,
                                    const D3DDISPLAYMODE& desktop) {
    D3DDISPLAYMODE chosen = {};
    bool taken = false;
    const ArrayList* modes = adapterInfo.displayModes;
    for (UINT index = 0; modes && index < modes->Count(); ++index) {
        const D3DDISPLAYMODE mode = ValueAt<D3DDISPLAYMODE>(modes, index);
        if (mode.Format != adapterFormat) continue;
        if (mode.Width == desktop.Width && mode.Height == desktop.Height &&
            mode.RefreshRate == desktop.RefreshRate) {
            chosen = mode;
            break;
        }
        if (mode.Width == desktop.Width || !taken) {
            chosen = mode;
            taken = true;
        }
    }
    return chosen;
}

}  // namespace

HRESULT ApplicationFramework::ChooseInitialSettings() {
    // Fullscreen first: both searches write the shared multisample fields, and the windowed
    // search's values are the ones that should stand.
    const bool foundFullscreen = FindBestFullscreenSettings(false, false);
    const bool foundWindowed = FindBestWindowedSettings(false, false);
    if (preferFullscreen && foundFullscreen) settings.isWindowed = false;
    if (!foundWindowed) {
        if (!foundFullscreen) return AppErrorNoCompatibleDevices;
        settings.isWindowed = false;
    }
    return S_OK;
}

bool ApplicationFramework::FindBestWindowedSettings(bool requireHal, bool requireReference) {
    if (!direct3d || !enumeration.adapterInfos) return false;
    D3DDISPLAYMODE desktop = {};
    static_cast<void>(direct3d->GetAdapterDisplayMode(0, &desktop));

    AdapterInfo* bestAdapter = nullptr;
    DeviceInfo* bestDevice = nullptr;
    DeviceCombo* bestCombo = nullptr;
    WalkCombos(enumeration.adapterInfos, requireHal, requireReference, [](const AdapterInfo&) {},
               [&](AdapterInfo* adapterInfo, DeviceInfo* deviceInfo, DeviceCombo* combo) {
                   if (!combo->isWindowed || combo->adapterFormat != desktop.Format) return true;
                   const bool isHal = combo->deviceType == D3DDEVTYPE_HAL;
                   const bool matchesBackBuffer = combo->backBufferFormat == combo->adapterFormat;
                   const bool bestIsHal = bestCombo && bestCombo->deviceType == D3DDEVTYPE_HAL;
                   const bool replaces = !bestCombo || (!bestIsHal && isHal) || (isHal && matchesBackBuffer);
                   if (!replaces) return true;
                   bestAdapter = adapterInfo;
                   bestDevice = deviceInfo;
                   bestCombo = combo;
                   // A HAL device drawing in the desktop format is as good as it gets.
                   return !(isHal && matchesBackBuffer);
               });
    if (!bestCombo) return false;

    UseWindowedCombo(&settings, bestAdapter, bestDevice, bestCombo, desktop, clientRect.right - clientRect.left,
                     clientRect.bottom - clientRect.top);
    if (enumeration.usesDepthBuffer) {
        settings.windowedDepthStencilFormat = FirstValue(bestCombo->depthStencilFormats, D3DFMT_UNKNOWN);
    }
    settings.multisampleType = FirstValue(bestCombo->multisampleTypes, D3DMULTISAMPLE_NONE);
    settings.multisampleQuality = 0;
    return true;
}

bool ApplicationFramework::FindBestFullscreenSettings(bool requireHal, bool requireReference) {
    if (!direct3d || !enumeration.adapterInfos) return false;

    AdapterInfo* bestAdapter = nullptr;
    DeviceInfo* bestDevice = nullptr;
    DeviceCombo* bestCombo = nullptr;
    D3DDISPLAYMODE bestDesktop = {};
    D3DDISPLAYMODE desktop = {};
    IDirect3D9* runtime = direct3d;
    WalkCombos(enumeration.adapterInfos, requireHal, requireReference,
               [&](const AdapterInfo& adapterInfo) {
                   desktop = D3DDISPLAYMODE{};
                   static_cast<void>(runtime->GetAdapterDisplayMode(adapterInfo.adapterOrdinal, &desktop));
               },
               [&](AdapterInfo* adapterInfo, DeviceInfo* deviceInfo, DeviceCombo* combo) {
                   if (combo->isWindowed) return true;
                   const bool isHal = deviceInfo->deviceType == D3DDEVTYPE_HAL;
                   const bool matchesDesktop = combo->adapterFormat == desktop.Format;
                   const bool matchesBackBuffer = combo->backBufferFormat == combo->adapterFormat;
                   const bool bestIsHal = bestDevice && bestDevice->deviceType == D3DDEVTYPE_HAL;
                   const bool replaces = !bestCombo || (!bestIsHal && isHal) ||
                                         (isHal && matchesDesktop && bestCombo->adapterFormat != desktop.Format) ||
                                         (isHal && matchesDesktop && matchesBackBuffer);
                   if (!replaces) return true;
                   bestAdapter = adapterInfo;
                   bestDevice = deviceInfo;
                   bestCombo = combo;
                   bestDesktop = desktop;
                   return !(isHal && matchesDesktop && matchesBackBuffer);
               });
    if (!bestCombo) return false;

    settings.fullscreenAdapterInfo = bestAdapter;
    settings.fullscreenDeviceInfo = bestDevice;
    settings.fullscreenDeviceCombo = bestCombo;
    settings.fullscreenDisplayMode = ChooseFullscreenMode(*bestAdapter, bestCombo->adapterFormat, bestDesktop);
    settings.isWindowed = false;
    if (enumeration.usesDepthBuffer) {
        settings.fullscreenDepthStencilFormat = FirstValue(bestCombo->depthStencilFormats, D3DFMT_UNKNOWN);
    }
    settings.multisampleType = FirstValue(bestCombo->multisampleTypes, D3DMULTISAMPLE_NONE);
    settings.multisampleQuality = 0;
    settings.fullscreenVertexProcessing = FirstValue(bestCombo->vertexProcessingTypes, SOFTWARE_VP);
    // Fullscreen runs unthrottled, whatever the combo lists.
    settings.fullscreenPresentInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    return true;
}
