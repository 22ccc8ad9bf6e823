// The list of modes a survey measures, read from the device enumeration: for each adapter and
// device type asked for, the windowed configuration in the desktop's format, every multisample
// type it offers with each of its quality levels, and in each of those every render-target format
// the adapter multisamples at that type and quality.
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
    MultisampleMode multisample;         // its format the combo's back buffer's, its render target's
                                         // the one measured
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
// Whether a render target of format, multisampled at mode's type and quality, can be made on its
// device (windowed, in its adapter format).
using RenderTargetReader = bool (*)(void* context, const SurveyMode& mode, D3DFORMAT format);

// The modes in a fixed order: adapters by ordinal, device types as enumerated (HAL, SW, REF),
// multisample types ascending, qualities ascending, and in each the render-target formats: the
// back buffer's first, then the others offered in the order of SurveyRenderTargetFormats (only
// those of options.formats where it names any). The combo is the windowed one whose adapter format
// is the desktop's, preferring the one whose back buffer has the desktop's format too. Without
// offers, the back buffer's format alone is planned.
SurveyPlan PlanSurvey(const DeviceEnumeration& enumeration, const SurveyOptions& options,
                      DesktopModeReader readDesktop, void* context, RenderTargetReader offers = nullptr);

// The RenderTargetReader of a Direct3D object (context): CheckDeviceFormat for a render target and
// CheckDeviceMultiSampleType with the quality among its levels.
bool Direct3DOffersRenderTarget(void* direct3d, const SurveyMode& mode, D3DFORMAT format);

// The same device type, multisample type and quality on the same adapter: measured in one worker,
// on one device.
bool SameDeviceMode(const SurveyMode& a, const SurveyMode& b);

// The settings that create a windowed device of this mode at the given client size.
DeviceSettings SettingsForMode(const SurveyMode& mode, int clientWidth, int clientHeight);

// The report entry of a mode with what identifies it filled in: adapter, device type, formats,
// multisample type and quality.
ModeReport ReportForMode(const SurveyMode& mode);

// "HAL", "REF", "SW".
const char* ShortDeviceTypeText(D3DDEVTYPE deviceType);
