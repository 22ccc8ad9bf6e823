// The centroid measurement as JSON.
#include "analysis/centroid/centroid_json.h"

#include <cmath>

#include "analysis/session/measurement_json.h"

namespace {

using nlohmann::json;

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
