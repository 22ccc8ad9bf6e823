// The measurement's JSON, shared by the dialog's Save and the survey's report.
#include "analysis/session/measurement_json.h"

#include <cmath>
#include <cstdio>

#include "analysis/resolve/resolve_json.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_json.h"
#include "analysis/centroid/centroid_json.h"
#include "analysis/antialias_off/antialias_off_json.h"
#include "enumeration/value_names.h"

namespace {

using nlohmann::json;

std::string Hex(DWORD value, int digits) {
    char text[16];
    std::snprintf(text, sizeof(text), "0x%0*lX", digits, static_cast<unsigned long>(value));
    return text;
}

json AxisToJson(const AxisPosition& axis, int gridSize) {
    const int denominator = IntervalDenominator(axis.low, axis.high, gridSize);
    return json{
        {"exact", axis.exact},
        {"sixteenths", axis.exact ? json(axis.sixteenths) : json(nullptr)},
        {"low", ResolvedEnd(axis.low, denominator)},
        {"high", ResolvedEnd(axis.high, denominator)},
    };
}

json SampleToJson(const SamplePosition& sample, int gridSize) {
    return json{
        {"maskBit", sample.maskBit >= 0 ? json(sample.maskBit) : json(nullptr)},
        {"x", AxisToJson(sample.x, gridSize)},
        {"y", AxisToJson(sample.y, gridSize)},
        {"count", sample.count},
    };
}

}  // namespace

json SamplesToJson(const std::vector<SamplePosition>& samples, int gridSize) {
    json list = json::array();
    for (const SamplePosition& sample : samples) list.push_back(SampleToJson(sample, gridSize));
    return list;
}

namespace {

const char* TextureSamplingName(TextureSampling sampling) {
    switch (sampling) {
    case TextureSampling::OncePerPixel: return "oncePerPixel";
    case TextureSampling::PerSample: return "perSample";
    case TextureSampling::NotMeasured: break;
    }
    return "notMeasured";
}

json Verdict(const std::optional<bool>& verdict) { return verdict ? json(*verdict) : json(nullptr); }

}  // namespace

json AdapterToJson(const AdapterDescription& adapter) {
    return json{
        {"ordinal", adapter.ordinal},
        {"description", adapter.description},
        {"driver", adapter.driver},
        {"deviceName", adapter.deviceName},
        {"driverVersion", adapter.driverVersion},
        {"vendorId", Hex(adapter.vendorId, 4)},
        {"deviceId", Hex(adapter.deviceId, 4)},
        {"subSysId", Hex(adapter.subSysId, 8)},
        {"revision", adapter.revision},
        {"whqlLevel", adapter.whqlLevel},
        {"deviceIdentifier", adapter.deviceIdentifier},
        {"desktopFormat", FormatText(adapter.desktopFormat, true)},
    };
}

json ModeToJson(D3DDEVTYPE deviceType, D3DFORMAT adapterFormat, const MultisampleMode& mode) {
    return json{
        {"deviceType", DeviceTypeText(deviceType)},
        {"adapterFormat", FormatText(adapterFormat, true)},
        {"backBufferFormat", FormatText(mode.format, true)},
        {"multisampleType", mode.TypeName()},
        {"multisampleTypeValue", static_cast<int>(mode.type)},
        {"multisampleQuality", mode.quality},
        {"maskable", mode.Maskable()},
    };
}

json MeasurementToJson(const ModeMeasurement& measurement) {
    return json{
        {"samplePositions", SamplePositionsToJson(measurement.samplePositions)},
        {"resolve", ResolveToJson(measurement.resolve)},
        {"alphaToCoverage", AlphaToCoverageToJson(measurement.alphaToCoverage)},
        {"centroid", CentroidToJson(measurement.centroid)},
        {"antialiasOff", AntialiasOffToJson(measurement.antialiasOff)},
    };
}

json SamplePositionsToJson(const SampleMeasurement& m) {
    json quads = json::array();
    for (const QuadPositions& quad : m.quads) {
        quads.push_back(json{
            {"parityX", quad.parityX},
            {"parityY", quad.parityY},
            {"samples", SamplesToJson(quad.samples, m.gridSize)},
        });
    }
    return json{
        {"gridSize", m.gridSize},
        {"samples", SamplesToJson(m.samples, m.gridSize)},
        {"distinctSamples", m.distinctSamples},
        {"textureSampling",
         {
             {"kind", TextureSamplingName(m.textureSampling)},
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

double RoundedMilliseconds(double milliseconds) { return std::round(milliseconds * 10.0) / 10.0; }
