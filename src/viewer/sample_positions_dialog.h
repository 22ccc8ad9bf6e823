// The "Sample Positions" dialog (F3): measures the device's multisample mode and shows what was
// found as pages under one heading (a tab each: its text and its picture), with Copy and Save.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "analysis/session/measurement_session.h"
#include "viewer/measurement_page.h"
#include "viewer/sample_table_text.h"

class ViewerApplication;

// What the dialog shows and saves.
struct SampleDialogContents {
    std::vector<std::string> heading;     // device, mode, verdict: over the tabs, and first in Copy
    std::vector<MeasurementPage> pages;   // one tab each, in order; the first is shown first
    std::string json;                     // what Save writes
    std::string fileName;                 // the name Save suggests
};

// F3. Measures the device as it is (windowed or fullscreen, the framework paused), then shows
// the dialog over the window, leaving fullscreen first as the settings dialog does. Neither the
// picture, the viewer's fields nor the device's state change.
void ShowSamplePositions(ViewerApplication& viewer);

// The heading, the saved JSON and the suggested file name of a measurement made on device; no
// pages yet (ShowSamplePositions adds them, one line each).
SampleDialogContents SamplePositionsContents(const ModeMeasurement& measurement,
                                             const MeasuredDevice& device);

// The modal dialog, its first page shown; Ctrl+Tab and Ctrl+Shift+Tab (or Left and Right on the
// tabs) step through the pages. Warnings carry caption. Returns IDCANCEL when closed, -1 without
// pages, or what DialogBoxParamA gives on failure.
INT_PTR ShowSamplePositionsDialog(HWND owner, const SampleDialogContents& contents,
                                  const char* caption);

// The saved file's contents, UTF-8, indented: the adapter, the device and its mode, the measurement
// and its time, under the keys survey.json gives them.
std::string SamplePositionsJsonText(const ModeMeasurement& measurement, const MeasuredDevice& device);
