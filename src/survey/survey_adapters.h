// The Direct3D object and its enumeration without a window or a device: what the survey plans its
// modes from, in the process that must outlive whatever the implementation does in a mode.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>

#include "enumeration/device_enumeration.h"

class SurveyAdapters {
public:
    SurveyAdapters() = default;
    ~SurveyAdapters();
    SurveyAdapters(const SurveyAdapters&) = delete;
    SurveyAdapters& operator=(const SurveyAdapters&) = delete;

    // Creates the Direct3D object and enumerates its adapters as the device host does. On failure
    // error names the call that failed and why.
    HRESULT Start(std::string* error);

    IDirect3D9* direct3d = nullptr;  // owned; released by the destructor
    DeviceEnumeration enumeration;
};
