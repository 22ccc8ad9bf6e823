// The measurement's JSON, shared by the dialog's Save and the survey's report.
#include "analysis/session/measurement_json.h"

#include <cmath>
#include <cstdio>
#include <stdexcept>

#include "analysis/session/measurement_module.h"
#include "enumeration/value_names.h"

namespace {

using nlohmann::json;

std::string Hex(DWORD value, int digits) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%0*lX", digits, static_cast<unsigned long>(value));
    return text;
}

DWORD HexFromJson(const json& value) { return static_cast<DWORD>(std::stoul(value.get<std::string>(), nullptr, 16)); }

D3DFORMAT FormatFromJson(const json& value) {
    D3DFORMAT format = D3DFMT_UNKNOWN;
    if (!FormatFromText(value.get<std::string>(), &format)) throw std::invalid_argument("unknown format " + value.dump());
    return format;
}

}  // namespace

json AdapterToJson(const AdapterDescription& adapter) {
    return json{
        {"ordinal", adapter.ordinal},
        {"description", adapter.description},
        {"driver", adapter.driver},
        {"deviceName", adapter.deviceName},
        {"driverVersion", adapter.driverVersion},
        {"vendorId", Hex(adapter.vendorId, 4)},
        {"deviceId", Hex(adapter.deviceId, 4)},
        {"subSysId", Hex(adapter.subSysId, 8)},
        {"revision", adapter.revision},
        {"whqlLevel", adapter.whqlLevel},
        {"deviceIdentifier", adapter.deviceIdentifier},
        {"desktopFormat", FormatText(adapter.desktopFormat, true)},
    };
}

json ModeToJson(D3DDEVTYPE deviceType, D3DFORMAT adapterFormat, const MultisampleMode& mode) {
    return json{
        {"deviceType", DeviceTypeText(deviceType)},
        {"adapterFormat", FormatText(adapterFormat, true)},
        {"backBufferFormat", FormatText(mode.format, true)},
        {"multisampleType", mode.TypeName()},
        {"multisampleTypeValue", static_cast<int>(mode.type)},
        {"multisampleQuality", mode.quality},
        {"maskable", mode.Maskable()},
        {"renderTargetFormat", FormatText(mode.DrawnFormat(), true)},
    };
}

json MeasurementToJson(const ModeMeasurement& measurement) {
    json out = json::object();
    for (const MeasurementModule& module : MeasurementModules()) {
        json& at = out[json::json_pointer(module.key)];
        const MeasurementFailure* failure = FailureOf(measurement, module);
        if (failure != nullptr) {
            at = MeasurementFailureToJson(*failure);
        } else {
            module.write(measurement, &at);
        }
    }
    return out;
}

void to_json(json& out, const ModeMeasurement& measurement) { out = MeasurementToJson(measurement); }

void from_json(const json& in, ModeMeasurement& measurement) {
    measurement.failures.clear();
    for (const MeasurementModule& module : MeasurementModules()) {
        const json& at = in.at(json::json_pointer(module.key));
        MeasurementFailure failure;
        if (MeasurementFailureFromJson(at, &failure)) {
            measurement.failures[module.key] = failure;
        } else {
            module.read(at, &measurement);
        }
    }
}

AdapterDescription AdapterFromJson(const json& in) {
    AdapterDescription adapter;
    adapter.ordinal = in.at("ordinal").get<UINT>();
    adapter.description = in.at("description").get<std::string>();
    adapter.driver = in.at("driver").get<std::string>();
    adapter.deviceName = in.at("deviceName").get<std::string>();
    adapter.driverVersion = in.at("driverVersion").get<std::string>();
    adapter.vendorId = HexFromJson(in.at("vendorId"));
    adapter.deviceId = HexFromJson(in.at("deviceId"));
    adapter.subSysId = HexFromJson(in.at("subSysId"));
    adapter.revision = in.at("revision").get<DWORD>();
    adapter.whqlLevel = in.at("whqlLevel").get<DWORD>();
    adapter.deviceIdentifier = in.at("deviceIdentifier").get<std::string>();
    adapter.desktopFormat = FormatFromJson(in.at("desktopFormat"));
    return adapter;
}

void ModeFromJson(const json& entry, D3DDEVTYPE* deviceType, D3DFORMAT* adapterFormat, MultisampleMode* mode) {
    if (!DeviceTypeFromText(entry.at("deviceType").get<std::string>(), deviceType)) {
        throw std::invalid_argument("unknown device type " + entry.at("deviceType").dump());
    }
    *adapterFormat = FormatFromJson(entry.at("adapterFormat"));
    mode->format = FormatFromJson(entry.at("backBufferFormat"));
    mode->type = static_cast<D3DMULTISAMPLE_TYPE>(entry.at("multisampleTypeValue").get<int>());
    mode->quality = entry.at("multisampleQuality").get<DWORD>();
    // Surveys from before other formats were measured drew in the back buffer's alone.
    const auto drawn = entry.find("renderTargetFormat");
    mode->renderTargetFormat = drawn == entry.end() ? mode->format : FormatFromJson(*drawn);
}

double RoundedMilliseconds(double milliseconds) { return std::round(milliseconds * 10.0) / 10.0; }
