// The list of modes a survey measures, read from the device enumeration: for each adapter and
// device type asked for, the windowed configuration in the desktop's format and every
// multisample type it offers with each of its quality levels.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <string>
#include <vector>

#include "analysis/probing/multisample_mode.h"
#include "enumeration/device_enumeration.h"
#include "survey/survey_options.h"
#include "survey/survey_report.h"

struct SurveyMode {
    AdapterInfo* adapterInfo = nullptr;  // borrowed from the enumeration tree
    DeviceInfo* deviceInfo = nullptr;
    DeviceCombo* combo = nullptr;
    D3DDISPLAYMODE desktop = {};         // the adapter's desktop mode
    MultisampleMode multisample;         // its format the combo's back buffer's
};

// An adapter or device type asked for that has nothing to measure, said in a line.
struct SurveyGap {
    UINT adapterOrdinal = 0;
    std::string reason;
};

struct SurveyPlan {
    std::vector<SurveyMode> modes;
    std::vector<SurveyGap> gaps;
};

// Reads the desktop mode of one adapter; the plan asks it once per adapter.
using DesktopModeReader = bool (*)(void* context, UINT adapterOrdinal, D3DDISPLAYMODE* mode);

// The modes in a fixed order: adapters by ordinal, device types as enumerated (HAL, SW, REF),
// multisample types ascending, qualities ascending. The combo is the windowed one whose adapter
// format is the desktop's, preferring the one whose back buffer has the desktop's format too.
SurveyPlan PlanSurvey(const DeviceEnumeration& enumeration, const SurveyOptions& options,
                      DesktopModeReader readDesktop, void* context);

// The settings that create a windowed device of this mode at the given client size.
DeviceSettings SettingsForMode(const SurveyMode& mode, int clientWidth, int clientHeight);

// The report entry of a mode with what identifies it filled in: adapter, device type, formats,
// multisample type and quality.
ModeReport ReportForMode(const SurveyMode& mode);

// "HAL", "REF", "SW".
const char* ShortDeviceTypeText(D3DDEVTYPE deviceType);
