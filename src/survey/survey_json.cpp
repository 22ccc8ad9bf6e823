// survey.json from the survey's report; each mode's measurement is written by the same writer
// as the Sample Positions dialog's Save.
#include "survey/survey_json.h"

#include <cmath>
#include <cstdio>

#include "analysis/measurement_json.h"
#include "survey/survey_document.h"

namespace {

using nlohmann::json;

// Tenths of a millisecond are as fine as these timings mean anything.
double RoundedMilliseconds(double milliseconds) { return std::round(milliseconds * 10.0) / 10.0; }

std::string Hex(DWORD value, int digits) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%0*lX", digits, static_cast<unsigned long>(value));
    return text;
}

json AdapterJson(const AdapterReport& adapter) {
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
        {"desktopFormat", adapter.desktopFormat},
    };
}

json ModeJson(const ModeReport& mode) {
    json entry{
        {"adapter", mode.adapterOrdinal},
        {"deviceType", mode.deviceType},
        {"adapterFormat", mode.adapterFormat},
        {"backBufferFormat", mode.backBufferFormat},
        {"multisampleType", MultisampleName(mode.multisampleType)},
        {"multisampleTypeValue", mode.multisampleType},
        {"multisampleQuality", mode.multisampleQuality},
        {"status", mode.measured ? "measured" : "failed"},
        {"picture", mode.picture.empty() ? json(nullptr) : json(mode.picture)},
        {"timing",
         {{"deviceMilliseconds", RoundedMilliseconds(mode.timings.device)},
          {"measurementMilliseconds", RoundedMilliseconds(mode.timings.measurement)},
          {"pictureMilliseconds", RoundedMilliseconds(mode.timings.picture)},
          {"totalMilliseconds", RoundedMilliseconds(mode.timings.total)}}},
    };
    if (mode.measured) {
        json measurement = MeasurementToJson(mode.measurement);
        // The measurement's own time belongs with the other timings, so that everything outside
        // "timing" stays the same from run to run.
        if (measurement.is_object()) measurement.erase("milliseconds");
        entry["measurement"] = measurement;
        entry["failure"] = nullptr;
    } else {
        entry["measurement"] = nullptr;
        entry["failure"] = {
            {"stage", mode.failureStage},
            {"code", mode.failureCode == S_OK ? json(nullptr) : json(ResultCodeText(mode.failureCode))},
            {"message", mode.failureText},
        };
    }
    return entry;
}

}  // namespace

nlohmann::json SurveyToJson(const SurveyReport& report) {
    json adapters = json::array();
    for (const AdapterReport& adapter : report.adapters) adapters.push_back(AdapterJson(adapter));
    json modes = json::array();
    size_t measured = 0;
    for (const ModeReport& mode : report.modes) {
        modes.push_back(ModeJson(mode));
        if (mode.measured) ++measured;
    }
    return json{
        {"program", kSurveyProgramName},
        {"version", kSurveyProgramVersion},
        {"schemaVersion", kSurveySchemaVersion},
        {"adapters", adapters},
        {"modes", modes},
        {"notes", report.notes},
        {"summary", {{"modes", report.modes.size()}, {"measured", measured}, {"failed", report.modes.size() - measured}}},
        {"timing", {{"totalMilliseconds", RoundedMilliseconds(report.totalMilliseconds)}}},
    };
}

std::string SurveyJsonText(const SurveyReport& report) { return SurveyJsonText(SurveyToJson(report)); }

std::string SurveyJsonText(const nlohmann::json& document) {
    // Texts that are not valid UTF-8 (a driver's odd name) become U+FFFD rather than failing.
    return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
