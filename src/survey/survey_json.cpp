// survey.json from the survey's report; each mode's measurement is written by the same writer
// as the Sample Positions dialog's Save.
#include "survey/survey_json.h"

#include "analysis/session/implementation_json.h"
#include "analysis/session/measurement_json.h"
#include "survey/survey_document.h"

using nlohmann::json;

json ModeEntryToJson(const ModeReport& mode) {
    json entry = ModeToJson(mode.deviceType, mode.adapterFormat, mode.measurement.mode);
    entry["adapterOrdinal"] = mode.adapterOrdinal;
    entry["status"] = ModeStatusName(mode);
    entry["picture"] = mode.picture.empty() ? json(nullptr) : json(mode.picture);
    entry["pictureError"] = mode.pictureError.empty() ? json(nullptr) : json(mode.pictureError);
    // Everything outside "timing" stays the same from run to run.
    entry["timing"] = {
        {"deviceMilliseconds", RoundedMilliseconds(mode.timings.device)},
        {"measurementMilliseconds", RoundedMilliseconds(mode.timings.measurement)},
        {"pictureMilliseconds", RoundedMilliseconds(mode.timings.picture)},
        {"totalMilliseconds", RoundedMilliseconds(mode.timings.total)},
    };
    // A mode whose measurements contradict each other keeps them: they show what disagreed.
    entry["measurement"] = HoldsMeasurement(mode) ? MeasurementToJson(mode.measurement) : json(nullptr);
    if (mode.measured) {
        entry["failure"] = nullptr;
    } else {
        entry["failure"] = {
            {"stage", mode.failureStage},
            {"code", mode.failureCode == S_OK ? json(nullptr) : json(ResultCodeText(mode.failureCode))},
            {"message", mode.failureText},
        };
        if (mode.fault != ModeFault::None) {
            entry["failure"]["exitCode"] = mode.fault == ModeFault::ProcessEnded ? json(ExceptionCodeText(mode.exitCode))
                                                                                : json(nullptr);
            entry["failure"]["exceptionCode"] =
                mode.exceptionCode != 0 ? json(ExceptionCodeText(mode.exceptionCode)) : json(nullptr);
        }
    }
    return entry;
}

nlohmann::json SurveyToJson(const SurveyReport& report, bool complete) {
    json adapters = json::array();
    for (const AdapterDescription& adapter : report.adapters) adapters.push_back(AdapterToJson(adapter));
    json modes = json::array();
    size_t measured = 0;
    for (const ModeReport& mode : report.modes) {
        modes.push_back(ModeEntryToJson(mode));
        if (mode.measured) ++measured;
    }
    return json{
        {"program", kSurveyProgramName},
        {"version", kSurveyProgramVersion},
        {"schemaVersion", kSurveySchemaVersion},
        {"complete", complete},
        {"implementation", ImplementationToJson(report.implementation)},
        {"adapters", adapters},
        {"modes", modes},
        {"notes", report.notes},
        {"summary", {{"modes", report.modes.size()}, {"measured", measured}, {"failed", report.modes.size() - measured}}},
        {"timing", {{"totalMilliseconds", RoundedMilliseconds(report.totalMilliseconds)}}},
    };
}

std::string SurveyJsonText(const SurveyReport& report) { return SurveyJsonText(SurveyToJson(report, true)); }

std::string SurveyJsonText(const nlohmann::json& document) {
    // Texts that are not valid UTF-8 (a driver's odd name) become U+FFFD rather than failing.
    return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}
