// The alpha-to-coverage measurement's JSON, both ways.
#include "analysis/alpha_to_coverage/alpha_to_coverage_json.h"

#include "analysis/session/json_names.h"
#include "analysis/session/switch_finding_json.h"

namespace {

using nlohmann::json;

const JsonName<CoverageSwitch> kSwitchNames[] = {
    {CoverageSwitch::AtocWithAlphaTest, "ATOC+alphaTest"},
    {CoverageSwitch::Atoc, "ATOC"},
    {CoverageSwitch::A2m1, "A2M1"},
};

const JsonName<AlphaToCoverageVerdict> kVerdictNames[] = {
    {AlphaToCoverageVerdict::NotOffered, "notOffered"},
    {AlphaToCoverageVerdict::NotApplied, "notApplied"},
    {AlphaToCoverageVerdict::Thresholds, "thresholds"},
    {AlphaToCoverageVerdict::Dither, "dither"},
    {AlphaToCoverageVerdict::Other, "other"},
    {AlphaToCoverageVerdict::Declined, "declined"},
};

}  // namespace

json CoverageSwitchJsonName(CoverageSwitch coverageSwitch) { return JsonNameOf(kSwitchNames, coverageSwitch); }

json AlphaToCoverageVerdictJsonName(AlphaToCoverageVerdict verdict) { return JsonNameOf(kVerdictNames, verdict); }

void to_json(json& out, const AlphaToCoverageMeasurement& m) {
    out = json::array();
    for (const AlphaToCoverageMap& map : m.switches) {
        json thresholds = json::array();
        for (const auto& row : map.thresholds) {
            json pixels = json::array();
            for (const auto& pixel : row) {
                json samples = json::array();
                for (int alpha : pixel) samples.push_back(alpha == kNeverCovered ? json(nullptr) : json(alpha));
                pixels.push_back(samples);
            }
            thresholds.push_back(pixels);
        }
        json entry = json{
            {"switch", JsonNameOf(kSwitchNames, map.coverageSwitch)},
            {"offered", map.offered},
            {"verdict", JsonNameOf(kVerdictNames, map.verdict)},
            {"text", AlphaToCoverageVerdictText(map)},
            {"thresholds", thresholds},
            {"dither", map.verdict == AlphaToCoverageVerdict::Dither
                           ? json{{"width", map.ditherWidth}, {"height", map.ditherHeight}}
                           : json(nullptr)},
        };
        // Only where declined: files from before the resolve was counted through read the same.
        if (map.verdict == AlphaToCoverageVerdict::Declined) entry["declined"] = map.declined;
        // An older file read back has none, and is written again as it was.
        if (!map.caps.answers.empty()) entry["caps"] = map.caps;
        out.push_back(entry);
    }
}

void from_json(const json& in, AlphaToCoverageMeasurement& m) {
    m = AlphaToCoverageMeasurement();
    for (const json& entry : in) {
        AlphaToCoverageMap map;
        map.coverageSwitch = JsonValueOf(kSwitchNames, entry.at("switch"));
        map.offered = entry.at("offered").get<bool>();
        // Older files have no caps: they drew with a switch only where it was offered.
        const auto caps = entry.find("caps");
        if (caps != entry.end()) caps->get_to(map.caps);
        map.verdict = JsonValueOf(kVerdictNames, entry.at("verdict"));
        for (const json& row : entry.at("thresholds")) {
            std::vector<std::vector<int>> pixels;
            for (const json& pixel : row) {
                std::vector<int> samples;
                for (const json& alpha : pixel) samples.push_back(alpha.is_null() ? kNeverCovered : alpha.get<int>());
                pixels.push_back(samples);
            }
            map.thresholds.push_back(pixels);
        }
        const json& dither = entry.at("dither");
        if (!dither.is_null()) {
            map.ditherWidth = dither.at("width").get<int>();
            map.ditherHeight = dither.at("height").get<int>();
        }
        // Files from before the resolve was counted through have no "declined".
        const json declined = entry.value("declined", json());
        if (declined.is_string()) map.declined = declined.get<std::string>();
        m.switches.push_back(map);
    }
}

json AlphaToCoverageToJson(const AlphaToCoverageMeasurement& measurement) { return json(measurement); }
