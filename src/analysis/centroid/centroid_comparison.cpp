// Comparing two centroid measurements within the read-back's precision.
#include "analysis/centroid/centroid_comparison.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "analysis/centroid/centroid_json.h"
#include "analysis/session/switch_finding_json.h"

namespace {

using nlohmann::json;
using Pointer = json::json_pointer;

json MaskBits(unsigned mask) {
    json bits = json::array();
    for (int bit = 0; bit < 32; ++bit) {
        if (mask >> bit & 1u) bits.push_back(bit);
    }
    return bits;
}

json Sample(int atSample) { return atSample >= 0 ? json(atSample) : json(nullptr); }

// As written: 1/1024 pixel.
double Rounded(double value) { return std::round(value * 1024.0) / 1024.0; }

void ComparePoints(const PixelPoint& was, const PixelPoint& now, const std::string& name, const Pointer& path,
                   double precision, DifferenceList* differences) {
    differences->CompareWithin(name + ".x", path / "x", Rounded(was.x), Rounded(now.x), precision);
    differences->CompareWithin(name + ".y", path / "y", Rounded(was.y), Rounded(now.y), precision);
}

}  // namespace

void CompareCentroid(const CentroidMeasurement& was, const CentroidMeasurement& now, DifferenceList* differences) {
    const Pointer root;
    const double precision = std::max(was.precision, now.precision);
    differences->CompareEach("cases", root / "cases", was.cases, now.cases,
                             [&](const std::string& name, const Pointer& at, const CentroidCase& a,
                                 const CentroidCase& b) {
        differences->CompareValues(name + ".atSample", at / "atSample", Sample(a.atSample), Sample(b.atSample));
        differences->CompareValues(name + ".centreCovered", at / "centreCovered", a.centreCovered, b.centreCovered);
        differences->CompareValues(name + ".covered", at / "covered", MaskBits(a.covered), MaskBits(b.covered));
        ComparePoints(a.evaluated, b.evaluated, name + ".evaluated", at / "evaluated", precision, differences);
        ComparePoints(a.plain, b.plain, name + ".withoutCentroid", at / "withoutCentroid", precision, differences);
    });
    // Both are parts of the text, the one place the JSON states them.
    if (was.verdict == CentroidVerdict::CoveredSample && now.verdict == CentroidVerdict::CoveredSample) {
        differences->CompareValues("coveredSampleRule", root / "text", was.coveredSampleRule, now.coveredSampleRule);
    }
    if (was.verdict == CentroidVerdict::Unavailable && now.verdict == CentroidVerdict::Unavailable) {
        differences->CompareValues("unavailableReason", root / "text", was.unavailableReason, now.unavailableReason);
    }
    differences->CompareValues("verdict", root / "verdict", CentroidVerdictJsonName(was.verdict),
                               CentroidVerdictJsonName(now.verdict));
    // Older files tried one model and list none: nothing to hold the list against.
    if (was.shaderModels.empty() || now.shaderModels.empty()) return;
    differences->CompareEach("shaderModels", root / "shaderModels", was.shaderModels, now.shaderModels,
                             [&](const std::string& name, const Pointer& at, const CentroidShaderModel& a,
                                 const CentroidShaderModel& b) {
        differences->CompareValues(name + ".shaderModel", at / "shaderModel", a.shaderModel, b.shaderModel);
        differences->CompareValues(name + ".verdict", at / "verdict", CentroidVerdictJsonName(a.verdict),
                                   CentroidVerdictJsonName(b.verdict));
        CompareSwitchFindings(a.caps, b.caps, name + ".caps", at / "caps", differences);
    });
}
