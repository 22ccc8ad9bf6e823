// The per-sample measurements as JSON for the dialog's Save and the survey's report.
#include "analysis/sample_coverage_json.h"

#include <cmath>

#include "analysis/measurement_json.h"

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

const char* VerdictName(CentroidVerdict verdict) {
    switch (verdict) {
    case CentroidVerdict::Unavailable: return "unavailable";
    case CentroidVerdict::Centroid: return "centroid";
    case CentroidVerdict::CoveredSample: return "coveredSample";
    case CentroidVerdict::Centre: return "centre";
    case CentroidVerdict::Other: break;
    }
    return "other";
}

const char* VerdictName(AntialiasOffVerdict verdict) {
    switch (verdict) {
    case AntialiasOffVerdict::NotMeasured: return "notMeasured";
    case AntialiasOffVerdict::Centre: return "centre";
    case AntialiasOffVerdict::Unchanged: return "unchanged";
    case AntialiasOffVerdict::Other: break;
    }
    return "other";
}

// The read-back is good to about 1/100 pixel: 1/1024 steps keep every digit that means something
// and none of the float noise.
json Point(const PixelPoint& point) {
    const auto round = [](double value) { return std::round(value * 1024.0) / 1024.0; };
    return json{{"x", round(point.x)}, {"y", round(point.y)}};
}

json MaskBits(unsigned mask) {
    json bits = json::array();
    for (int bit = 0; bit < 32; ++bit) {
        if (mask >> bit & 1u) bits.push_back(bit);
    }
    return bits;
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

json CentroidToJson(const CentroidMeasurement& m) {
    json cases = json::array();
    for (const CentroidCase& c : m.cases) {
        cases.push_back(json{
            {"covered", MaskBits(c.covered)},
            {"centreCovered", c.centreCovered},
            {"evaluated", Point(c.evaluated)},
            {"withoutCentroid", Point(c.plain)},
            {"atSample", c.atSample >= 0 ? json(c.atSample) : json(nullptr)},
        });
    }
    return json{
        {"verdict", VerdictName(m.verdict)},
        {"text", CentroidVerdictText(m)},
        {"precision", std::ceil(m.precision * 1024.0) / 1024.0},
        {"cases", cases},
    };
}

json AntialiasOffToJson(const AntialiasOffMeasurement& m) {
    return json{
        {"verdict", VerdictName(m.verdict)},
        {"text", AntialiasOffVerdictText(m)},
        {"samples", SamplesToJson(m.positions.samples, m.positions.gridSize)},
    };
}
