// The alpha-to-coverage measurement as JSON.
#include "analysis/alpha_to_coverage/alpha_to_coverage_json.h"

#include "analysis/session/measurement_json.h"

namespace {

using nlohmann::json;

const char* VerdictName(AlphaToCoverageVerdict verdict) {
    switch (verdict) {
    case AlphaToCoverageVerdict::NotOffered: return "notOffered";
    case AlphaToCoverageVerdict::NotApplied: return "notApplied";
    case AlphaToCoverageVerdict::Thresholds: return "thresholds";
    case AlphaToCoverageVerdict::Dither: return "dither";
    case AlphaToCoverageVerdict::Other: break;
    }
    return "other";
}

}  // namespace

json AlphaToCoverageToJson(const AlphaToCoverageMeasurement& m) {
    json list = json::array();
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
        list.push_back(json{
            {"switch", CoverageSwitchName(map.coverageSwitch)},
            {"offered", map.offered},
            {"verdict", VerdictName(map.verdict)},
            {"text", AlphaToCoverageVerdictText(map)},
            {"thresholds", thresholds},
            {"dither", map.verdict == AlphaToCoverageVerdict::Dither
                           ? json{{"width", map.ditherWidth}, {"height", map.ditherHeight}}
                           : json(nullptr)},
        });
    }
    return list;
}
