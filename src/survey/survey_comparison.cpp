// Comparing two surveys: modes paired by identity, each measurement by its own comparison.
#include "survey/survey_comparison.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <utility>

#include "analysis/session/measurement_module.h"
#include "enumeration/value_names.h"

namespace {

// A location split at its indices: "thresholds[3][1][0]" as the texts "thresholds", "", "", "" and
// the indices "3", "1", "0"; places alike but for their indices have the same texts.
struct LocationParts {
    std::vector<std::string> text;
    std::vector<std::string> indices;
};

LocationParts LocationPartsOf(const std::string& location) {
    LocationParts parts;
    std::string text;
    for (size_t i = 0; i < location.size(); ++i) {
        const size_t close = location.find(']', i);
        if (location[i] == '[' && close != std::string::npos && close > i + 1 &&
            location.find_first_not_of("0123456789", i + 1) == close) {
            parts.text.push_back(text);
            parts.indices.push_back(location.substr(i + 1, close - i - 1));
            text.clear();
            i = close;
        } else {
            text += location[i];
        }
    }
    parts.text.push_back(text);
    return parts;
}

using nlohmann::json;

std::string AdapterDescriptionOf(const SurveyReport& report, const ModeReport& mode) {
    for (const AdapterDescription& adapter : report.adapters) {
        if (adapter.ordinal == mode.adapterOrdinal) return adapter.description;
    }
    return std::string();
}

std::string IdentityOf(const SurveyReport& report, const ModeReport& mode, bool withAdapter) {
    return (withAdapter ? AdapterDescriptionOf(report, mode) + "\n" : std::string()) + ModeIdentity(mode);
}

// Each mode's identity, numbered where one repeats (two identical cards), with its entry.
std::map<std::string, const ModeReport*> ModesByIdentity(const SurveyReport& report, bool withAdapter,
                                                         std::vector<std::string>* order) {
    std::map<std::string, const ModeReport*> modes;
    for (const ModeReport& mode : report.modes) {
        const std::string base = IdentityOf(report, mode, withAdapter);
        std::string identity = base;
        for (int repeat = 2; modes.count(identity); ++repeat) identity = base + "#" + std::to_string(repeat);
        modes[identity] = &mode;
        order->push_back(identity);
    }
    return modes;
}

// The label the console gives a mode, after "adapter N " where the adapter is not the first.
std::string LabelOf(const ModeReport& mode) {
    const std::string prefix =
        mode.adapterOrdinal == 0 ? std::string() : "adapter " + std::to_string(mode.adapterOrdinal) + " ";
    return prefix + ModeLabel(mode);
}

// The implementation ended the worker's process or it did not answer: nothing was measured.
bool NotMeasured(const ModeReport& mode) { return mode.fault != ModeFault::None; }

// "measured", "failed: device D3DERR_NOTAVAILABLE (0x8876086A)" or "crashed in probe resolve".
std::string StatusText(const ModeReport& mode) {
    if (mode.measured) return "measured";
    if (NotMeasured(mode)) return std::string(ModeStatusName(mode)) + " in " + mode.failureStage;
    const std::string text = "failed: " + mode.failureStage;
    return mode.failureCode == S_OK ? text : text + " " + ResultCodeText(mode.failureCode);
}

void CompareAdapters(const SurveyReport& baseline, const SurveyReport& current, std::vector<SurveyDifference>* out) {
    std::map<UINT, std::pair<json, json>> byOrdinal;
    for (const AdapterDescription& adapter : baseline.adapters) byOrdinal[adapter.ordinal].first = adapter.description;
    for (const AdapterDescription& adapter : current.adapters) byOrdinal[adapter.ordinal].second = adapter.description;
    for (const auto& entry : byOrdinal) {
        const json& was = entry.second.first;
        const json& now = entry.second.second;
        if (was == now) continue;
        std::string text = was.is_null() ? "only in this survey: " + DifferenceValueText(now)
                           : now.is_null() ? "only in the baseline: " + DifferenceValueText(was)
                                           : "was " + DifferenceValueText(was) + " now " + DifferenceValueText(now);
        out->push_back({std::string(), "adapter " + std::to_string(entry.first), text, std::string(), was, now});
    }
}

// Every measurement under its key in survey.json, in the order of those keys, each with its own
// comparison.
DifferenceList CompareMeasurements(const ModeMeasurement& was, const ModeMeasurement& now) {
    std::vector<const MeasurementModule*> modules;
    for (const MeasurementModule& module : MeasurementModules()) modules.push_back(&module);
    std::sort(modules.begin(), modules.end(),
              [](const MeasurementModule* a, const MeasurementModule* b) { return std::strcmp(a->key, b->key) < 0; });
    DifferenceList all;
    for (const MeasurementModule* module : modules) {
        DifferenceList one;
        CompareMeasurement(*module, was, now, &one);
        all.AddAll(one, module->location, json::json_pointer("/measurement" + std::string(module->key)));
    }
    return all;
}

}  // namespace

std::string ModeIdentity(const ModeReport& mode) {
    const MultisampleMode& multisample = mode.measurement.mode;
    return std::string(DeviceTypeText(mode.deviceType)) + "\n" + FormatText(mode.adapterFormat, true) + "\n" +
           FormatText(multisample.format, true) + "\n" + FormatText(multisample.DrawnFormat(), true) + "\n" +
           multisample.TypeName() + "\n" + std::to_string(multisample.quality);
}

bool MatchesModesAcrossAdapters(const SurveyReport& baseline, const SurveyReport& current, bool matchAdapters) {
    return !matchAdapters && baseline.adapters.size() == 1 && current.adapters.size() == 1;
}

std::string AdaptersNote(const SurveyReport& baseline, const SurveyReport& current, bool matchAdapters) {
    if (!MatchesModesAcrossAdapters(baseline, current, matchAdapters)) return std::string();
    const AdapterDescription& was = baseline.adapters[0];
    const AdapterDescription& now = current.adapters[0];
    if (was.description == now.description && was.ordinal == now.ordinal) return std::string();
    return "The adapters differ: the baseline's is " + DifferenceValueText(was.description) + ", this survey's " +
           DifferenceValueText(now.description) +
           "; modes are matched by device type, formats, multisample type and quality "
           "(--match-adapters matches them by adapter too).";
}

std::vector<SurveyDifference> CompareSurveys(const SurveyReport& baseline, const SurveyReport& current,
                                             bool matchAdapters) {
    std::vector<SurveyDifference> differences;
    // Across two implementations the adapters differ by name alone; that is said, not counted.
    const bool acrossAdapters = MatchesModesAcrossAdapters(baseline, current, matchAdapters);
    if (!acrossAdapters) CompareAdapters(baseline, current, &differences);

    std::vector<std::string> baselineOrder, currentOrder;
    const auto was = ModesByIdentity(baseline, !acrossAdapters, &baselineOrder);
    const auto now = ModesByIdentity(current, !acrossAdapters, &currentOrder);
    for (const std::string& identity : currentOrder) {
        const ModeReport& mode = *now.at(identity);
        const std::string label = LabelOf(mode);
        const auto found = was.find(identity);
        if (found == was.end()) {
            differences.push_back({label, "mode", "only in this survey, not in the baseline", std::string(), json(),
                                   json(StatusText(mode))});
            continue;
        }
        const ModeReport& before = *found->second;
        const std::string wasStatus = StatusText(before), nowStatus = StatusText(mode);
        // A mode the implementation did not let the survey measure matches nothing, not even the
        // same crash: either file may hide any finding behind it.
        if (NotMeasured(before) || NotMeasured(mode)) {
            const char* which = NotMeasured(before) && NotMeasured(mode) ? "in either survey" : "in one of the surveys";
            differences.push_back({label, "status", std::string("not measured ") + which + ": was " + wasStatus +
                                                         " now " + nowStatus,
                                   "/status", json(wasStatus), json(nowStatus)});
            continue;
        }
        if (wasStatus != nowStatus) {
            differences.push_back(
                {label, "status", "was " + wasStatus + " now " + nowStatus, "/status", json(wasStatus), json(nowStatus)});
        }
        // What both hold is compared measurement by measurement, whatever the status says of the
        // rest: a measurement that failed differs from one that was made.
        if (!HoldsMeasurement(before) || !HoldsMeasurement(mode)) continue;
        const DifferenceList measured = CompareMeasurements(before.measurement, mode.measurement);
        for (const MeasurementDifference& d : measured.Items()) {
            differences.push_back({label, d.location, d.text, d.path.to_string(), d.was, d.now});
        }
    }
    for (const std::string& identity : baselineOrder) {
        if (now.count(identity)) continue;
        const ModeReport& mode = *was.at(identity);
        differences.push_back({LabelOf(mode), "mode", "only in the baseline, not in this survey", std::string(),
                               json(StatusText(mode)), json()});
    }
    return differences;
}

std::string DifferenceLine(const SurveyDifference& difference) {
    return (difference.mode.empty() ? std::string() : difference.mode + ": ") + difference.location + " " +
           difference.text;
}

std::vector<SurveyDifference> DifferenceRuns(const std::vector<SurveyDifference>& differences) {
    struct Run {
        LocationParts shape;   // the first's; an index the others do not share becomes "*"
        const SurveyDifference* first;
        size_t count;
    };
    std::vector<SurveyDifference> told;
    for (size_t start = 0, end; start < differences.size(); start = end) {
        // One mode's differences, each joined to an earlier one alike but for its indices.
        end = start;
        while (end < differences.size() && differences[end].mode == differences[start].mode) ++end;
        std::vector<Run> runs;
        for (size_t d = start; d < end; ++d) {
            const LocationParts parts = LocationPartsOf(differences[d].location);
            auto run = std::find_if(runs.begin(), runs.end(), [&](const Run& r) {
                return r.first->text == differences[d].text && r.shape.text == parts.text;
            });
            if (run == runs.end()) {
                runs.push_back({parts, &differences[d], 1});
                continue;
            }
            ++run->count;
            for (size_t i = 0; i < parts.indices.size(); ++i) {
                if (parts.indices[i] != run->shape.indices[i]) run->shape.indices[i] = "*";
            }
        }
        for (const Run& run : runs) {
            SurveyDifference one = *run.first;
            if (run.count > 1) {
                one.location.clear();
                for (size_t i = 0; i < run.shape.text.size(); ++i) {
                    one.location += run.shape.text[i] + (i < run.shape.indices.size() ? "[" + run.shape.indices[i] + "]" : std::string());
                }
                one.text += " (" + std::to_string(run.count) + " places)";
            }
            told.push_back(one);
        }
    }
    return told;
}

json DifferenceToJson(const SurveyDifference& difference) {
    return json{
        {"mode", difference.mode.empty() ? json(nullptr) : json(difference.mode)},
        {"location", difference.location},
        {"text", difference.text},
        {"path", difference.path.empty() ? json(nullptr) : json(difference.path)},
        {"was", difference.was},
        {"now", difference.now},
    };
}
