// survey.md from the survey's report. No timings: the file is meant to be diffed.
#include "survey/survey_markdown.h"

#include <cstdio>
#include <string>
#include <vector>

#include "analysis/session/measurement_module.h"
#include "enumeration/value_names.h"
#include "survey/markdown_table.h"
#include "survey/survey_modes.h"

namespace {

// Which d3d9 ran, and what did not run that was asked for.
std::string ImplementationLines(const Direct3DImplementation& implementation) {
    std::string text = "\nDirect3D 9 implementation: " + MarkdownCell(ImplementationText(implementation)) + ".\n";
    for (const std::string& warning : implementation.warnings) text += "\n**Warning:** " + MarkdownCell(warning) + ".\n";
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
                       "as low..high.\n" +
                       ImplementationLines(report.implementation);
    // Every measurement names its own columns; an empty result is described for the headings.
    std::vector<MeasurementView> described;
    for (const MeasurementModule& module : MeasurementModules()) described.push_back(module.describe(ModeMeasurement()));
    for (const AdapterDescription& adapter : report.adapters) {
        text += "\n" + AdapterHeading(adapter) + "\n";
        // The mode's own columns, then one or more per measurement, as each describes itself.
        std::vector<std::string> headings = {"Device", "Format", "Multisample", "Quality"};
        for (const MeasurementView& view : described) {
            for (const ViewColumn& column : view.columns) headings.push_back(column.heading);
        }
        headings.push_back("Picture");
        std::vector<const ModeReport*> modes;
        for (const ModeReport& mode : report.modes) {
            if (mode.adapterOrdinal == adapter.ordinal) modes.push_back(&mode);
        }
        // A table per render-target format, where any mode was measured in another than its
        // back buffer's; else the one table.
        bool offScreen = false;
        for (const ModeReport* mode : modes) offScreen = offScreen || !mode->measurement.mode.DrawnInBackBufferFormat();
        std::vector<D3DFORMAT> formats = {D3DFMT_UNKNOWN};
        if (offScreen) {
            std::vector<ModeReport> adapterModes;
            for (const ModeReport* mode : modes) adapterModes.push_back(*mode);
            formats = RenderTargetFormatsOf(adapterModes);
        }
        for (D3DFORMAT format : formats) {
            if (format != D3DFMT_UNKNOWN) {
                text += (format == formats.front() ? "" : "\n") + std::string("### Render target ") +
                        FormatText(format, false) + "\n\n";
            }
            MarkdownTable table(headings);
            for (const ModeReport* each : modes) {
                const ModeReport& mode = *each;
                const MultisampleMode& multisample = mode.measurement.mode;
                if (format != D3DFMT_UNKNOWN && multisample.DrawnFormat() != format) continue;
                std::vector<std::string> row = {ShortDeviceTypeText(mode.deviceType), FormatText(multisample.format, false),
                                                multisample.TypeName(), std::to_string(multisample.quality)};
                for (const ViewColumn& column : ModeColumns(mode, ModeOutcomeText(mode))) row.push_back(column.text);
                row.push_back(!mode.picture.empty()        ? "[png](" + mode.picture + ")"
                              : !mode.pictureError.empty() ? "not written: " + mode.pictureError
                                                           : std::string("-"));
                table.AddRow(row);
            }
            if (table.Empty()) {
                std::vector<std::string> row;
                for (const std::string& heading : headings) row.push_back(heading == "Verdict" ? "nothing measured" : "-");
                table.AddRow(row);
            }
            text += table.Text();
        }
    }
    if (!report.notes.empty()) {
        text += "\n";
        for (const std::string& note : report.notes) text += "- " + MarkdownCell(note) + "\n";
    }
    return text;
}
