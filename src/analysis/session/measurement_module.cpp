// A failed measurement in place of its result: its view, its comparison and its JSON.
#include "analysis/session/measurement_module.h"

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "enumeration/result_codes.h"

namespace {

using nlohmann::json;

// "failed: not enough memory for the probe's targets", in the report's cells.
std::string FailedCell(const MeasurementFailure& failure) { return "failed: " + failure.reason; }

}  // namespace

const MeasurementFailure* FailureOf(const ModeMeasurement& measurement, const MeasurementModule& module) {
    const auto found = measurement.failures.find(module.key);
    return found == measurement.failures.end() ? nullptr : &found->second;
}

MeasurementView DescribeMeasurement(const MeasurementModule& module, const ModeMeasurement& measurement) {
    const MeasurementFailure* failure = FailureOf(measurement, module);
    if (failure == nullptr) return module.describe(measurement);
    ModeMeasurement nothing;
    nothing.mode = measurement.mode;
    MeasurementView view = module.describe(nothing);
    for (ViewColumn& column : view.columns) {
        column.text = FailedCell(*failure);
        if (!column.brief.empty()) column.brief = "failed";  // the console's few words; survey.md says why
    }
    view.facts = {{"Failed", MeasurementFailureText(*failure)}};
    view.tables.clear();
    view.ladders.clear();
    view.diagrams.clear();
    view.grids.clear();
    view.evaluations.clear();
    return view;
}

void CompareMeasurement(const MeasurementModule& module, const ModeMeasurement& was, const ModeMeasurement& now,
                        DifferenceList* differences) {
    const MeasurementFailure* before = FailureOf(was, module);
    const MeasurementFailure* after = FailureOf(now, module);
    if (before == nullptr && after == nullptr) {
        module.compare(was, now, differences);
        return;
    }
    const auto text = [](const MeasurementFailure* failure) {
        return failure == nullptr ? std::string("measured") : MeasurementFailureText(*failure);
    };
    const auto value = [](const MeasurementFailure* failure) {
        return failure == nullptr ? json(nullptr) : MeasurementFailureToJson(*failure).at("failed");
    };
    const std::string which = before != nullptr && after != nullptr ? "not measured in either survey: " : "";
    differences->Add("failed", which + "was " + text(before) + " now " + text(after), json::json_pointer("/failed"),
                     value(before), value(after));
}

std::string FailedMeasurementsText(const ModeMeasurement& measurement) {
    // In the modules' order, failures told alike (one probe's) together.
    std::vector<std::pair<std::string, std::vector<std::string>>> told;
    for (const MeasurementModule& module : MeasurementModules()) {
        const MeasurementFailure* failure = FailureOf(measurement, module);
        if (failure == nullptr) continue;
        const std::string text = MeasurementFailureText(*failure);
        if (told.empty() || told.back().first != text) told.push_back({text, {}});
        told.back().second.push_back(module.key + 1);
    }
    std::string line;
    for (const auto& entry : told) {
        if (!line.empty()) line += "; ";
        const std::vector<std::string>& keys = entry.second;
        for (size_t k = 0; k < keys.size(); ++k) {
            if (k > 0) line += k + 1 == keys.size() ? " and " : ", ";
            line += keys[k];
        }
        line += ": " + entry.first;
    }
    return line;
}

json MeasurementFailureToJson(const MeasurementFailure& failure) {
    return json{{"failed",
                 {{"call", failure.call},
                  {"code", failure.code == S_OK ? json(nullptr) : json(ResultCodeText(failure.code))},
                  {"reason", failure.reason}}}};
}

bool MeasurementFailureFromJson(const json& at, MeasurementFailure* failure) {
    if (!at.is_object() || !at.contains("failed")) return false;
    const json& failed = at.at("failed");
    failure->call = failed.at("call").get<std::string>();
    failure->code = S_OK;
    const json& code = failed.at("code");
    if (!code.is_null() && !ResultCodeFromText(code.get<std::string>(), &failure->code)) {
        throw std::invalid_argument("no result code in " + code.dump());
    }
    failure->reason = failed.at("reason").get<std::string>();
    return true;
}
