// Hand-built enumeration trees for tests (see enumeration_tree_builder.h).
#include "support/enumeration_tree_builder.h"

#include <cstring>

namespace test_support {

namespace {

constexpr UINT kFormatSize = sizeof(D3DFORMAT);

template <typename T>
void AppendAll(ArrayList* list, const std::vector<T>& values) {
    for (const T& value : values) static_cast<void>(list->Append(&value));
}

}  // namespace

AdapterInfo* AddAdapter(DeviceEnumeration& enumeration, UINT ordinal, const char* description) {
    if (!enumeration.adapterInfos) enumeration.adapterInfos = new ArrayList(StorePointers, sizeof(void*));
    auto* adapter = new AdapterInfo;
    adapter->adapterOrdinal = ordinal;
    char* target = adapter->identifier.Description;
    const size_t size = sizeof adapter->identifier.Description;
    const size_t length = std::strlen(description);
    std::memcpy(target, description, length < size ? length + 1 : size);
    adapter->displayModes = new ArrayList(StoreValues, sizeof(D3DDISPLAYMODE));
    adapter->deviceInfos = new ArrayList(StorePointers, sizeof(void*));
    static_cast<void>(enumeration.adapterInfos->Append(adapter));
    return adapter;
}

void AddDisplayMode(AdapterInfo* adapter, UINT width, UINT height, UINT refreshRate, D3DFORMAT format) {
    D3DDISPLAYMODE mode = {width, height, refreshRate, format};
    static_cast<void>(adapter->displayModes->Append(&mode));
}

DeviceInfo* AddDevice(AdapterInfo* adapter, D3DDEVTYPE deviceType) {
    auto* device = new DeviceInfo;
    device->adapterOrdinal = adapter->adapterOrdinal;
    device->deviceType = deviceType;
    device->deviceCombos = new ArrayList(StorePointers, sizeof(void*));
    static_cast<void>(adapter->deviceInfos->Append(device));
    return device;
}

DeviceCombo* AddCombo(DeviceInfo* device, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                      bool isWindowed, const ComboOptions& options) {
    auto* combo = new DeviceCombo;
    combo->adapterOrdinal = device->adapterOrdinal;
    combo->deviceType = device->deviceType;
    combo->adapterFormat = adapterFormat;
    combo->backBufferFormat = backBufferFormat;
    combo->isWindowed = isWindowed;
    combo->depthStencilFormats = new ArrayList(StoreValues, kFormatSize);
    combo->multisampleTypes = new ArrayList(StoreValues, sizeof(D3DMULTISAMPLE_TYPE));
    combo->multisampleQualityLevels = new ArrayList(StoreValues, sizeof(DWORD));
    combo->depthMultisampleConflicts = new ArrayList(StoreValues, sizeof(DepthMultisampleConflict));
    combo->vertexProcessingTypes = new ArrayList(StoreValues, sizeof(VertexProcessingType));
    combo->presentIntervals = new ArrayList(StoreValues, sizeof(UINT));

    AppendAll(combo->depthStencilFormats, options.depthStencilFormats);
    for (const MultisampleOption& option : options.multisample) {
        static_cast<void>(combo->multisampleTypes->Append(&option.type));
        static_cast<void>(combo->multisampleQualityLevels->Append(&option.qualityLevels));
    }
    AppendAll(combo->depthMultisampleConflicts, options.depthMultisampleConflicts);
    AppendAll(combo->vertexProcessingTypes, options.vertexProcessing);
    AppendAll(combo->presentIntervals, options.presentIntervals);
    static_cast<void>(device->deviceCombos->Append(combo));
    return combo;
}

}  // namespace test_support
