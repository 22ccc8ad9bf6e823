// The sample-position measurement told as facts, a table and a diagram.
#include "analysis/positions/positions_view.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "analysis/positions/standard_sample_patterns.h"

namespace {

std::string YesNo(bool value) { return value ? "yes" : "no"; }

std::string OptionalText(const std::optional<bool>& value) {
    return value ? YesNo(*value) : std::string("does not apply");
}

ViewAxis AxisOf(const AxisPosition& axis) {
    if (axis.exact) return {axis.sixteenths / 16.0, (axis.sixteenths + 1) / 16.0, true};
    return {axis.low, axis.high, false};
}

// The mask bit, and a maskless sample's place in the list.
std::string PointLabel(const SamplePosition& sample, size_t index) {
    return std::to_string(sample.maskBit >= 0 ? sample.maskBit : static_cast<int>(index));
}

// Why a sample has no mask bit: at 1x there is one sample and nothing for the mask to pick out;
// the non-maskable type's samples are not reached by single bits.
std::string MaskBitCell(const MultisampleMode& mode, const SamplePosition& sample) {
    if (sample.maskBit >= 0) return std::to_string(sample.maskBit);
    if (mode.Maskable()) return std::string();
    return mode.type == D3DMULTISAMPLE_NONE ? "none: one sample" : "none: not maskable";
}

std::vector<std::string> SampleRow(const ModeMeasurement& measurement, const std::string& name,
                                   const SamplePosition& sample) {
    const SampleMeasurement& m = measurement.samplePositions;
    return {
        name,
        MaskBitCell(measurement.mode, sample),
        SixteenthsText(sample.x, m.gridSize),
        SixteenthsText(sample.y, m.gridSize),
        PixelFractionText(sample.x),
        PixelFractionText(sample.y),
        std::to_string(sample.count),
    };
}

}  // namespace

std::string SampleNotes(const ModeMeasurement& measurement) {
    const SampleMeasurement& m = measurement.samplePositions;
    std::string notes;
    if (!measurement.mode.Maskable()) {
        notes = measurement.mode.type == D3DMULTISAMPLE_NONE
                    ? "No mask bit: one sample, and without multisampling the mask picks out none"
                    : "No mask bits: the non-maskable type's samples cannot be picked out by the "
                      "mask; they are numbered top to bottom, left to right";
    } else if (m.standardPattern && m.samples.size() > 1) {
        notes = m.maskOrderStandard == true ? "The mask bits pick the samples in the standard order"
                                            : "The mask bits pick the samples in another order than the "
                                              "standard one";
    }
    if (m.unionMatchesAllBits == false) {
        notes += notes.empty() ? "The" : "; the";
        notes += " per-bit pictures do not add up to the all-bits picture";
    }
    if (!m.picturesConsistent) {
        notes += notes.empty() ? "Some" : "; some";
        notes += " pictures are not made of whole point squares";
    }
    return notes;
}

ViewTable SampleTableFor(const ModeMeasurement& measurement) {
    const SampleMeasurement& m = measurement.samplePositions;
    ViewTable table;
    table.caption = "Samples, in 1/16 pixel and as fractions of a pixel from its top-left corner";
    table.header = {"Sample", "Mask bit", "x (1/16)", "y (1/16)", "x (pixel)", "y (pixel)", "Count"};
    for (size_t i = 0; i < m.samples.size(); ++i) {
        table.rows.push_back(SampleRow(measurement, std::to_string(i), m.samples[i]));
    }
    if (m.quadsDiffer) {
        for (const QuadPositions& quad : m.quads) {
            for (size_t i = 0; i < quad.samples.size(); ++i) {
                char name[64];
                std::snprintf(name, sizeof name, "%u in pixel (%d, %d)", static_cast<unsigned>(i), quad.parityX,
                              quad.parityY);
                table.rows.push_back(SampleRow(measurement, name, quad.samples[i]));
            }
        }
    }
    return table;
}

std::string SampleCountText(const ModeMeasurement& measurement) {
    const SampleMeasurement& positions = measurement.samplePositions;
    int count = 0;
    for (const SamplePosition& sample : positions.samples) count += measurement.mode.Maskable() ? 1 : sample.count;
    std::string text = std::to_string(count) + (count == 1 ? " sample" : " samples");
    if (positions.distinctSamples > 0 && positions.distinctSamples < count) {
        text += " (" + std::to_string(positions.distinctSamples) + " distinct)";
    }
    return text;
}

std::string PositionsText(const ModeMeasurement& measurement) {
    const bool maskable = measurement.mode.Maskable();
    const SampleMeasurement& positions = measurement.samplePositions;
    std::string text;
    for (const SamplePosition& sample : positions.samples) {
        if (!text.empty()) text += " ";
        if (maskable && sample.maskBit >= 0) text += std::to_string(sample.maskBit) + ":";
        text += PointText(sample, positions.gridSize);
        if (!maskable && sample.count > 1) text += "x" + std::to_string(sample.count);
    }
    return text;
}

std::vector<ViewPoint> ViewPoints(const std::vector<SamplePosition>& samples) {
    std::vector<ViewPoint> points;
    for (size_t i = 0; i < samples.size(); ++i) {
        points.push_back({PointLabel(samples[i], i), AxisOf(samples[i].x), AxisOf(samples[i].y), samples[i].count});
    }
    return points;
}

std::vector<ViewPoint> JoinCoincident(const std::vector<ViewPoint>& points) {
    const auto sameAxis = [](const ViewAxis& a, const ViewAxis& b) {
        return a.exact == b.exact && a.low == b.low && a.high == b.high;
    };
    std::vector<ViewPoint> joined;
    std::vector<std::vector<std::string>> labels;
    for (const ViewPoint& point : points) {
        size_t at = 0;
        while (at < joined.size() && !(sameAxis(joined[at].x, point.x) && sameAxis(joined[at].y, point.y))) ++at;
        if (at == joined.size()) {
            joined.push_back(point);
            labels.emplace_back();
        }
        joined[at].count = std::max(joined[at].count, point.count);
        labels[at].push_back(point.label);
    }
    for (size_t i = 0; i < joined.size(); ++i) {
        // A run of numbers reads as its ends.
        bool run = labels[i].size() > 2;
        for (size_t k = 1; run && k < labels[i].size(); ++k) {
            run = std::to_string(std::atoi(labels[i][k - 1].c_str()) + 1) == labels[i][k];
        }
        std::string label = run ? labels[i].front() + "-" + labels[i].back() : std::string();
        for (size_t k = 0; !run && k < labels[i].size(); ++k) label += (k == 0 ? "" : ",") + labels[i][k];
        joined[i].label = label;
    }
    return joined;
}

std::vector<ViewPoint> StandardViewPoints(int count) {
    const StandardSamplePattern pattern = StandardPatternFor(count);
    std::vector<ViewPoint> points;
    for (int i = 0; pattern.points != nullptr && i < pattern.count; ++i) {
        const double x = pattern.points[i].x / 16.0, y = pattern.points[i].y / 16.0;
        points.push_back({std::to_string(i), {x, x + 1 / 16.0, true}, {y, y + 1 / 16.0, true}, 1});
    }
    return points;
}

MeasurementView DescribeSamplePositions(const ModeMeasurement& measurement) {
    const SampleMeasurement& m = measurement.samplePositions;
    MeasurementView view{"Sample positions", "Positions", {
                             {"Samples", SampleCountText(measurement), SampleCountText(measurement)},
                             {"Positions (1/16 pixel)", PositionsText(measurement), ""},
                             {"Verdict", VerdictText(m), VerdictText(m)},
                             {"Texture (1/16 pixel)", TextureSamplingText(m), TextureSamplingText(m)},
                         }};
    view.facts = {
        {"Samples", SampleCountText(measurement)},
        {"Verdict", VerdictText(m), "/samplePositions/verdicts"},
        {"Texture sampling", TextureSamplingText(m) + (m.texturePositions.empty() ? "" : ", in 1/16 pixel"),
         "/samplePositions/textureSampling"},
        {"Measured to", "1/" + std::to_string(m.gridSize) + " pixel or finer"},
    };
    const std::string notes = SampleNotes(measurement);
    if (!notes.empty()) view.facts.push_back({"Notes", notes});
    view.tables.push_back(SampleTableFor(measurement));
    view.tables.push_back({"Checks",
                           {"check", "result"},
                           {
                               {"standard pattern", YesNo(m.standardPattern)},
                               {"mask order standard", OptionalText(m.maskOrderStandard)},
                               {"all at the centre", YesNo(m.allAtCentre)},
                               {"positions differ within a 2x2 quad", YesNo(m.quadsDiffer)},
                               {"resolve not a plain average", YesNo(m.resolveNotAverage)},
                               {"per-bit pictures add up", OptionalText(m.unionMatchesAllBits)},
                               {"pictures consistent", YesNo(m.picturesConsistent)},
                           }});
    int count = 0;
    for (const SamplePosition& sample : m.samples) count += sample.count;
    if (!m.samples.empty()) {
        view.diagrams.push_back({"samples numbered by mask bit; rings: the standard " + std::to_string(count) +
                                     "-sample pattern; crosses: where the texture is sampled",
                                 "/samplePositions/samples", ViewPoints(m.samples), StandardViewPoints(count), ViewPoints(m.texturePositions)});
    }
    return view;
}

bool ViewAxisFromJson(const nlohmann::json& axis, ViewAxis* out) {
    if (!axis.is_object()) return false;
    const nlohmann::json low = axis.value("low", nlohmann::json()), high = axis.value("high", nlohmann::json());
    const nlohmann::json sixteenths = axis.value("sixteenths", nlohmann::json());
    if (!low.is_number() || !high.is_number()) return false;
    const bool exact = axis.value("exact", false) && sixteenths.is_number();
    *out = exact ? ViewAxis{sixteenths.get<double>() / 16.0, (sixteenths.get<double>() + 1) / 16.0, true}
                 : ViewAxis{low.get<double>(), high.get<double>(), false};
    return true;
}
