// Reading a measurement back from its JSON. Keys missing or of another kind throw inside and end
// the reading with the library's word on which.
#include "survey/measurement_reading.h"

#include <cstdlib>
#include <optional>
#include <utility>
#include <vector>

#include "analysis/resolve/resolve_measurement.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"
#include "analysis/centroid/centroid_measurement.h"

namespace {

using nlohmann::json;

AxisPosition AxisFromJson(const json& axis) {
    AxisPosition position;
    position.exact = axis.at("exact").get<bool>();
    position.sixteenths = position.exact ? axis.at("sixteenths").get<int>() : 0;
    position.low = axis.at("low").get<double>();
    position.high = axis.at("high").get<double>();
    return position;
}

std::vector<SamplePosition> SamplesFromJson(const json& list) {
    std::vector<SamplePosition> samples;
    for (const json& entry : list) {
        SamplePosition sample;
        const json& bit = entry.at("maskBit");
        sample.maskBit = bit.is_null() ? -1 : bit.get<int>();
        sample.x = AxisFromJson(entry.at("x"));
        sample.y = AxisFromJson(entry.at("y"));
        sample.count = entry.at("count").get<int>();
        samples.push_back(sample);
    }
    return samples;
}

std::optional<bool> OptionalVerdict(const json& value) {
    if (value.is_null()) return std::nullopt;
    return value.get<bool>();
}

// The enumerator whose name is text; fallback where none is.
template <typename Enum, size_t N>
Enum Named(const std::string& text, const std::pair<const char*, Enum> (&names)[N], Enum fallback) {
    for (const auto& name : names) {
        if (text == name.first) return name.second;
    }
    return fallback;
}

std::string StringOrEmpty(const json& value) { return value.is_string() ? value.get<std::string>() : std::string(); }

SampleMeasurement PositionsFromJson(const json& object) {
    static const std::pair<const char*, TextureSampling> kSampling[] = {
        {"oncePerPixel", TextureSampling::OncePerPixel}, {"perSample", TextureSampling::PerSample}};
    SampleMeasurement m;
    m.gridSize = object.at("gridSize").get<int>();
    m.samples = SamplesFromJson(object.at("samples"));
    m.distinctSamples = object.at("distinctSamples").get<int>();
    const json& texture = object.at("textureSampling");
    m.textureSampling = Named(texture.at("kind").get<std::string>(), kSampling, TextureSampling::NotMeasured);
    m.texturePositions = SamplesFromJson(texture.at("positions"));
    const json& verdicts = object.at("verdicts");
    m.standardPattern = verdicts.at("standardPattern").get<bool>();
    m.maskOrderStandard = OptionalVerdict(verdicts.at("maskOrderStandard"));
    m.allAtCentre = verdicts.at("allAtCentre").get<bool>();
    m.quadsDiffer = verdicts.at("quadsDiffer").get<bool>();
    m.resolveNotAverage = verdicts.at("resolveNotAverage").get<bool>();
    m.unionMatchesAllBits = OptionalVerdict(verdicts.at("unionMatchesAllBits"));
    m.picturesConsistent = verdicts.at("picturesConsistent").get<bool>();
    for (const json& quad : object.at("quads")) {
        m.quads.push_back({quad.at("parityX").get<int>(), quad.at("parityY").get<int>(), SamplesFromJson(quad.at("samples"))});
    }
    return m;
}

std::vector<LadderStep> LadderFromJson(const json& list) {
    std::vector<LadderStep> ladder;
    for (const json& step : list) ladder.push_back({step.at("covered").get<int>(), step.at("value").get<int>()});
    return ladder;
}

TransferVerdict TransferVerdictFromJson(const json& value) {
    static const std::pair<const char*, TransferVerdict> kNames[] = {
        {"stored", TransferVerdict::Stored}, {"linear", TransferVerdict::Linear}, {"other", TransferVerdict::Other}};
    return Named(StringOrEmpty(value), kNames, TransferVerdict::NotMeasured);
}

// CapsAnswerText's names, else its number.
long CapsAnswerFromText(const std::string& text) {
    if (text == "D3D_OK") return D3D_OK;
    if (text == "D3DERR_NOTAVAILABLE") return D3DERR_NOTAVAILABLE;
    if (text == "D3DERR_INVALIDCALL") return D3DERR_INVALIDCALL;
    return static_cast<long>(std::strtoul(text.c_str(), nullptr, 16));
}

ResolveMeasurement ResolveFromJson(const json& object) {
    ResolveMeasurement m;
    const json& transfer = object.at("transfer");
    m.transfer.verdict = TransferVerdictFromJson(transfer.at("verdict"));
    m.transfer.ladder = LadderFromJson(transfer.at("ladder"));
    m.transfer.grey = LadderFromJson(transfer.at("grey"));
    m.valueScale = transfer.at("valueScale").get<int>();
    m.greyDrawn = transfer.at("greyDrawn").get<int>();
    // The ladder climbs from no sample lit to every sample lit.
    m.colourSamples = m.transfer.ladder.empty() ? 0 : m.transfer.ladder.back().covered;
    const json& srgb = transfer.at("srgbWrite");
    if (!srgb.is_null()) {
        m.srgbWrite.tried = true;
        m.srgbWrite.capsAnswer = CapsAnswerFromText(srgb.at("capsAnswer").get<std::string>());
        m.srgbWrite.writeEncoded = srgb.at("writeEncoded").get<bool>();
        m.srgbWrite.curve.verdict = TransferVerdictFromJson(srgb.at("verdict"));
        m.srgbWrite.curve.ladder = LadderFromJson(srgb.at("ladder"));
        m.srgbWrite.curve.grey = LadderFromJson(srgb.at("grey"));
    }
    const json& alpha = transfer.at("alpha");
    if (!alpha.is_null()) {
        m.alpha.measured = true;
        m.alpha.valueScale = alpha.at("valueScale").get<int>();
        m.alpha.curve.verdict = TransferVerdictFromJson(alpha.at("verdict"));
        m.alpha.curve.ladder = LadderFromJson(alpha.at("ladder"));
    }

    static const std::pair<const char*, FootprintVerdict> kFootprint[] = {{"box", FootprintVerdict::Box},
                                                                         {"wider", FootprintVerdict::Wider}};
    const json& footprint = object.at("footprint");
    m.footprint.verdict = Named(StringOrEmpty(footprint.at("verdict")), kFootprint, FootprintVerdict::NotMeasured);
    const json& weights = footprint.at("weights");
    for (size_t row = 0; row < weights.size() && row < kFootprintSide; ++row) {
        for (size_t column = 0; column < weights[row].size() && column < kFootprintSide; ++column) {
            m.footprint.weights[row][column] = weights[row][column].get<int>();
        }
    }

    static const std::pair<const char*, CoverageVerdict> kCoverage[] = {
        {"equal", CoverageVerdict::Equal}, {"coverageMode", CoverageVerdict::CoverageMode}, {"fewer", CoverageVerdict::Fewer}};
    const json& coverage = object.at("coverage");
    m.coverage.levels = coverage.at("levels").get<int>();
    m.coverage.coverageSamples = coverage.at("coverageSamples").get<int>();
    m.coverage.colourSamples = coverage.at("colourSamples").get<int>();
    m.coverage.verdict = Named(StringOrEmpty(coverage.at("verdict")), kCoverage, CoverageVerdict::NotMeasured);
    for (const json& position : coverage.at("edgePositions")) {
        EdgeSweep sweep;
        sweep.edge = position.at("edge").get<std::string>();
        sweep.normalX = position.at("normal").at(0).get<double>();
        sweep.normalY = position.at("normal").at(1).get<double>();
        sweep.changes = position.at("changes").get<std::vector<double>>();
        m.coverage.sweeps.push_back(sweep);
    }
    return m;
}

AlphaToCoverageMeasurement AlphaToCoverageFromJson(const json& list) {
    static const std::pair<const char*, CoverageSwitch> kSwitches[] = {
        {"ATOC+alphaTest", CoverageSwitch::AtocWithAlphaTest}, {"ATOC", CoverageSwitch::Atoc}, {"A2M1", CoverageSwitch::A2m1}};
    static const std::pair<const char*, AlphaToCoverageVerdict> kVerdicts[] = {
        {"notOffered", AlphaToCoverageVerdict::NotOffered}, {"notApplied", AlphaToCoverageVerdict::NotApplied},
        {"thresholds", AlphaToCoverageVerdict::Thresholds}, {"dither", AlphaToCoverageVerdict::Dither}};
    AlphaToCoverageMeasurement m;
    for (const json& entry : list) {
        AlphaToCoverageMap map;
        map.coverageSwitch = Named(entry.at("switch").get<std::string>(), kSwitches, CoverageSwitch::Atoc);
        map.offered = entry.at("offered").get<bool>();
        map.verdict = Named(entry.at("verdict").get<std::string>(), kVerdicts, AlphaToCoverageVerdict::Other);
        for (const json& row : entry.at("thresholds")) {
            std::vector<std::vector<int>> pixels;
            for (const json& pixel : row) {
                std::vector<int> samples;
                for (const json& alpha : pixel) samples.push_back(alpha.is_null() ? kNeverCovered : alpha.get<int>());
                pixels.push_back(samples);
            }
            map.thresholds.push_back(pixels);
        }
        if (!map.thresholds.empty() && !map.thresholds[0].empty()) {
            map.samples = static_cast<int>(map.thresholds[0][0].size());
        }
        const json& dither = entry.at("dither");
        if (!dither.is_null()) {
            map.ditherWidth = dither.at("width").get<int>();
            map.ditherHeight = dither.at("height").get<int>();
        }
        m.switches.push_back(map);
    }
    return m;
}

// What CentroidVerdictText put in brackets or after its colon, which the JSON keeps only there.
std::string TextAfter(const std::string& text, const std::string& prefix, const std::string& suffix) {
    if (text.compare(0, prefix.size(), prefix) != 0 || text.size() < prefix.size() + suffix.size()) return std::string();
    if (text.compare(text.size() - suffix.size(), suffix.size(), suffix) != 0) return std::string();
    return text.substr(prefix.size(), text.size() - prefix.size() - suffix.size());
}

PixelPoint PointFromJson(const json& point) { return {point.at("x").get<double>(), point.at("y").get<double>()}; }

CentroidMeasurement CentroidFromJson(const json& object) {
    static const std::pair<const char*, CentroidVerdict> kVerdicts[] = {
        {"unavailable", CentroidVerdict::Unavailable}, {"centroid", CentroidVerdict::Centroid},
        {"coveredSample", CentroidVerdict::CoveredSample}, {"centre", CentroidVerdict::Centre}};
    CentroidMeasurement m;
    m.verdict = Named(object.at("verdict").get<std::string>(), kVerdicts, CentroidVerdict::Other);
    const std::string text = StringOrEmpty(object.at("text"));
    if (m.verdict == CentroidVerdict::Unavailable) m.unavailableReason = TextAfter(text, "not measured: ", "");
    if (m.verdict == CentroidVerdict::CoveredSample) {
        m.coveredSampleRule = TextAfter(text, "honoured: at a covered sample (", ")");
    }
    m.precision = object.at("precision").get<double>();
    for (const json& entry : object.at("cases")) {
        CentroidCase c;
        for (const json& bit : entry.at("covered")) c.covered |= 1u << bit.get<int>();
        c.centreCovered = entry.at("centreCovered").get<bool>();
        c.evaluated = PointFromJson(entry.at("evaluated"));
        c.plain = PointFromJson(entry.at("withoutCentroid"));
        const json& sample = entry.at("atSample");
        c.atSample = sample.is_null() ? -1 : sample.get<int>();
        m.cases.push_back(c);
    }
    return m;
}

AntialiasOffMeasurement AntialiasOffFromJson(const json& object, int gridSize) {
    static const std::pair<const char*, AntialiasOffVerdict> kVerdicts[] = {
        {"notMeasured", AntialiasOffVerdict::NotMeasured}, {"centre", AntialiasOffVerdict::Centre},
        {"unchanged", AntialiasOffVerdict::Unchanged}};
    AntialiasOffMeasurement m;
    m.verdict = Named(object.at("verdict").get<std::string>(), kVerdicts, AntialiasOffVerdict::Other);
    m.positions.gridSize = gridSize;  // measured on the same tile as the positions
    m.positions.samples = SamplesFromJson(object.at("samples"));
    return m;
}

}  // namespace

bool MeasurementFromJson(const json& object, ModeMeasurement* measurement, std::string* error) {
    try {
        ModeMeasurement read;
        read.mode = measurement->mode;
        read.samplePositions = PositionsFromJson(object.at("samplePositions"));
        read.resolve = ResolveFromJson(object.at("resolve"));
        read.alphaToCoverage = AlphaToCoverageFromJson(object.at("alphaToCoverage"));
        read.centroid = CentroidFromJson(object.at("centroid"));
        read.antialiasOff = AntialiasOffFromJson(object.at("antialiasOff"), read.samplePositions.gridSize);
        *measurement = read;
        return true;
    } catch (const json::exception& e) {
        *error = e.what();
        return false;
    }
}
