// The multisampling-off measurement as JSON.
#include "analysis/antialias_off/antialias_off_json.h"

#include "analysis/session/measurement_json.h"

namespace {

using nlohmann::json;

const char* VerdictName(AntialiasOffVerdict verdict) {
    switch (verdict) {
    case AntialiasOffVerdict::NotMeasured: return "notMeasured";
    case AntialiasOffVerdict::Centre: return "centre";
    case AntialiasOffVerdict::Unchanged: return "unchanged";
    case AntialiasOffVerdict::Other: break;
    }
    return "other";
}

}  // namespace

json AntialiasOffToJson(const AntialiasOffMeasurement& m) {
    return json{
        {"verdict", VerdictName(m.verdict)},
        {"text", AntialiasOffVerdictText(m)},
        {"samples", SamplesToJson(m.positions.samples, m.positions.gridSize)},
    };
}
