// The windowed half of a configuration, from one combo of the tree: as the program starts and as
// the survey makes each mode's device.
#include "enumeration/device_enumeration.h"

void UseWindowedCombo(DeviceSettings* settings, AdapterInfo* adapterInfo, DeviceInfo* deviceInfo,
                      DeviceCombo* combo, const D3DDISPLAYMODE& desktop, int clientWidth, int clientHeight) {
    settings->isWindowed = true;
    settings->windowedAdapterInfo = adapterInfo;
    settings->windowedDeviceInfo = deviceInfo;
    settings->windowedDeviceCombo = combo;
    settings->windowedDisplayMode = desktop;
    settings->windowedVertexProcessing = FirstValue(combo->vertexProcessingTypes, SOFTWARE_VP);
    settings->windowedPresentInterval = FirstValue<UINT>(combo->presentIntervals, D3DPRESENT_INTERVAL_DEFAULT);
    settings->windowedWidth = clientWidth;
    settings->windowedHeight = clientHeight;
}
