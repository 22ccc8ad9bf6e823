// Heading and table texts of the "Sample Positions" dialog.
#include "viewer/sample_table_text.h"

#include <cstdio>

namespace {

std::vector<std::string> SampleRow(const std::string& name, const SamplePosition& sample,
                                   int gridSize) {
    return {
        name,
        sample.maskBit >= 0 ? std::to_string(sample.maskBit) : std::string(),
        SixteenthsText(sample.x, gridSize),
        SixteenthsText(sample.y, gridSize),
        PixelFractionText(sample.x),
        PixelFractionText(sample.y),
        std::to_string(sample.count),
    };
}

}  // namespace

std::vector<std::string> SampleHeadingLines(const ModeMeasurement& measurement, const char* deviceText) {
    const SampleMeasurement& m = measurement.samplePositions;
    std::vector<std::string> lines;
    lines.push_back(deviceText != nullptr ? deviceText : "");
    char mode[128];
    std::snprintf(mode, sizeof mode, "%s, quality %lu", measurement.mode.TypeName(),
                  static_cast<unsigned long>(measurement.mode.quality));
    lines.push_back(mode);
    lines.push_back(std::to_string(m.distinctSamples) +
                    (m.distinctSamples == 1 ? " distinct sample: " : " distinct samples: ") +
                    VerdictText(m));
    std::string notes;
    if (m.standardPattern && m.maskOrderStandard && m.samples.size() > 1) {
        notes = *m.maskOrderStandard ? "The mask bits pick the samples in the standard order"
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
    if (!notes.empty()) lines.push_back(notes);
    return lines;
}

std::string MeasuredText(const ModeMeasurement& measurement) {
    const int side = measurement.samplePositions.gridSize;
    char text[96];
    std::snprintf(text, sizeof text, "Measured on a %d x %d tile in %.0f ms", side, side,
                  measurement.milliseconds);
    return text;
}

SampleTable SampleTableFor(const SampleMeasurement& m) {
    SampleTable table;
    table.header = {"Sample", "Mask bit", "x (1/16)", "y (1/16)", "x (pixel)", "y (pixel)",
                    "Count"};
    for (size_t i = 0; i < m.samples.size(); ++i) {
        table.rows.push_back(SampleRow(std::to_string(i), m.samples[i], m.gridSize));
    }
    if (m.quadsDiffer) {
        for (const QuadPositions& quad : m.quads) {
            for (size_t i = 0; i < quad.samples.size(); ++i) {
                char name[64];
                std::snprintf(name, sizeof name, "%u in pixel (%d, %d)", static_cast<unsigned>(i),
                              quad.parityX, quad.parityY);
                table.rows.push_back(SampleRow(name, quad.samples[i], m.gridSize));
            }
        }
    }
    return table;
}

std::string SampleTableText(const SampleTable& table) {
    std::string text;
    auto appendLine = [&text](const std::vector<std::string>& cells) {
        for (size_t i = 0; i < cells.size(); ++i) {
            if (i > 0) text += '\t';
            text += cells[i];
        }
        text += "\r\n";
    };
    appendLine(table.header);
    for (const std::vector<std::string>& row : table.rows) appendLine(row);
    return text;
}
