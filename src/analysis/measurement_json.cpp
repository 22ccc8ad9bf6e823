// A measurement as JSON, for the dialog's Save and the survey's report.
#include "analysis/measurement_json.h"

#include <windows.h>
#include <d3d9.h>

#include "enumeration/value_names.h"

namespace {

using nlohmann::json;

json AxisToJson(const AxisPosition& axis) {
    return json{
        {"exact", axis.exact},
        {"sixteenths", axis.exact ? json(axis.sixteenths) : json(nullptr)},
        {"low", axis.low},
        {"high", axis.high},
    };
}

json SampleToJson(const SamplePosition& sample) {
    return json{
        {"maskBit", sample.maskBit >= 0 ? json(sample.maskBit) : json(nullptr)},
        {"x", AxisToJson(sample.x)},
        {"y", AxisToJson(sample.y)},
        {"weight", sample.weight},
    };
}

const char* TextureSamplingName(TextureSampling sampling) {
    switch (sampling) {
    case TextureSampling::OncePerPixel: return "oncePerPixel";
    case TextureSampling::PerSample: return "perSample";
    case TextureSampling::NotMeasured: break;
    }
    return "notMeasured";
}

}  // namespace

json SamplesToJson(const std::vector<SamplePosition>& samples) {
    json list = json::array();
    for (const SamplePosition& sample : samples) list.push_back(SampleToJson(sample));
    return list;
}

json MeasurementToJson(const SampleMeasurement& m) {
    json quads = json::array();
    for (const QuadPositions& quad : m.quads) {
        quads.push_back(json{
            {"parityX", quad.parityX},
            {"parityY", quad.parityY},
            {"samples", SamplesToJson(quad.samples)},
        });
    }
    return json{
        {"mode",
         {
             {"multisampleType", m.multisampleType},
             {"multisampleTypeText",
              MultisampleTypeText(static_cast<D3DMULTISAMPLE_TYPE>(m.multisampleType))},
             {"multisampleQuality", m.multisampleQuality},
             {"maskable", m.maskable},
             {"gridSize", m.gridSize},
         }},
        {"samples", SamplesToJson(m.samples)},
        {"distinctSamples", m.distinctSamples},
        {"textureSampling",
         {
             {"kind", TextureSamplingName(m.textureSampling)},
             {"text", TextureSamplingText(m)},
             {"positions", SamplesToJson(m.texturePositions)},
         }},
        {"verdict", VerdictText(m)},
        {"verdicts",
         {
             {"standardPattern", m.standardPattern},
             {"maskOrderStandard", m.maskOrderStandard},
             {"allAtCentre", m.allAtCentre},
             {"quadsDiffer", m.quadsDiffer},
             {"resolveNotAverage", m.resolveNotAverage},
             {"unionMatchesAllBits", m.unionMatchesAllBits},
             {"picturesConsistent", m.picturesConsistent},
         }},
        {"quads", quads},
        {"milliseconds", m.milliseconds},
    };
}
