// Comparing two position measurements: positions by interval, everything else as values.
#include "analysis/positions/positions_comparison.h"

#include <cstdio>

#include "analysis/positions/positions_json.h"

namespace {

using nlohmann::json;
using Pointer = json::json_pointer;

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.4g", value);
    return text;
}

// "10/16 [0.6133, 0.6445)": the 1/16 step where the position is exact, always the interval.
std::string IntervalText(const json& axis) {
    const std::string step = axis["exact"] == true ? axis["sixteenths"].dump() + "/16 " : std::string();
    return step + "[" + Number(axis["low"].get<double>()) + ", " + Number(axis["high"].get<double>()) + ")";
}

void CompareAxes(const json& was, const json& now, const std::string& location, const Pointer& path,
                 DifferenceList* differences) {
    const double wasLow = was["low"].get<double>(), wasHigh = was["high"].get<double>();
    const double nowLow = now["low"].get<double>(), nowHigh = now["high"].get<double>();
    if (wasLow < nowHigh && nowLow < wasHigh) return;
    differences->Add(location, "was " + IntervalText(was) + " now " + IntervalText(now), path, was, now);
}

json MaskBit(const SamplePosition& sample) { return sample.maskBit >= 0 ? json(sample.maskBit) : json(nullptr); }

json Verdict(const std::optional<bool>& verdict) { return verdict ? json(*verdict) : json(nullptr); }

}  // namespace

void CompareSampleLists(const std::vector<SamplePosition>& was, int wasGridSize, const std::vector<SamplePosition>& now,
                        int nowGridSize, const std::string& parent, const std::string& key, const Pointer& path,
                        DifferenceList* differences) {
    const Pointer list = path / key;
    differences->CompareCounts(JoinedLocation(parent, key), list, was.size(), now.size());
    const std::string singular = key.substr(0, key.size() - 1);
    for (size_t i = 0; i < was.size() && i < now.size(); ++i) {
        std::string name = JoinedLocation(parent, singular + " " + std::to_string(i));
        if (now[i].maskBit >= 0) name += " (mask bit " + std::to_string(now[i].maskBit) + ")";
        const Pointer at = list / i;
        differences->CompareValues(JoinedLocation(name, "count"), at / "count", was[i].count, now[i].count);
        differences->CompareValues(JoinedLocation(name, "maskBit"), at / "maskBit", MaskBit(was[i]), MaskBit(now[i]));
        CompareAxes(AxisToJson(was[i].x, wasGridSize), AxisToJson(now[i].x, nowGridSize), JoinedLocation(name, "x"),
                    at / "x", differences);
        CompareAxes(AxisToJson(was[i].y, wasGridSize), AxisToJson(now[i].y, nowGridSize), JoinedLocation(name, "y"),
                    at / "y", differences);
    }
}

void ComparePositions(const SampleMeasurement& was, const SampleMeasurement& now, DifferenceList* differences) {
    const Pointer root;
    differences->CompareValues("distinctSamples", root / "distinctSamples", was.distinctSamples, now.distinctSamples);
    differences->CompareValues("gridSize", root / "gridSize", was.gridSize, now.gridSize);

    differences->CompareCounts("quads", root / "quads", was.quads.size(), now.quads.size());
    for (size_t i = 0; i < was.quads.size() && i < now.quads.size(); ++i) {
        const QuadPositions& a = was.quads[i];
        const QuadPositions& b = now.quads[i];
        const std::string name = "quad (" + std::to_string(b.parityX) + ", " + std::to_string(b.parityY) + ")";
        const Pointer at = root / "quads" / i;
        differences->CompareValues(JoinedLocation(name, "parityX"), at / "parityX", a.parityX, b.parityX);
        differences->CompareValues(JoinedLocation(name, "parityY"), at / "parityY", a.parityY, b.parityY);
        CompareSampleLists(a.samples, was.gridSize, b.samples, now.gridSize, name, "samples", at, differences);
    }

    CompareSampleLists(was.samples, was.gridSize, now.samples, now.gridSize, std::string(), "samples", root, differences);

    const Pointer texture = root / "textureSampling";
    differences->CompareValues("textureSampling.kind", texture / "kind", TextureSamplingJsonName(was.textureSampling),
                               TextureSamplingJsonName(now.textureSampling));
    CompareSampleLists(was.texturePositions, was.gridSize, now.texturePositions, now.gridSize, "textureSampling",
                       "positions", texture, differences);

    const struct {
        const char* key;
        json was, now;
    } verdicts[] = {
        {"allAtCentre", was.allAtCentre, now.allAtCentre},
        {"maskOrderStandard", Verdict(was.maskOrderStandard), Verdict(now.maskOrderStandard)},
        {"picturesConsistent", was.picturesConsistent, now.picturesConsistent},
        {"quadsDiffer", was.quadsDiffer, now.quadsDiffer},
        {"resolveNotAverage", was.resolveNotAverage, now.resolveNotAverage},
        {"standardPattern", was.standardPattern, now.standardPattern},
        {"unionMatchesAllBits", Verdict(was.unionMatchesAllBits), Verdict(now.unionMatchesAllBits)},
    };
    for (const auto& verdict : verdicts) {
        differences->CompareValues(std::string("verdicts.") + verdict.key, root / "verdicts" / verdict.key, verdict.was,
                                   verdict.now);
    }
}
