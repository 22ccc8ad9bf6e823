// The "Sample Positions" dialog (F3): measures where the device's multisample mode puts its
// samples and shows them as numbers and as a picture of one pixel, with Copy and Save.
#pragma once

#include <windows.h>

#include <string>

#include "analysis/sample_measurement.h"

class ViewerApplication;

// F3. Windowed only; measures off-screen and shows the dialog, the framework paused around
// both. Neither the picture, the viewer's fields nor the device's state change.
void ShowSamplePositions(ViewerApplication& viewer);

// The modal dialog for a measurement already made; warnings carry caption. Returns IDCANCEL
// when closed, or what DialogBoxParamA gives on failure.
INT_PTR ShowSamplePositionsDialog(HWND owner, const SampleMeasurement& measurement,
                                  const char* deviceText, const char* caption);

// The saved file's contents: the measurement's JSON with the device's text, UTF-8, indented.
std::string SamplePositionsJsonText(const SampleMeasurement& measurement, const char* deviceText);
