// Asks the Direct3D object once for everything the program can run on and keeps it as a tree:
// adapters, their display modes and device types, and the device combos each type accepts.
#include "enumeration/device_enumeration.h"

#include <algorithm>
#include <new>

namespace {

const D3DFORMAT kAllowedAdapterFormats[] = {
    D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_A2R10G10B10,
};

const D3DDEVTYPE kDeviceTypes[] = {D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF};

const D3DFORMAT kBackBufferFormats[] = {
    D3DFMT_A8R8G8B8, D3DFMT_X8R8G8B8, D3DFMT_A2R10G10B10, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, D3DFMT_X1R5G5B5,
};

const D3DFORMAT kDepthStencilFormats[] = {
    D3DFMT_D16, D3DFMT_D15S1, D3DFMT_D24X8, D3DFMT_D24S8, D3DFMT_D24X4S4, D3DFMT_D32,
};

struct PresentIntervalRule {
    UINT interval;
    bool fullscreenOnly;  // windowed swap chains cannot wait for more than one retrace
    bool alwaysOffered;   // the default interval needs no capability bit
};

const PresentIntervalRule kPresentIntervals[] = {
    {D3DPRESENT_INTERVAL_IMMEDIATE, false, false},
    {D3DPRESENT_INTERVAL_DEFAULT, false, true},
    {D3DPRESENT_INTERVAL_ONE, false, false},
    {D3DPRESENT_INTERVAL_TWO, true, false},
    {D3DPRESENT_INTERVAL_THREE, true, false},
    {D3DPRESENT_INTERVAL_FOUR, true, false},
};

constexpr UINT kHighestSampleCount = 16;

template <typename T>
ArrayList* NewValueList() {
    return new (std::nothrow) ArrayList(StoreValues, sizeof(T));
}

ArrayList* NewPointerList() { return new (std::nothrow) ArrayList(StorePointers, sizeof(void*)); }

// A combo with its six lists, or null (and nothing left over) when memory runs out.
DeviceCombo* NewDeviceCombo() {
    DeviceCombo* combo = new (std::nothrow) DeviceCombo();
    if (combo == nullptr) return nullptr;
    combo->depthStencilFormats = NewValueList<D3DFORMAT>();
    combo->multisampleTypes = NewValueList<D3DMULTISAMPLE_TYPE>();
    combo->multisampleQualityLevels = NewValueList<DWORD>();
    combo->depthMultisampleConflicts = NewValueList<DepthMultisampleConflict>();
    combo->vertexProcessingTypes = NewValueList<VertexProcessingType>();
    combo->presentIntervals = NewValueList<UINT>();
    if (!combo->depthStencilFormats || !combo->multisampleTypes || !combo->multisampleQualityLevels ||
        !combo->depthMultisampleConflicts || !combo->vertexProcessingTypes || !combo->presentIntervals) {
        delete combo;
        return nullptr;
    }
    return combo;
}

void DeleteAdapterInfos(ArrayList*& adapterInfos) {
    if (adapterInfos == nullptr) return;
    for (UINT index = 0; index < adapterInfos->Count(); ++index) {
        delete static_cast<AdapterInfo*>(adapterInfos->ItemAt(index));
    }
    delete adapterInfos;
    adapterInfos = nullptr;
}

}  // namespace

DeviceEnumeration::DeviceEnumeration() = default;

DeviceEnumeration::~DeviceEnumeration() {
    DeleteAdapterInfos(adapterInfos);
    delete allowedAdapterFormats;
    allowedAdapterFormats = nullptr;
}

HRESULT DeviceEnumeration::Enumerate() {
    // The adapter formats that one adapter's kept modes use, refilled per adapter.
    ArrayList adapterFormats(StoreValues, sizeof(D3DFORMAT));
    if (direct3d == nullptr) return E_FAIL;

    // A repeated call starts afresh instead of losing the earlier tree.
    DeleteAdapterInfos(adapterInfos);
    delete allowedAdapterFormats;
    adapterInfos = NewPointerList();
    allowedAdapterFormats = NewValueList<D3DFORMAT>();
    if (adapterInfos == nullptr || allowedAdapterFormats == nullptr) return E_OUTOFMEMORY;
    for (D3DFORMAT format : kAllowedAdapterFormats) {
        const HRESULT result = allowedAdapterFormats->Append(&format);
        if (FAILED(result)) return result;
    }

    const UINT adapterCount = direct3d->GetAdapterCount();
    for (UINT ordinal = 0; ordinal < adapterCount; ++ordinal) {
        AdapterInfo* adapterInfo = new (std::nothrow) AdapterInfo();
        if (adapterInfo == nullptr) return E_OUTOFMEMORY;
        adapterInfo->displayModes = NewValueList<D3DDISPLAYMODE>();
        adapterInfo->deviceInfos = NewPointerList();
        if (adapterInfo->displayModes == nullptr || adapterInfo->deviceInfos == nullptr) {
            delete adapterInfo;
            return E_OUTOFMEMORY;
        }
        adapterInfo->adapterOrdinal = ordinal;
        static_cast<void>(direct3d->GetAdapterIdentifier(ordinal, 0, &adapterInfo->identifier));

        adapterFormats.Truncate();
        for (UINT formatIndex = 0; formatIndex < allowedAdapterFormats->Count(); ++formatIndex) {
            const D3DFORMAT format = ValueAt<D3DFORMAT>(allowedAdapterFormats, formatIndex);
            const UINT modeCount = direct3d->GetAdapterModeCount(ordinal, format);
            for (UINT modeIndex = 0; modeIndex < modeCount; ++modeIndex) {
                D3DDISPLAYMODE mode = {};
                // A mode that could not be read would be kept as whatever the runtime left behind.
                if (FAILED(direct3d->EnumAdapterModes(ordinal, format, modeIndex, &mode))) continue;
                if (mode.Width < minFullscreenWidth || mode.Height < minFullscreenHeight ||
                    ColorChannelBitsOf(mode.Format) < minColorChannelBits) {
                    continue;
                }
                static_cast<void>(adapterInfo->displayModes->Append(&mode));
                if (!adapterFormats.Includes(&mode.Format)) static_cast<void>(adapterFormats.Append(&mode.Format));
            }
        }

        D3DDISPLAYMODE* modes = static_cast<D3DDISPLAYMODE*>(adapterInfo->displayModes->ItemAt(0));
        std::sort(modes, modes + adapterInfo->displayModes->Count(),
                  [](const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) { return CompareDisplayModes(a, b) < 0; });

        const HRESULT result = EnumerateDeviceTypes(adapterInfo, &adapterFormats);
        if (FAILED(result)) {
            delete adapterInfo;
            return result;
        }
        if (adapterInfo->deviceInfos->Count() == 0 || FAILED(adapterInfos->Append(adapterInfo))) {
            delete adapterInfo;
        }
    }
    return S_OK;
}

HRESULT DeviceEnumeration::EnumerateDeviceTypes(AdapterInfo* adapterInfo, ArrayList* adapterFormats) {
    for (D3DDEVTYPE deviceType : kDeviceTypes) {
        DeviceInfo* deviceInfo = new (std::nothrow) DeviceInfo();
        if (deviceInfo == nullptr) return E_OUTOFMEMORY;
        deviceInfo->deviceCombos = NewPointerList();
        if (deviceInfo->deviceCombos == nullptr) {
            delete deviceInfo;
            return E_OUTOFMEMORY;
        }
        deviceInfo->adapterOrdinal = adapterInfo->adapterOrdinal;
        deviceInfo->deviceType = deviceType;
        if (FAILED(direct3d->GetDeviceCaps(adapterInfo->adapterOrdinal, deviceType, &deviceInfo->caps))) {
            delete deviceInfo;
            continue;
        }

        const HRESULT result = EnumerateDeviceCombos(deviceInfo, adapterFormats);
        if (FAILED(result)) {
            delete deviceInfo;
            return result;
        }
        if (deviceInfo->deviceCombos->Count() == 0 || FAILED(adapterInfo->deviceInfos->Append(deviceInfo))) {
            delete deviceInfo;
        }
    }
    return S_OK;
}

HRESULT DeviceEnumeration::EnumerateDeviceCombos(DeviceInfo* deviceInfo, ArrayList* adapterFormats) {
    for (UINT formatIndex = 0; formatIndex < adapterFormats->Count(); ++formatIndex) {
        const D3DFORMAT adapterFormat = ValueAt<D3DFORMAT>(adapterFormats, formatIndex);
        for (D3DFORMAT backBufferFormat : kBackBufferFormats) {
            if (AlphaChannelBitsOf(backBufferFormat) < minAlphaChannelBits) continue;
            for (bool windowed : {false, true}) {
                if (!windowed && windowedOnly) continue;
                if (windowed && fullscreenOnly) continue;
                if (FAILED(direct3d->CheckDeviceType(deviceInfo->adapterOrdinal, deviceInfo->deviceType,
                                                     adapterFormat, backBufferFormat, windowed ? TRUE : FALSE))) {
                    continue;
                }

                DeviceCombo* combo = NewDeviceCombo();
                if (combo == nullptr) return E_OUTOFMEMORY;
                combo->adapterOrdinal = deviceInfo->adapterOrdinal;
                combo->deviceType = deviceInfo->deviceType;
                combo->adapterFormat = adapterFormat;
                combo->backBufferFormat = backBufferFormat;
                combo->isWindowed = windowed;

                bool usable = true;
                if (usesDepthBuffer) {
                    CollectDepthStencilFormats(combo);
                    usable = combo->depthStencilFormats->Count() > 0;
                }
                usable = usable && CollectMultisampleTypes(combo) && combo->multisampleTypes->Count() > 0;
                if (usable) {
                    CollectDepthMultisampleConflicts(combo);
                    CollectVertexProcessingTypes(deviceInfo, combo);
                    usable = combo->vertexProcessingTypes->Count() > 0;
                }
                if (usable) {
                    CollectPresentIntervals(deviceInfo, combo);
                    usable = SUCCEEDED(deviceInfo->deviceCombos->Append(combo));
                }
                if (!usable) delete combo;
            }
        }
    }
    return S_OK;
}

void DeviceEnumeration::CollectDepthStencilFormats(DeviceCombo* combo) {
    for (D3DFORMAT format : kDepthStencilFormats) {
        if (DepthBitsOf(format) < minDepthBits || StencilBitsOf(format) < minStencilBits) continue;
        if (FAILED(direct3d->CheckDeviceFormat(combo->adapterOrdinal, combo->deviceType, combo->adapterFormat,
                                               D3DUSAGE_DEPTHSTENCIL, D3DRTYPE_SURFACE, format))) {
            continue;
        }
        if (FAILED(direct3d->CheckDepthStencilMatch(combo->adapterOrdinal, combo->deviceType, combo->adapterFormat,
                                                    combo->backBufferFormat, format))) {
            continue;
        }
        static_cast<void>(combo->depthStencilFormats->Append(&format));
    }
}

bool DeviceEnumeration::CollectMultisampleTypes(DeviceCombo* combo) {
    for (UINT samples = D3DMULTISAMPLE_NONE; samples <= kHighestSampleCount; ++samples) {
        const D3DMULTISAMPLE_TYPE type = static_cast<D3DMULTISAMPLE_TYPE>(samples);
        DWORD qualityLevels = 0;
        if (FAILED(direct3d->CheckDeviceMultiSampleType(combo->adapterOrdinal, combo->deviceType,
                                                        combo->backBufferFormat, combo->isWindowed ? TRUE : FALSE,
                                                        type, &qualityLevels))) {
            continue;
        }
        // The two lists are read index by index; a type without its level count would break that.
        if (FAILED(combo->multisampleTypes->Append(&type))) continue;
        if (FAILED(combo->multisampleQualityLevels->Append(&qualityLevels))) return false;
    }
    return true;
}

void DeviceEnumeration::CollectDepthMultisampleConflicts(DeviceCombo* combo) {
    for (UINT formatIndex = 0; formatIndex < combo->depthStencilFormats->Count(); ++formatIndex) {
        const D3DFORMAT format = ValueAt<D3DFORMAT>(combo->depthStencilFormats, formatIndex);
        for (UINT typeIndex = 0; typeIndex < combo->multisampleTypes->Count(); ++typeIndex) {
            const D3DMULTISAMPLE_TYPE type = ValueAt<D3DMULTISAMPLE_TYPE>(combo->multisampleTypes, typeIndex);
            if (SUCCEEDED(direct3d->CheckDeviceMultiSampleType(combo->adapterOrdinal, combo->deviceType, format,
                                                               combo->isWindowed ? TRUE : FALSE, type, nullptr))) {
                continue;
            }
            const DepthMultisampleConflict conflict = {format, type};
            static_cast<void>(combo->depthMultisampleConflicts->Append(&conflict));
        }
    }
}

void DeviceEnumeration::CollectVertexProcessingTypes(DeviceInfo* deviceInfo, DeviceCombo* combo) {
    const auto accepted = [&](VertexProcessingType type) {
        return acceptDevice == nullptr || acceptDevice(&deviceInfo->caps, type, combo->backBufferFormat);
    };
    const auto offer = [&](VertexProcessingType type) {
        static_cast<void>(combo->vertexProcessingTypes->Append(&type));
    };
    const DWORD devCaps = deviceInfo->caps.DevCaps;
    if (devCaps & D3DDEVCAPS_HWTRANSFORMANDLIGHT) {
        if ((devCaps & D3DDEVCAPS_PUREDEVICE) && accepted(PURE_HARDWARE_VP)) offer(PURE_HARDWARE_VP);
        if (accepted(HARDWARE_VP)) offer(HARDWARE_VP);
        if (usesMixedVertexProcessing && accepted(MIXED_VP)) offer(MIXED_VP);
    }
    if (accepted(SOFTWARE_VP)) offer(SOFTWARE_VP);
}

void DeviceEnumeration::CollectPresentIntervals(DeviceInfo* deviceInfo, DeviceCombo* combo) {
    for (const PresentIntervalRule& rule : kPresentIntervals) {
        if (combo->isWindowed && rule.fullscreenOnly) continue;
        if (!rule.alwaysOffered && (deviceInfo->caps.PresentationIntervals & rule.interval) == 0) continue;
        UINT interval = rule.interval;
        static_cast<void>(combo->presentIntervals->Append(&interval));
    }
}
