// survey.md from the survey's report. No timings: the file is meant to be diffed.
#include "survey/survey_markdown.h"

#include <cstdio>

#include "analysis/resolve/resolve_measurement.h"
#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"
#include "analysis/centroid/centroid_measurement.h"
#include "analysis/antialias_off/antialias_off_measurement.h"
#include "enumeration/value_names.h"
#include "survey/survey_modes.h"

namespace {

// A table cell: pipes escaped, line breaks flattened.
std::string Cell(const std::string& text) {
    std::string cell;
    for (char c : text) {
        if (c == '|') {
            cell += "\\|";
        } else if (c == '\n' || c == '\r') {
            cell += ' ';
        } else {
            cell += c;
        }
    }
    return cell;
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

std::string AdapterHeading(const AdapterDescription& adapter) {
    char ids[96];
    std::snprintf(ids, sizeof(ids), "vendor 0x%04lX, device 0x%04lX, revision %lu",
                  static_cast<unsigned long>(adapter.vendorId), static_cast<unsigned long>(adapter.deviceId),
                  static_cast<unsigned long>(adapter.revision));
    return "## Adapter " + std::to_string(adapter.ordinal) + ": " + Cell(adapter.description) + "\n\n" +
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
        text += "| Device | Format | Multisample | Quality | Samples | Positions | Verdict | Texture | Resolve | "
                "Filter | Coverage | Alpha to coverage | Centroid | AA off | Picture |\n";
        text += "|---|---|---|---|---|---|---|---|---|---|---|---|---|---|---|\n";
        bool any = false;
        for (const ModeReport& mode : report.modes) {
            if (mode.adapterOrdinal != adapter.ordinal) continue;
            any = true;
            std::string samples = "-", positions = "-", verdict, texture = "-";
            std::string received = " - | - | - | - | - | - |";
            if (mode.measured) {
                const ModeMeasurement& m = mode.measurement;
                samples = SampleCountText(m);
                positions = PositionsText(m);
                verdict = VerdictText(m.samplePositions);
                texture = TextureSamplingText(m.samplePositions);
                // What the resolve does and what each sample receives, a short text a column.
                received.clear();
                for (const std::string& cell :
                     {ResolveColumnText(m.resolve), FilterColumnText(m.resolve), CoverageColumnText(m.resolve),
                      AlphaToCoverageColumnText(m.alphaToCoverage), CentroidColumnText(m.centroid),
                      AntialiasOffColumnText(m.antialiasOff)}) {
                    received += " " + Cell(cell) + " |";
                }
            } else {
                verdict = ModeOutcomeText(mode);
            }
            const std::string picture = mode.picture.empty() ? "-" : "[png](" + mode.picture + ")";
            const MultisampleMode& multisample = mode.measurement.mode;
            text += "| " + Cell(ShortDeviceTypeText(mode.deviceType)) + " | " + FormatText(multisample.format, false) +
                    " | " + multisample.TypeName() + " | " + std::to_string(multisample.quality) +
                    " | " + Cell(samples) + " | " + Cell(positions) + " | " + Cell(verdict) + " | " +
                    Cell(texture) + " |" + received + " " + picture + " |\n";
        }
        if (!any) text += "| - | - | - | - | - | - | nothing measured | - | - | - | - | - | - | - | - |\n";
    }
    if (!report.notes.empty()) {
        text += "\n";
        for (const std::string& note : report.notes) text += "- " + Cell(note) + "\n";
    }
    return text;
}
