// The position measurement's JSON, both ways.
#include "analysis/positions/positions_json.h"

#include "analysis/session/json_names.h"

namespace {

using nlohmann::json;

const JsonName<TextureSampling> kTextureSamplingNames[] = {
    {TextureSampling::NotMeasured, "notMeasured"},
    {TextureSampling::OncePerPixel, "oncePerPixel"},
    {TextureSampling::PerSample, "perSample"},
};

json SampleToJson(const SamplePosition& sample, int gridSize) {
    return json{
        {"maskBit", sample.maskBit >= 0 ? json(sample.maskBit) : json(nullptr)},
        {"x", AxisToJson(sample.x, gridSize)},
        {"y", AxisToJson(sample.y, gridSize)},
        {"count", sample.count},
    };
}

AxisPosition AxisFromJson(const json& in) {
    AxisPosition axis;
    axis.exact = in.at("exact").get<bool>();
    axis.sixteenths = axis.exact ? in.at("sixteenths").get<int>() : 0;
    axis.low = in.at("low").get<double>();
    axis.high = in.at("high").get<double>();
    return axis;
}

json Verdict(const std::optional<bool>& verdict) { return verdict ? json(*verdict) : json(nullptr); }

std::optional<bool> VerdictFromJson(const json& in) {
    return in.is_null() ? std::optional<bool>() : std::optional<bool>(in.get<bool>());
}

}  // namespace

json TextureSamplingJsonName(TextureSampling sampling) { return JsonNameOf(kTextureSamplingNames, sampling); }

json AxisToJson(const AxisPosition& axis, int gridSize) {
    const int denominator = IntervalDenominator(axis.low, axis.high, gridSize);
    return json{
        {"exact", axis.exact},
        {"sixteenths", axis.exact ? json(axis.sixteenths) : json(nullptr)},
        {"low", ResolvedEnd(axis.low, denominator)},
        {"high", ResolvedEnd(axis.high, denominator)},
    };
}

json SamplesToJson(const std::vector<SamplePosition>& samples, int gridSize) {
    json list = json::array();
    for (const SamplePosition& sample : samples) list.push_back(SampleToJson(sample, gridSize));
    return list;
}

std::vector<SamplePosition> SamplesFromJson(const json& list) {
    std::vector<SamplePosition> samples;
    for (const json& entry : list) {
        SamplePosition sample;
        const json& maskBit = entry.at("maskBit");
        sample.maskBit = maskBit.is_null() ? -1 : maskBit.get<int>();
        sample.x = AxisFromJson(entry.at("x"));
        sample.y = AxisFromJson(entry.at("y"));
        sample.count = entry.at("count").get<int>();
        samples.push_back(sample);
    }
    return samples;
}

void to_json(json& out, const SampleMeasurement& m) {
    json quads = json::array();
    for (const QuadPositions& quad : m.quads) {
        quads.push_back(json{
            {"parityX", quad.parityX},
            {"parityY", quad.parityY},
            {"samples", SamplesToJson(quad.samples, m.gridSize)},
        });
    }
    out = json{
        {"gridSize", m.gridSize},
        {"samples", SamplesToJson(m.samples, m.gridSize)},
        {"distinctSamples", m.distinctSamples},
        {"textureSampling",
         {
             {"kind", JsonNameOf(kTextureSamplingNames, m.textureSampling)},
             {"text", TextureSamplingText(m)},
             {"positions", SamplesToJson(m.texturePositions, m.gridSize)},
         }},
        {"verdict", VerdictText(m)},
        {"verdicts",
         {
             {"standardPattern", m.standardPattern},
             {"maskOrderStandard", Verdict(m.maskOrderStandard)},
             {"allAtCentre", m.allAtCentre},
             {"quadsDiffer", m.quadsDiffer},
             {"resolveNotAverage", m.resolveNotAverage},
             {"unionMatchesAllBits", Verdict(m.unionMatchesAllBits)},
             {"picturesConsistent", m.picturesConsistent},
         }},
        {"quads", quads},
    };
}

void from_json(const json& in, SampleMeasurement& m) {
    m = SampleMeasurement();
    m.gridSize = in.at("gridSize").get<int>();
    m.samples = SamplesFromJson(in.at("samples"));
    m.distinctSamples = in.at("distinctSamples").get<int>();
    const json& texture = in.at("textureSampling");
    m.textureSampling = JsonValueOf(kTextureSamplingNames, texture.at("kind"));
    m.texturePositions = SamplesFromJson(texture.at("positions"));
    const json& verdicts = in.at("verdicts");
    m.standardPattern = verdicts.at("standardPattern").get<bool>();
    m.maskOrderStandard = VerdictFromJson(verdicts.at("maskOrderStandard"));
    m.allAtCentre = verdicts.at("allAtCentre").get<bool>();
    m.quadsDiffer = verdicts.at("quadsDiffer").get<bool>();
    m.resolveNotAverage = verdicts.at("resolveNotAverage").get<bool>();
    m.unionMatchesAllBits = VerdictFromJson(verdicts.at("unionMatchesAllBits"));
    m.picturesConsistent = verdicts.at("picturesConsistent").get<bool>();
    for (const json& entry : in.at("quads")) {
        QuadPositions quad;
        quad.parityX = entry.at("parityX").get<int>();
        quad.parityY = entry.at("parityY").get<int>();
        quad.samples = SamplesFromJson(entry.at("samples"));
        m.quads.push_back(quad);
    }
}

json SamplePositionsToJson(const SampleMeasurement& measurement) { return json(measurement); }
