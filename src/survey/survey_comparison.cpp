// Comparing two survey documents: modes paired by identity, positions by interval, the rest exactly.
#include "survey/survey_comparison.h"

#include <cstdio>
#include <map>
#include <utility>

#include "survey/survey_document.h"

namespace {

using nlohmann::json;

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

bool Ignored(const std::string& key) {
    return key == "timing" || key == "milliseconds" || EndsWith(key, "Milliseconds") || key == "text" ||
           EndsWith(key, "Text");
}

bool IsInterval(const json& value) {
    return value.is_object() && value.contains("low") && value.contains("high") && value["low"].is_number() &&
           value["high"].is_number();
}

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.4g", value);
    return text;
}

// "10/16 [0.6133, 0.6445)": the 1/16 step where the position is exact, always the interval.
std::string IntervalText(const json& axis) {
    const json sixteenths = axis.value("sixteenths", json());
    const std::string step = axis.value("exact", json()) == true && sixteenths.is_number_integer()
                                 ? sixteenths.dump() + "/16 "
                                 : std::string();
    return step + "[" + Number(axis["low"].get<double>()) + ", " + Number(axis["high"].get<double>()) + ")";
}

std::string ValueText(const json& value) {
    if (value.is_null()) return "none";
    if (IsInterval(value)) return IntervalText(value);
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

std::string PointerEscaped(const std::string& key) {
    std::string escaped;
    for (char c : key) {
        if (c == '~') {
            escaped += "~0";
        } else if (c == '/') {
            escaped += "~1";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

// "sample 2 (mask bit 2)" for an element of a list of samples, "ladder[2]" for any other list.
std::string ElementName(const std::string& listName, size_t index, const json& element) {
    if (element.is_object() && element.contains("maskBit")) {
        std::string singular = EndsWith(listName, "s") ? listName.substr(0, listName.size() - 1) : listName;
        std::string name = singular + " " + std::to_string(index);
        if (element["maskBit"].is_number_integer()) name += " (mask bit " + element["maskBit"].dump() + ")";
        return name;
    }
    if (element.is_object() && element.contains("parityX") && element.contains("parityY")) {
        return "quad (" + element["parityX"].dump() + ", " + element["parityY"].dump() + ")";
    }
    return listName + "[" + std::to_string(index) + "]";
}

class ModeComparer {
public:
    ModeComparer(std::string label, std::vector<SurveyDifference>* out) : label_(std::move(label)), out_(out) {}

    void Compare(const json& was, const json& now, const std::string& location, const std::string& pointer) {
        if (IsInterval(was) && IsInterval(now)) {
            const double wasLow = was["low"].get<double>(), wasHigh = was["high"].get<double>();
            const double nowLow = now["low"].get<double>(), nowHigh = now["high"].get<double>();
            if (wasLow < nowHigh && nowLow < wasHigh) return;
            Add(location, "was " + IntervalText(was) + " now " + IntervalText(now), pointer, was, now);
        } else if (was.is_object() && now.is_object()) {
            for (auto item = was.begin(); item != was.end(); ++item) {
                if (Ignored(item.key())) continue;
                const json missing;
                Compare(item.value(), now.contains(item.key()) ? now[item.key()] : missing,
                        Joined(location, item.key()), pointer + "/" + PointerEscaped(item.key()));
            }
            for (auto item = now.begin(); item != now.end(); ++item) {
                if (Ignored(item.key()) || was.contains(item.key())) continue;
                Compare(json(), item.value(), Joined(location, item.key()),
                        pointer + "/" + PointerEscaped(item.key()));
            }
        } else if (was.is_array() && now.is_array()) {
            const std::string listName = ListName(location);
            const std::string parent = location.substr(0, location.size() - listName.size());
            if (was.size() != now.size()) {
                Add(location, "was " + std::to_string(was.size()) + " entries now " + std::to_string(now.size()),
                    pointer, json(was.size()), json(now.size()));
            }
            for (size_t i = 0; i < was.size() && i < now.size(); ++i) {
                Compare(was[i], now[i], parent + ElementName(listName, i, now[i]), pointer + "/" + std::to_string(i));
            }
        } else if (was != now) {
            Add(location, "was " + ValueText(was) + " now " + ValueText(now), pointer, was, now);
        }
    }

    void Add(const std::string& location, const std::string& text, const std::string& pointer, const json& was,
             const json& now) {
        out_->push_back({label_, location, text, pointer, was, now});
    }

private:
    std::string label_;
    std::vector<SurveyDifference>* out_;

    // "sample 2 (mask bit 2)" takes its next key after a space, a plain key after a full stop.
    static std::string Joined(const std::string& location, const std::string& key) {
        // The positions are the measurement most differences are in: they read without their heading.
        if (location.empty()) return key == "samplePositions" ? std::string() : key;
        return location + (location.back() == ')' || location.find(' ') != std::string::npos ? " " : ".") + key;
    }
    static std::string ListName(const std::string& location) {
        const size_t cut = location.find_last_of(". ");
        return cut == std::string::npos ? location : location.substr(cut + 1);
    }
};

std::string IdentityOf(const json& document, const json& mode) {
    return AdapterDescriptionOf(document, mode) + "\n" + mode.value("deviceType", json()).dump() + "\n" +
           mode.value("adapterFormat", json()).dump() + "\n" + mode.value("backBufferFormat", json()).dump() + "\n" +
           mode.value("multisampleType", json()).dump() + "\n" + mode.value("multisampleQuality", json()).dump();
}

// Each mode's identity, numbered where one repeats (two identical cards), with its entry.
std::map<std::string, const json*> ModesByIdentity(const json& document, std::vector<std::string>* order) {
    std::map<std::string, const json*> modes;
    for (const json& mode : document["modes"]) {
        std::string identity = IdentityOf(document, mode);
        for (int repeat = 2; modes.count(identity); ++repeat) identity = IdentityOf(document, mode) + "#" + std::to_string(repeat);
        modes[identity] = &mode;
        order->push_back(identity);
    }
    return modes;
}

void CompareAdapters(const json& baseline, const json& current, std::vector<SurveyDifference>* out) {
    std::map<std::string, std::pair<json, json>> byOrdinal;
    for (const json& adapter : baseline["adapters"]) byOrdinal[adapter.value("ordinal", json()).dump()].first = adapter;
    for (const json& adapter : current["adapters"]) byOrdinal[adapter.value("ordinal", json()).dump()].second = adapter;
    for (const auto& entry : byOrdinal) {
        const json was = entry.second.first.is_object() ? entry.second.first.value("description", json()) : json();
        const json now = entry.second.second.is_object() ? entry.second.second.value("description", json()) : json();
        if (was == now) continue;
        std::string text = was.is_null() ? "only in this survey: " + ValueText(now)
                           : now.is_null() ? "only in the baseline: " + ValueText(was)
                                           : "was " + ValueText(was) + " now " + ValueText(now);
        out->push_back({std::string(), "adapter " + entry.first, text, std::string(), was, now});
    }
}

std::string StringOr(const json& object, const char* key, const std::string& fallback) {
    const json value = object.is_object() ? object.value(key, json()) : json();
    return value.is_string() ? value.get<std::string>() : fallback;
}

// The implementation ended the worker's process or it did not answer: nothing was measured.
bool NotMeasured(const json& mode) {
    const std::string status = StringOr(mode, "status", "?");
    return status == "crashed" || status == "timedOut";
}

// "measured", "failed: device D3DERR_NOTAVAILABLE (0x8876086A)" or "crashed in probe resolve".
std::string StatusText(const json& mode) {
    const std::string status = StringOr(mode, "status", "?");
    const json failure = mode.value("failure", json());
    if (NotMeasured(mode)) return status + " in " + StringOr(failure, "stage", "?");
    if (status != "failed") return status;
    std::string text = "failed: " + StringOr(failure, "stage", "?");
    const std::string code = StringOr(failure, "code", "");
    return code.empty() ? text : text + " " + code;
}

}  // namespace

std::vector<SurveyDifference> CompareSurveys(const json& baseline, const json& current) {
    std::vector<SurveyDifference> differences;
    CompareAdapters(baseline, current, &differences);

    std::vector<std::string> baselineOrder, currentOrder;
    const auto was = ModesByIdentity(baseline, &baselineOrder);
    const auto now = ModesByIdentity(current, &currentOrder);
    for (const std::string& identity : currentOrder) {
        const json& mode = *now.at(identity);
        ModeComparer comparer(ModeLabelOf(mode), &differences);
        const auto found = was.find(identity);
        if (found == was.end()) {
            comparer.Add("mode", "only in this survey, not in the baseline", std::string(), json(), json(StatusText(mode)));
            continue;
        }
        const json& before = *found->second;
        const std::string wasStatus = StatusText(before), nowStatus = StatusText(mode);
        // A mode the implementation did not let the survey measure matches nothing, not even the
        // same crash: either file may hide any finding behind it.
        if (NotMeasured(before) || NotMeasured(mode)) {
            const char* which = NotMeasured(before) && NotMeasured(mode) ? "in either survey" : "in one of the surveys";
            comparer.Add("status", std::string("not measured ") + which + ": was " + wasStatus + " now " + nowStatus,
                         "/status", json(wasStatus), json(nowStatus));
            continue;
        }
        if (wasStatus != nowStatus) {
            comparer.Add("status", "was " + wasStatus + " now " + nowStatus, "/status", json(wasStatus), json(nowStatus));
            continue;
        }
        comparer.Compare(before.value("measurement", json()), mode.value("measurement", json()), std::string(),
                         "/measurement");
    }
    for (const std::string& identity : baselineOrder) {
        if (now.count(identity)) continue;
        const json& mode = *was.at(identity);
        differences.push_back({ModeLabelOf(mode), "mode", "only in the baseline, not in this survey", std::string(),
                               json(StatusText(mode)), json()});
    }
    return differences;
}

std::string DifferenceLine(const SurveyDifference& difference) {
    return (difference.mode.empty() ? std::string() : difference.mode + ": ") + difference.location + " " +
           difference.text;
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
