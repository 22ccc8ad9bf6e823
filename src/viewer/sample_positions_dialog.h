// The "Sample Positions" dialog (F3): measures where the device's multisample mode puts its
// samples and shows them as numbers and as a picture of one pixel, with Copy and Save.
#pragma once

#include <windows.h>

#include <string>

#include "analysis/measurement_session.h"
#include "enumeration/adapter_description.h"

class ViewerApplication;

// What the measurement was made on, as the saved file states it beside the mode.
struct MeasuredDevice {
    AdapterDescription adapter;
    D3DDEVTYPE deviceType = D3DDEVTYPE_HAL;
    D3DFORMAT adapterFormat = D3DFMT_UNKNOWN;
    std::string text;  // the framework's device description, "HAL (pure hw vp): ..." (ANSI)
};

// F3. Windowed only; measures off-screen and shows the dialog, the framework paused around
// both. Neither the picture, the viewer's fields nor the device's state change.
void ShowSamplePositions(ViewerApplication& viewer);

// The modal dialog for a measurement already made; warnings carry caption. Returns IDCANCEL
// when closed, or what DialogBoxParamA gives on failure.
INT_PTR ShowSamplePositionsDialog(HWND owner, const ModeMeasurement& measurement,
                                  const MeasuredDevice& device, const char* caption);

// The saved file's contents, UTF-8, indented: the adapter, the device and its mode, the measurement
// and its time, under the keys survey.json gives them.
std::string SamplePositionsJsonText(const ModeMeasurement& measurement, const MeasuredDevice& device);
