// survey.md from the survey's report. No timings: the file is meant to be diffed.
#include "survey/survey_markdown.h"

#include <cstdio>
#include <string>
#include <vector>

#include "analysis/resolve_measurement.h"
#include "analysis/sample_coverage_measurement.h"
#include "enumeration/value_names.h"
#include "survey/markdown_table.h"
#include "survey/survey_modes.h"

namespace {

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

std::string AdapterHeading(const AdapterDescription& adapter) {
    char ids[96];
    std::snprintf(ids, sizeof(ids), "vendor 0x%04lX, device 0x%04lX, revision %lu",
                  static_cast<unsigned long>(adapter.vendorId), static_cast<unsigned long>(adapter.deviceId),
                  static_cast<unsigned long>(adapter.revision));
    return "## Adapter " + std::to_string(adapter.ordinal) + ": " + MarkdownCell(adapter.description) + "\n\n" +
           "Driver " + adapter.driver + " " + adapter.driverVersion + ", " + ids + ", desktop " +
           FormatText(adapter.desktopFormat, false) + ".\n";
}

}  // namespace

std::string SurveyMarkdown(const SurveyReport& report) {
    std::string text = "# Quillant survey\n\n"
                       "Sample positions in 1/16 pixel from the pixel's top-left corner, each after "
                       "the mask bit that selects it; an axis measured only to an interval shows it "
                       "as low..high.\n";
    for (const AdapterDescription& adapter : report.adapters) {
        text += "\n" + AdapterHeading(adapter) + "\n";
        MarkdownTable table({"Device", "Format", "Multisample", "Quality", "Samples", "Positions", "Verdict",
                             "Texture", "Resolve", "Filter", "Coverage", "Alpha to coverage", "Centroid", "AA off",
                             "Picture"});
        for (const ModeReport& mode : report.modes) {
            if (mode.adapterOrdinal != adapter.ordinal) continue;
            const MultisampleMode& multisample = mode.measurement.mode;
            std::vector<std::string> row = {ShortDeviceTypeText(mode.deviceType), FormatText(multisample.format, false),
                                            multisample.TypeName(), std::to_string(multisample.quality)};
            if (mode.measured) {
                const ModeMeasurement& m = mode.measurement;
                // What the resolve does and what each sample receives, a short text a column.
                row.insert(row.end(), {SampleCountText(m), PositionsText(m), VerdictText(m.samplePositions),
                                       TextureSamplingText(m.samplePositions), ResolveColumnText(m.resolve),
                                       FilterColumnText(m.resolve), CoverageColumnText(m.resolve),
                                       AlphaToCoverageColumnText(m.alphaToCoverage), CentroidColumnText(m.centroid),
                                       AntialiasOffColumnText(m.antialiasOff)});
            } else {
                row.insert(row.end(), {"-", "-", ModeOutcomeText(mode), "-", "-", "-", "-", "-", "-", "-"});
            }
            row.push_back(!mode.picture.empty()        ? "[png](" + mode.picture + ")"
                          : !mode.pictureError.empty() ? "not written: " + mode.pictureError
                                                       : std::string("-"));
            table.AddRow(row);
        }
        if (table.Empty()) {
            table.AddRow({"-", "-", "-", "-", "-", "-", "nothing measured", "-", "-", "-", "-", "-", "-", "-", "-"});
        }
        text += table.Text();
    }
    if (!report.notes.empty()) {
        text += "\n";
        for (const std::string& note : report.notes) text += "- " + MarkdownCell(note) + "\n";
    }
    return text;
}
