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
        MarkdownTable table(headings);
        for (const ModeReport& mode : report.modes) {
            if (mode.adapterOrdinal != adapter.ordinal) continue;
            const MultisampleMode& multisample = mode.measurement.mode;
            std::vector<std::string> row = {ShortDeviceTypeText(mode.deviceType), FormatText(multisample.format, false),
                                            multisample.TypeName(), std::to_string(multisample.quality)};
            for (const MeasurementModule& module : MeasurementModules()) {
                for (const ViewColumn& column : DescribeMeasurement(module, mode.measurement).columns) {
                    // A failed mode says why where the verdict would stand; what it measured stands.
                    const bool verdict = column.heading == "Verdict";
                    row.push_back(!mode.measured && verdict  ? ModeOutcomeText(mode)
                                  : HoldsMeasurement(mode) ? column.text
                                                           : "-");
                }
            }
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
    if (!report.notes.empty()) {
        text += "\n";
        for (const std::string& note : report.notes) text += "- " + MarkdownCell(note) + "\n";
    }
    return text;
}
