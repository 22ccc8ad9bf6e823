// Reading the survey's modes out of the enumeration tree, and the settings for one of them.
#include "survey/survey_modes.h"

#include <cstring>

#include "enumeration/value_names.h"
#include "survey/render_target_formats.h"

namespace {

bool DeviceTypeWanted(D3DDEVTYPE deviceType, SurveyDevices devices) {
    switch (devices) {
    case SurveyDevices::Hal: return deviceType == D3DDEVTYPE_HAL;
    case SurveyDevices::Sw: return deviceType == D3DDEVTYPE_SW;
    case SurveyDevices::Ref: return deviceType == D3DDEVTYPE_REF;
    case SurveyDevices::All: return true;
    }
    return false;
}

const char* DevicesText(SurveyDevices devices) {
    switch (devices) {
    case SurveyDevices::Hal: return "HAL";
    case SurveyDevices::Sw: return "SW";
    case SurveyDevices::Ref: return "REF";
    case SurveyDevices::All: return "Direct3D";
    }
    return "Direct3D";
}

// The windowed combo in the desktop's format: the desktop's back-buffer format if offered, as
// the program itself prefers at start-up, else the first windowed combo of that adapter format.
DeviceCombo* DesktopCombo(const DeviceInfo& deviceInfo, D3DFORMAT desktopFormat) {
    DeviceCombo* first = nullptr;
    const ArrayList* combos = deviceInfo.deviceCombos;
    for (UINT c = 0; combos && c < combos->Count(); ++c) {
        DeviceCombo* combo = static_cast<DeviceCombo*>(combos->ItemAt(c));
        if (!combo->isWindowed || combo->adapterFormat != desktopFormat) continue;
        if (combo->backBufferFormat == desktopFormat) return combo;
        if (!first) first = combo;
    }
    return first;
}

bool FormatWanted(D3DFORMAT format, const SurveyOptions& options) {
    for (D3DFORMAT wanted : options.formats) {
        if (wanted == format) return true;
    }
    return options.formats.empty();
}

// The mode in each format to measure it in: the back buffer's first, since its picture and the
// other formats' comparison with it come from there.
void AddFormats(const SurveyMode& mode, const SurveyOptions& options, RenderTargetReader offers, void* context,
                std::vector<SurveyMode>* modes) {
    const D3DFORMAT backBuffer = mode.multisample.format;
    std::vector<D3DFORMAT> formats = {backBuffer};
    for (D3DFORMAT format : SurveyRenderTargetFormats()) {
        if (offers && format != backBuffer && offers(context, mode, format)) formats.push_back(format);
    }
    for (D3DFORMAT format : formats) {
        if (!FormatWanted(format, options)) continue;
        SurveyMode measured = mode;
        measured.multisample.renderTargetFormat = format;
        modes->push_back(measured);
    }
}

std::string FormatsText(const std::vector<D3DFORMAT>& formats) {
    std::string text;
    for (D3DFORMAT format : formats) text += (text.empty() ? "" : ", ") + std::string(FormatText(format, false));
    return text;
}

}  // namespace

SurveyPlan PlanSurvey(const DeviceEnumeration& enumeration, const SurveyOptions& options,
                      DesktopModeReader readDesktop, void* context, RenderTargetReader offers) {
    SurveyPlan plan;
    const ArrayList* adapters = enumeration.adapterInfos;
    for (UINT a = 0; adapters && a < adapters->Count(); ++a) {
        AdapterInfo* adapterInfo = static_cast<AdapterInfo*>(adapters->ItemAt(a));
        if (options.adapter >= 0 && adapterInfo->adapterOrdinal != static_cast<UINT>(options.adapter)) {
            continue;
        }
        D3DDISPLAYMODE desktop = {};
        if (!readDesktop(context, adapterInfo->adapterOrdinal, &desktop)) {
            plan.gaps.push_back({adapterInfo->adapterOrdinal, "the desktop display mode could not be read"});
            continue;
        }
        bool anyDevice = false;
        const ArrayList* devices = adapterInfo->deviceInfos;
        for (UINT d = 0; devices && d < devices->Count(); ++d) {
            DeviceInfo* deviceInfo = static_cast<DeviceInfo*>(devices->ItemAt(d));
            if (!DeviceTypeWanted(deviceInfo->deviceType, options.devices)) continue;
            anyDevice = true;
            DeviceCombo* combo = DesktopCombo(*deviceInfo, desktop.Format);
            if (!combo) {
                plan.gaps.push_back({adapterInfo->adapterOrdinal,
                                     std::string(ShortDeviceTypeText(deviceInfo->deviceType)) +
                                         " cannot render into a window in the desktop's format"});
                continue;
            }
            const size_t planned = plan.modes.size();
            const ArrayList* types = combo->multisampleTypes;
            const ArrayList* levels = combo->multisampleQualityLevels;
            for (UINT t = 0; types && levels && t < types->Count() && t < levels->Count(); ++t) {
                const D3DMULTISAMPLE_TYPE type = ValueAt<D3DMULTISAMPLE_TYPE>(types, t);
                const DWORD qualityLevels = ValueAt<DWORD>(levels, t);
                for (DWORD quality = 0; quality < qualityLevels; ++quality) {
                    SurveyMode mode;
                    mode.adapterInfo = adapterInfo;
                    mode.deviceInfo = deviceInfo;
                    mode.combo = combo;
                    mode.desktop = desktop;
                    mode.multisample.type = type;
                    mode.multisample.quality = quality;
                    mode.multisample.format = combo->backBufferFormat;
                    AddFormats(mode, options, offers, context, &plan.modes);
                }
            }
            if (plan.modes.size() == planned && !options.formats.empty()) {
                plan.gaps.push_back({adapterInfo->adapterOrdinal,
                                     std::string(ShortDeviceTypeText(deviceInfo->deviceType)) +
                                         " multisamples none of the formats asked for (" +
                                         FormatsText(options.formats) + ")"});
            }
        }
        if (!anyDevice) {
            plan.gaps.push_back({adapterInfo->adapterOrdinal,
                                 std::string("no ") + DevicesText(options.devices) + " device"});
        }
    }
    return plan;
}

bool Direct3DOffersRenderTarget(void* context, const SurveyMode& mode, D3DFORMAT format) {
    IDirect3D9* direct3d = static_cast<IDirect3D9*>(context);
    const UINT adapter = mode.adapterInfo->adapterOrdinal;
    const D3DDEVTYPE deviceType = mode.deviceInfo->deviceType;
    if (FAILED(direct3d->CheckDeviceFormat(adapter, deviceType, mode.combo->adapterFormat, D3DUSAGE_RENDERTARGET,
                                           D3DRTYPE_SURFACE, format))) {
        return false;
    }
    DWORD levels = 0;
    if (FAILED(direct3d->CheckDeviceMultiSampleType(adapter, deviceType, format, TRUE, mode.multisample.type, &levels))) {
        return false;
    }
    // Without multisampling there is no quality to have levels of.
    return mode.multisample.type == D3DMULTISAMPLE_NONE || mode.multisample.quality < levels;
}

bool SameDeviceMode(const SurveyMode& a, const SurveyMode& b) {
    return a.adapterInfo == b.adapterInfo && a.deviceInfo == b.deviceInfo && a.combo == b.combo &&
           a.multisample.type == b.multisample.type && a.multisample.quality == b.multisample.quality;
}

DeviceSettings SettingsForMode(const SurveyMode& mode, int clientWidth, int clientHeight) {
    // The fullscreen half stays empty: a survey never leaves the window.
    DeviceSettings settings;
    UseWindowedCombo(&settings, mode.adapterInfo, mode.deviceInfo, mode.combo, mode.desktop, clientWidth, clientHeight);
    settings.multisampleType = mode.multisample.type;
    settings.multisampleQuality = mode.multisample.quality;
    return settings;
}

ModeReport ReportForMode(const SurveyMode& mode) {
    ModeReport report;
    report.adapterOrdinal = mode.adapterInfo->adapterOrdinal;
    report.deviceType = mode.deviceInfo->deviceType;
    report.adapterFormat = mode.combo->adapterFormat;
    report.measurement.mode = mode.multisample;
    return report;
}

const char* ShortDeviceTypeText(D3DDEVTYPE deviceType) {
    // The enumerator's own name without its prefix.
    const char* text = DeviceTypeText(deviceType);
    const size_t prefix = std::strlen("D3DDEVTYPE_");
    return std::strncmp(text, "D3DDEVTYPE_", prefix) == 0 ? text + prefix : text;
}
