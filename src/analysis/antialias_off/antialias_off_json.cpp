// The multisampling-off measurement's JSON, both ways.
#include "analysis/antialias_off/antialias_off_json.h"

#include "analysis/positions/positions_json.h"
#include "analysis/session/json_names.h"

namespace {

using nlohmann::json;

const JsonName<AntialiasOffVerdict> kVerdictNames[] = {
    {AntialiasOffVerdict::NotMeasured, "notMeasured"},
    {AntialiasOffVerdict::Centre, "centre"},
    {AntialiasOffVerdict::Unchanged, "unchanged"},
    {AntialiasOffVerdict::Other, "other"},
};

}  // namespace

json AntialiasOffVerdictJsonName(AntialiasOffVerdict verdict) { return JsonNameOf(kVerdictNames, verdict); }

void to_json(json& out, const AntialiasOffMeasurement& m) {
    out = json{
        {"verdict", JsonNameOf(kVerdictNames, m.verdict)},
        {"text", AntialiasOffVerdictText(m)},
        {"samples", SamplesToJson(m.positions.samples, m.positions.gridSize)},
    };
}

void from_json(const json& in, AntialiasOffMeasurement& m) {
    m = AntialiasOffMeasurement();
    m.verdict = JsonValueOf(kVerdictNames, in.at("verdict"));
    m.positions.samples = SamplesFromJson(in.at("samples"));
}

json AntialiasOffToJson(const AntialiasOffMeasurement& measurement) { return json(measurement); }
