// The centroid measurement's JSON, both ways.
#include "analysis/centroid/centroid_json.h"

#include <cmath>

#include "analysis/session/json_names.h"
#include "analysis/session/switch_finding_json.h"

namespace {

using nlohmann::json;

const JsonName<CentroidVerdict> kVerdictNames[] = {
    {CentroidVerdict::Unavailable, "unavailable"},
    {CentroidVerdict::Centroid, "centroid"},
    {CentroidVerdict::CoveredSample, "coveredSample"},
    {CentroidVerdict::Centre, "centre"},
    {CentroidVerdict::Other, "other"},
};

// The read-back is good to about 1/100 pixel: 1/1024 steps keep every digit that means something
// and none of the float noise.
json Point(const PixelPoint& point) {
    const auto round = [](double value) { return std::round(value * 1024.0) / 1024.0; };
    return json{{"x", round(point.x)}, {"y", round(point.y)}};
}

PixelPoint PointFromJson(const json& in) { return PixelPoint{in.at("x").get<double>(), in.at("y").get<double>()}; }

json MaskBits(unsigned mask) {
    json bits = json::array();
    for (int bit = 0; bit < 32; ++bit) {
        if (mask >> bit & 1u) bits.push_back(bit);
    }
    return bits;
}

unsigned MaskFromJson(const json& bits) {
    unsigned mask = 0;
    for (const json& bit : bits) mask |= 1u << bit.get<int>();
    return mask;
}

}  // namespace

json CentroidVerdictJsonName(CentroidVerdict verdict) { return JsonNameOf(kVerdictNames, verdict); }

void to_json(json& out, const CentroidMeasurement& m) {
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
    json models = json::array();
    for (const CentroidShaderModel& model : m.shaderModels) {
        models.push_back(json{
            {"shaderModel", model.shaderModel},
            {"caps", model.caps},
            {"verdict", JsonNameOf(kVerdictNames, model.verdict)},
            {"coveredSampleRule", model.verdict == CentroidVerdict::CoveredSample ? json(model.coveredSampleRule)
                                                                                  : json(nullptr)},
            {"text", CentroidShaderModelText(model)},
        });
    }
    out = json{
        {"verdict", JsonNameOf(kVerdictNames, m.verdict)},
        {"text", CentroidVerdictText(m)},
        {"precision", std::ceil(m.precision * 1024.0) / 1024.0},
        {"cases", cases},
    };
    // An older file read back has none, and is written again as it was.
    if (!models.empty()) out["shaderModels"] = models;
}

void from_json(const json& in, CentroidMeasurement& m) {
    m = CentroidMeasurement();
    m.verdict = JsonValueOf(kVerdictNames, in.at("verdict"));
    const std::string text = in.at("text").get<std::string>();
    const std::string reasonFollows = "not measured: ";
    if (m.verdict == CentroidVerdict::Unavailable && text.compare(0, reasonFollows.size(), reasonFollows) == 0) {
        m.unavailableReason = text.substr(reasonFollows.size());
    }
    m.precision = in.at("precision").get<double>();
    for (const json& entry : in.at("cases")) {
        CentroidCase c;
        c.covered = MaskFromJson(entry.at("covered"));
        c.centreCovered = entry.at("centreCovered").get<bool>();
        c.evaluated = PointFromJson(entry.at("evaluated"));
        c.plain = PointFromJson(entry.at("withoutCentroid"));
        const json& atSample = entry.at("atSample");
        c.atSample = atSample.is_null() ? -1 : atSample.get<int>();
        m.cases.push_back(c);
    }
    if (m.verdict == CentroidVerdict::CoveredSample) m.coveredSampleRule = CoveredSampleRule(m.cases);
    // Older files tried ps_3_0 alone and have no list.
    const auto models = in.find("shaderModels");
    if (models == in.end()) return;
    for (const json& entry : *models) {
        CentroidShaderModel model;
        model.shaderModel = entry.at("shaderModel").get<std::string>();
        entry.at("caps").get_to(model.caps);
        model.verdict = JsonValueOf(kVerdictNames, entry.at("verdict"));
        if (model.verdict == CentroidVerdict::CoveredSample) {
            model.coveredSampleRule = entry.at("coveredSampleRule").get<std::string>();
        }
        m.shaderModels.push_back(model);
    }
}

json CentroidToJson(const CentroidMeasurement& measurement) { return json(measurement); }
