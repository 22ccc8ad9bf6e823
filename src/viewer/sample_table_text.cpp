// Heading and table texts of the "Sample Positions" dialog.
#include "viewer/sample_table_text.h"

#include <windows.h>
#include <d3d9.h>

#include <cctype>
#include <cstdio>
#include <cstring>

#include "analysis/session/measurement_consistency.h"
#include "enumeration/value_names.h"

namespace {

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

// A value name as a file-name part: without its prefix, lower case, words joined by dashes.
std::string FileNamePart(const char* text, const char* prefix) {
    const size_t skip = std::strncmp(text, prefix, std::strlen(prefix)) == 0 ? std::strlen(prefix) : 0;
    std::string part;
    for (const char* c = text + skip; *c != '\0'; ++c) {
        const unsigned char byte = static_cast<unsigned char>(*c);
        if (std::isalnum(byte)) part += static_cast<char>(std::tolower(byte));
        else if (!part.empty() && part.back() != '-') part += '-';
    }
    while (!part.empty() && part.back() == '-') part.pop_back();
    return part;
}

}  // namespace

std::vector<std::string> SampleHeadingLines(const ModeMeasurement& measurement,
                                            const MeasuredDevice& device) {
    const SampleMeasurement& m = measurement.samplePositions;
    std::vector<std::string> lines;
    lines.push_back(device.description);
    char mode[256];
    std::snprintf(mode, sizeof mode, "%s, quality %u, %s; measured %s at %u x %u",
                  measurement.mode.TypeName(), static_cast<unsigned>(measurement.mode.quality),
                  FormatText(device.format, true),
                  device.fullscreen ? "fullscreen" : "in a window", device.width, device.height);
    lines.push_back(mode);
    // Where the measurements contradict each other, the verdict drawn from the positions would be
    // a guess: the contradiction stands in its place.
    const std::vector<std::string> contradictions = MeasurementContradictions(measurement);
    lines.push_back(std::to_string(m.distinctSamples) +
                    (m.distinctSamples == 1 ? " distinct sample" : " distinct samples") +
                    (contradictions.empty() ? ": " + VerdictText(m)
                                            : ", no verdict: " + ContradictionsText(contradictions)));
    return lines;
}

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

std::string MeasuredText(const ModeMeasurement& measurement) {
    // The probe's points sit 1 + 1/N pixels apart: their edges cut the pixel every 1/N.
    char text[96];
    std::snprintf(text, sizeof text, "Measured in steps of 1/%d pixel, in %.0f ms", measurement.samplePositions.gridSize, measurement.milliseconds);
    return text;
}

SampleTable SampleTableFor(const ModeMeasurement& measurement) {
    const SampleMeasurement& m = measurement.samplePositions;
    SampleTable table;
    table.header = {"Sample", "Mask bit", "x (1/16)", "y (1/16)", "x (pixel)", "y (pixel)",
                    "Count"};
    for (size_t i = 0; i < m.samples.size(); ++i) {
        table.rows.push_back(SampleRow(measurement, std::to_string(i), m.samples[i]));
    }
    if (m.quadsDiffer) {
        for (const QuadPositions& quad : m.quads) {
            for (size_t i = 0; i < quad.samples.size(); ++i) {
                char name[64];
                std::snprintf(name, sizeof name, "%u in pixel (%d, %d)", static_cast<unsigned>(i),
                              quad.parityX, quad.parityY);
                table.rows.push_back(SampleRow(measurement, name, quad.samples[i]));
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

std::string SamplePositionsFileName(const ModeMeasurement& measurement, const MeasuredDevice& device) {
    return "sample-positions-" + FileNamePart(DeviceTypeText(device.deviceType), "D3DDEVTYPE_") +
           "-" + FileNamePart(FormatText(device.format, true), "D3DFMT_") + "-" +
           FileNamePart(measurement.mode.TypeName(), "D3DMULTISAMPLE_") + "-q" +
           std::to_string(measurement.mode.quality) + ".json";
}
