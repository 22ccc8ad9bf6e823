// Reading survey.json back into a SurveyReport.
#include "survey/survey_reading.h"

#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <utility>

#include "analysis/session/implementation_json.h"
#include "analysis/session/measurement_json.h"
#include "survey/survey_document.h"

namespace {

using nlohmann::json;

// ResultCodeText's forms: "D3DERR_NOTAVAILABLE (0x8876086A)" or "0x8876086A"; null for none.
HRESULT FailureCodeFromJson(const json& code) {
    if (code.is_null()) return S_OK;
    const std::string text = code.get<std::string>();
    const size_t hex = text.find("0x");
    if (hex == std::string::npos) throw std::invalid_argument("no result code in " + code.dump());
    return static_cast<HRESULT>(std::strtoul(text.c_str() + hex, nullptr, 16));
}

// ExceptionCodeText's form, "0xC0000005 (access violation)"; 0 for none.
DWORD CodeFromJson(const json& code) {
    if (!code.is_string()) return 0;
    const std::string text = code.get<std::string>();
    const size_t hex = text.find("0x");
    return hex == std::string::npos ? 0 : static_cast<DWORD>(std::strtoul(text.c_str() + hex, nullptr, 16));
}

ModeReport ModeFromEntry(const json& entry) {
    ModeReport mode;
    mode.adapterOrdinal = entry.at("adapterOrdinal").get<UINT>();
    ModeFromJson(entry, &mode.deviceType, &mode.adapterFormat, &mode.measurement.mode);
    const std::string status = entry.at("status").get<std::string>();
    if (status != "measured" && status != "failed" && status != "crashed" && status != "timedOut") {
        throw std::invalid_argument("unknown status " + status);
    }
    mode.measured = status == "measured";
    mode.fault = status == "crashed" ? ModeFault::ProcessEnded : status == "timedOut" ? ModeFault::NoAnswer : ModeFault::None;
    const json& picture = entry.at("picture");
    if (!picture.is_null()) mode.picture = picture.get<std::string>();
    const json pictureError = entry.value("pictureError", json());
    if (pictureError.is_string()) mode.pictureError = pictureError.get<std::string>();
    const json& timing = entry.at("timing");
    mode.timings.device = timing.at("deviceMilliseconds").get<double>();
    mode.timings.measurement = timing.at("measurementMilliseconds").get<double>();
    mode.timings.picture = timing.at("pictureMilliseconds").get<double>();
    mode.timings.total = timing.at("totalMilliseconds").get<double>();
    // A mode that failed only because its measurements disagree keeps them.
    if (mode.measured || entry.at("measurement").is_object()) entry.at("measurement").get_to(mode.measurement);
    if (!mode.measured) {
        const json& failure = entry.at("failure");
        mode.failureStage = failure.at("stage").get<std::string>();
        mode.failureCode = FailureCodeFromJson(failure.at("code"));
        mode.failureText = failure.at("message").get<std::string>();
        mode.exitCode = CodeFromJson(failure.value("exitCode", json()));
        mode.exceptionCode = CodeFromJson(failure.value("exceptionCode", json()));
    }
    return mode;
}

}  // namespace

bool ReadSurveyReport(const json& document, SurveyReport* report, std::string* error) {
    const std::string problem = SurveyDocumentProblem(document);
    if (!problem.empty()) {
        *error = problem;
        return false;
    }
    SurveyReport read;
    std::string where = "its implementation";
    try {
        // Surveys written before the implementation was named have none.
        if (document.contains("implementation")) read.implementation = ImplementationFromJson(document["implementation"]);
        where = "its adapters";
        for (const json& adapter : document.at("adapters")) read.adapters.push_back(AdapterFromJson(adapter));
        const json& modes = document.at("modes");
        for (size_t i = 0; i < modes.size(); ++i) {
            where = "mode " + std::to_string(i) + " (" + ModeLabelOf(modes[i]) + ")";
            read.modes.push_back(ModeFromEntry(modes[i]));
        }
        where = "its notes and timing";
        read.notes = document.at("notes").get<std::vector<std::string>>();
        read.totalMilliseconds = document.at("timing").at("totalMilliseconds").get<double>();
    } catch (const std::exception& e) {
        *error = "is a survey whose " + where + " cannot be read: " + e.what();
        return false;
    }
    *report = std::move(read);
    return true;
}

bool LoadSurveyReport(const std::string& path, SurveyReport* report, std::string* error) {
    json document;
    if (!LoadSurveyDocument(path, &document, error)) return false;
    if (ReadSurveyReport(document, report, error)) return true;
    *error = "'" + path + "' " + *error;
    return false;
}
