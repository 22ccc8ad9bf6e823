// What the Direct3D 9 object offers (adapters, modes, device types, device combos), built once
// at start-up, and the DeviceSettings record that points into it.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "enumeration/array_list.h"

enum VertexProcessingType : UINT {
    SOFTWARE_VP = 0,
    MIXED_VP = 1,
    HARDWARE_VP = 2,
    PURE_HARDWARE_VP = 3,
};

struct DepthMultisampleConflict {
    D3DFORMAT depthStencilFormat;
    D3DMULTISAMPLE_TYPE multisampleType;
};

struct DeviceCombo {
    UINT adapterOrdinal = 0;
    D3DDEVTYPE deviceType = D3DDEVTYPE_HAL;
    D3DFORMAT adapterFormat = D3DFMT_UNKNOWN;
    D3DFORMAT backBufferFormat = D3DFMT_UNKNOWN;
    bool isWindowed = false;
    ArrayList* depthStencilFormats = nullptr;        // D3DFORMAT
    ArrayList* multisampleTypes = nullptr;           // D3DMULTISAMPLE_TYPE, ascending
    ArrayList* multisampleQualityLevels = nullptr;   // DWORD, parallel to multisampleTypes
    ArrayList* depthMultisampleConflicts = nullptr;  // DepthMultisampleConflict
    ArrayList* vertexProcessingTypes = nullptr;      // VertexProcessingType, most capable first
    ArrayList* presentIntervals = nullptr;           // UINT present-interval values
    ~DeviceCombo();
};

struct DeviceInfo {
    UINT adapterOrdinal = 0;
    D3DDEVTYPE deviceType = D3DDEVTYPE_HAL;
    D3DCAPS9 caps = {};
    ArrayList* deviceCombos = nullptr;  // owned DeviceCombo*
    ~DeviceInfo();
};

struct AdapterInfo {
    UINT adapterOrdinal = 0;
    D3DADAPTER_IDENTIFIER9 identifier = {};
    ArrayList* displayModes = nullptr;  // D3DDISPLAYMODE, sorted by CompareDisplayModes
    ArrayList* deviceInfos = nullptr;   // owned DeviceInfo*, in the order HAL, SW, REF
    ~AdapterInfo();
};

// Callback that may refuse a device's caps for a vertex-processing type.
typedef bool (*AcceptDeviceCallback)(D3DCAPS9* caps, VertexProcessingType vertexProcessing,
                                     D3DFORMAT backBufferFormat);

class DeviceEnumeration {
public:
    DeviceEnumeration();
    ~DeviceEnumeration();
    DeviceEnumeration(const DeviceEnumeration&) = delete;
    DeviceEnumeration& operator=(const DeviceEnumeration&) = delete;

    HRESULT Enumerate();

    IDirect3D9* direct3d = nullptr;          // not owned
    ArrayList* adapterInfos = nullptr;       // owned AdapterInfo*
    AcceptDeviceCallback acceptDevice = nullptr;
    UINT minFullscreenWidth = 640;
    UINT minFullscreenHeight = 480;
    UINT minColorChannelBits = 5;
    UINT minAlphaChannelBits = 0;
    UINT minDepthBits = 15;
    UINT minStencilBits = 0;
    bool usesDepthBuffer = false;
    bool usesMixedVertexProcessing = false;
    bool windowedOnly = false;
    bool fullscreenOnly = false;
    ArrayList* allowedAdapterFormats = nullptr;  // D3DFORMAT

private:
    HRESULT EnumerateDeviceTypes(AdapterInfo* adapterInfo, ArrayList* adapterFormats);
    HRESULT EnumerateDeviceCombos(DeviceInfo* deviceInfo, ArrayList* adapterFormats);
    void CollectDepthStencilFormats(DeviceCombo* combo);
    // False when the type and quality-level lists could not be kept parallel.
    bool CollectMultisampleTypes(DeviceCombo* combo);
    void CollectDepthMultisampleConflicts(DeviceCombo* combo);
    void CollectVertexProcessingTypes(DeviceInfo* deviceInfo, DeviceCombo* combo);
    void CollectPresentIntervals(DeviceInfo* deviceInfo, DeviceCombo* combo);
};

UINT ColorChannelBitsOf(D3DFORMAT format);
UINT AlphaChannelBitsOf(D3DFORMAT format);
UINT DepthBitsOf(D3DFORMAT format);
UINT StencilBitsOf(D3DFORMAT format);
int CompareDisplayModes(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b);

// One configuration: a windowed half, a fullscreen half and the flag that picks the current one.
// The pointers borrow records of the enumeration tree.
struct DeviceSettings {
    bool isWindowed = true;
    AdapterInfo* windowedAdapterInfo = nullptr;
    DeviceInfo* windowedDeviceInfo = nullptr;
    DeviceCombo* windowedDeviceCombo = nullptr;
    D3DDISPLAYMODE windowedDisplayMode = {};
    D3DFORMAT windowedDepthStencilFormat = D3DFMT_UNKNOWN;
    D3DMULTISAMPLE_TYPE multisampleType = D3DMULTISAMPLE_NONE;
    DWORD multisampleQuality = 0;
    VertexProcessingType windowedVertexProcessing = SOFTWARE_VP;
    UINT windowedPresentInterval = 0;
    int windowedWidth = 0;
    int windowedHeight = 0;
    AdapterInfo* fullscreenAdapterInfo = nullptr;
    DeviceInfo* fullscreenDeviceInfo = nullptr;
    DeviceCombo* fullscreenDeviceCombo = nullptr;
    D3DDISPLAYMODE fullscreenDisplayMode = {};
    D3DFORMAT fullscreenDepthStencilFormat = D3DFMT_UNKNOWN;
    VertexProcessingType fullscreenVertexProcessing = SOFTWARE_VP;
    UINT fullscreenPresentInterval = 0;

    // The current half, by isWindowed.
    AdapterInfo* CurrentAdapterInfo() const { return isWindowed ? windowedAdapterInfo : fullscreenAdapterInfo; }
    DeviceInfo* CurrentDeviceInfo() const { return isWindowed ? windowedDeviceInfo : fullscreenDeviceInfo; }
    DeviceCombo* CurrentDeviceCombo() const { return isWindowed ? windowedDeviceCombo : fullscreenDeviceCombo; }
    const D3DDISPLAYMODE& CurrentDisplayMode() const { return isWindowed ? windowedDisplayMode : fullscreenDisplayMode; }
    D3DFORMAT CurrentDepthStencilFormat() const { return isWindowed ? windowedDepthStencilFormat : fullscreenDepthStencilFormat; }
    VertexProcessingType CurrentVertexProcessing() const { return isWindowed ? windowedVertexProcessing : fullscreenVertexProcessing; }
    UINT CurrentPresentInterval() const { return isWindowed ? windowedPresentInterval : fullscreenPresentInterval; }
    void SetCurrentAdapterInfo(AdapterInfo* v) { (isWindowed ? windowedAdapterInfo : fullscreenAdapterInfo) = v; }
    void SetCurrentDeviceInfo(DeviceInfo* v) { (isWindowed ? windowedDeviceInfo : fullscreenDeviceInfo) = v; }
    void SetCurrentDeviceCombo(DeviceCombo* v) { (isWindowed ? windowedDeviceCombo : fullscreenDeviceCombo) = v; }
    void SetCurrentDepthStencilFormat(D3DFORMAT v) { (isWindowed ? windowedDepthStencilFormat : fullscreenDepthStencilFormat) = v; }
    void SetCurrentVertexProcessing(VertexProcessingType v) { (isWindowed ? windowedVertexProcessing : fullscreenVertexProcessing) = v; }
    void SetCurrentPresentInterval(UINT v) { (isWindowed ? windowedPresentInterval : fullscreenPresentInterval) = v; }
};

// Makes settings windowed on one combo of the tree: its adapter, device and combo, the desktop mode,
// the combo's first vertex processing and present interval, and the client size. The multisample
// mode and the depth format are the caller's to choose.
void UseWindowedCombo(DeviceSettings* settings, AdapterInfo* adapterInfo, DeviceInfo* deviceInfo,
                      DeviceCombo* combo, const D3DDISPLAYMODE& desktop, int clientWidth, int clientHeight);

