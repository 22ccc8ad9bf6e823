// Builds DeviceEnumeration trees by hand for tests: adapters, display modes, devices and device
// combos with their lists, shaped as Enumerate leaves them, without any Direct3D object.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <vector>

#include "enumeration/device_enumeration.h"

namespace test_support {

struct MultisampleOption {
    D3DMULTISAMPLE_TYPE type;
    DWORD qualityLevels;
};

// What one combo offers beyond its formats. The defaults are the least a combo of Enumerate
// holds: no multisampling, software vertex processing, the default present interval.
struct ComboOptions {
    std::vector<MultisampleOption> multisample{{D3DMULTISAMPLE_NONE, 1}};
    std::vector<VertexProcessingType> vertexProcessing{SOFTWARE_VP};
    std::vector<UINT> presentIntervals{D3DPRESENT_INTERVAL_DEFAULT};
    std::vector<D3DFORMAT> depthStencilFormats;
    std::vector<DepthMultisampleConflict> depthMultisampleConflicts;
};

// Every record is appended to its parent's list and owned by the enumeration, whose destructor
// frees the tree as it would after Enumerate. The description is copied whole if it fits, else
// it fills all of identifier.Description without a terminator (the dialog must cut it).
AdapterInfo* AddAdapter(DeviceEnumeration& enumeration, UINT ordinal, const char* description);
// Modes are kept in the order given; give them as Enumerate sorts them (width, height, format,
// refresh rate, all ascending).
void AddDisplayMode(AdapterInfo* adapter, UINT width, UINT height, UINT refreshRate, D3DFORMAT format);
DeviceInfo* AddDevice(AdapterInfo* adapter, D3DDEVTYPE deviceType);
DeviceCombo* AddCombo(DeviceInfo* device, D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat,
                      bool isWindowed, const ComboOptions& options = ComboOptions());

}  // namespace test_support
