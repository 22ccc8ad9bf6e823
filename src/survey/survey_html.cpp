// survey.html from the survey's report: every measurement's view, rendered one way.
#include "survey/survey_html.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <set>
#include <vector>

#include "analysis/positions/positions_view.h"
#include "analysis/session/measurement_module.h"
#include "enumeration/value_names.h"
#include "survey/survey_document.h"
#include "survey/survey_svg.h"

namespace {

constexpr char kStyle[] = R"(body { font: 14px/1.45 "Liberation Sans", Arial, sans-serif; margin: 16px 24px; color: #222; background: #fff; }
h1 { font-size: 22px; margin: 0 0 4px; }
h2 { font-size: 18px; border-bottom: 1px solid #bbb; margin: 28px 0 4px; }
h3 { font-size: 15px; margin: 0 0 8px; font-family: "Liberation Mono", monospace; }
section.mode { margin: 14px 0; padding: 10px 12px; border: 1px solid #ddd; }
section.mode.differs { border: 2px solid #e65100; background: #fff8f0; }
.row { display: flex; flex-wrap: wrap; gap: 6px 20px; align-items: flex-start; }
figure { margin: 0; }
figcaption { font-size: 12px; color: #555; max-width: 260px; }
table.facts { border-collapse: collapse; max-width: 640px; }
.facts td, .facts th { padding: 1px 8px 1px 0; text-align: left; vertical-align: top; font-weight: normal; }
.facts th { color: #555; white-space: nowrap; }
.yes { color: #1b5e20; } .no { color: #888; }
table.grid { border-collapse: collapse; margin: 2px 0 6px; font: 11px "Liberation Mono", monospace; }
table.grid td { border: 1px solid #ccc; padding: 1px 4px; text-align: right; }
table.grid th { padding: 1px 4px; font-weight: normal; color: #555; text-align: right; }
.caption { max-width: 420px; }
img.picture { width: 256px; height: 192px; border: 1px solid #999; }
.differences, .baseline { color: #8a3200; }
.baseline { border: 2px solid #e65100; background: #fff8f0; padding: 6px 12px; margin: 10px 0; }
.baseline.same { border-color: #2e7d32; background: #f1f8e9; color: #1b5e20; }
.failed { color: #b71c1c; }
.measurement { margin: 6px 0 10px; }
h4 { font-size: 15px; margin: 0 0 8px; }
h4 .label { font: 12px "Liberation Mono", monospace; color: #666; margin-left: 8px; }
h5 { font-size: 14px; margin: 8px 0 2px; }
section.group { margin: 18px 0; }
table.contents { border-collapse: collapse; margin: 6px 0 12px; }
.contents td, .contents th { border: 1px solid #ddd; padding: 2px 8px; text-align: left; vertical-align: top; }
.contents th { font: 12px "Liberation Mono", monospace; font-weight: normal; }
.contents a { margin-right: 10px; white-space: nowrap; }
.contents a.differs { color: #b34700; font-weight: bold; }
.contents a.failed { color: #b71c1c; }
.caption { font-size: 12px; color: #555; margin: 2px 0; }
ul.legend { font-size: 13px; color: #444; }
@media print {
  body { margin: 0; font-size: 10pt; }
  section.mode, figure, .measurement, table.contents tr { page-break-inside: avoid; }
  h3, h4 { page-break-after: avoid; }
  a { color: inherit; text-decoration: none; }
}
)";

std::string E(const std::string& text) { return HtmlEscaped(text); }

std::string AnchorOf(const std::string& label) {
    std::string anchor = "mode";
    for (char c : label) {
        anchor += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : '-';
    }
    return anchor;
}

std::string Table(const ViewTable& table, const char* kind) {
    std::string html = "<p class=\"caption\">" + E(table.caption) + "</p>\n<table class=\"" + kind + "\">\n";
    if (!table.header.empty()) {
        html += "<tr>";
        for (const std::string& cell : table.header) html += "<th>" + E(cell) + "</th>";
        html += "</tr>\n";
    }
    for (const std::vector<std::string>& row : table.rows) {
        html += "<tr>";
        for (const std::string& cell : row) html += "<td>" + E(cell) + "</td>";
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

// Samples of a diagram that moved since the baseline: differences at "<source>/N/x" (or y), with
// the baseline's axis.
std::map<size_t, MovedSample> MovedSamples(const std::vector<const SurveyDifference*>& differences,
                                           const std::string& source) {
    const std::string prefix = "/measurement" + source + "/";
    std::map<size_t, MovedSample> moved;
    for (const SurveyDifference* difference : differences) {
        const std::string& path = difference->path;
        if (source.empty() || path.compare(0, prefix.size(), prefix) != 0) continue;
        size_t end = prefix.size();
        while (end < path.size() && std::isdigit(static_cast<unsigned char>(path[end]))) ++end;
        if (end == prefix.size() || end + 2 != path.size() || path[end] != '/') continue;
        const char axisName = path[end + 1];
        ViewAxis axis;
        if ((axisName != 'x' && axisName != 'y') || !ViewAxisFromJson(difference->was, &axis)) continue;
        MovedSample& sample = moved[std::stoul(path.substr(prefix.size(), end - prefix.size()))];
        (axisName == 'x' ? sample.hasX : sample.hasY) = true;
        (axisName == 'x' ? sample.x : sample.y) = axis;
    }
    return moved;
}

// One measurement: its diagrams beside its facts, then its ladders side by side, then its tables.
std::string MeasurementSection(const MeasurementView& view, const std::vector<const SurveyDifference*>& differences) {
    std::string html = "<div class=\"measurement\">\n<h5>" + E(view.title) + "</h5>\n<div class=\"row\">\n";
    for (const ViewDiagram& diagram : view.diagrams) {
        const std::map<size_t, MovedSample> moved = MovedSamples(differences, diagram.source);
        const std::string svg = SampleDiagramSvg(diagram, moved);
        if (svg.empty()) continue;
        html += "<figure>" + svg + "<figcaption>" + E(diagram.caption) +
                "; shaded: a position known to an interval" +
                std::string(moved.empty() ? "" : "; orange: where the baseline had it") + "</figcaption></figure>\n";
    }
    for (const ViewEvaluation& evaluation : view.evaluations) {
        html += "<figure>" + EvaluationSvg(evaluation) + "<figcaption>" + E(evaluation.caption) + "</figcaption></figure>\n";
    }
    for (const ViewGrid& grid : view.grids) {
        const std::string svg = GridSvg(grid);
        if (svg.empty()) continue;
        html += "<figure>" + svg + "<figcaption>" + E(grid.caption) + " (0 .. " + std::to_string(grid.valueScale) +
                ")</figcaption></figure>\n";
    }
    html += "<table class=\"facts\">\n";
    for (const ViewFact& fact : view.facts) html += "<tr><th>" + E(fact.label) + "</th><td>" + E(fact.value) + "</td></tr>\n";
    html += "</table>\n</div>\n";
    std::string ladders;
    for (const ViewLadder& ladder : view.ladders) {
        const std::string svg = LadderSvg(ladder);
        if (svg.empty()) continue;
        ladders += "<figure>" + svg + "<figcaption>" + E(ladder.caption) + ": the value read back, in steps of 1/" +
                   std::to_string(ladder.valueScale) + ", against the samples covered</figcaption></figure>\n";
    }
    if (!ladders.empty()) {
        html += "<div class=\"row\">\n" + ladders +
                "</div>\n<p class=\"caption\">dashed: stored values averaged (blue), linear light averaged (green)</p>\n";
    }
    if (!view.tables.empty()) {
        html += "<div class=\"row\">\n";
        for (const ViewTable& table : view.tables) html += "<div>" + Table(table, "grid") + "</div>\n";
        html += "</div>\n";
    }
    return html + "</div>\n";
}

std::string DifferenceItem(const SurveyDifference& difference) {
    return "<li>" + E(difference.location) + " " + E(difference.text) + "</li>\n";
}

// "failed: device ...", "crashed in probe resolve/transfer ...", "no answer in create ...".
std::string FailureText(const ModeReport& mode) {
    const char* what = mode.fault == ModeFault::ProcessEnded ? "crashed in "
                       : mode.fault == ModeFault::NoAnswer   ? "no answer in "
                                                             : "failed: ";
    std::string text = what + mode.failureStage;
    if (mode.failureCode != S_OK) text += " " + ResultCodeText(mode.failureCode);
    if (!mode.failureText.empty()) text += " " + mode.failureText;
    return text;
}

// "R5G6B5", "X8R8G8B8 (the back buffer's)": where a mode's section stands within its group.
std::string RenderTargetText(const ModeReport& mode) {
    const MultisampleMode& multisample = mode.measurement.mode;
    return std::string(FormatText(multisample.DrawnFormat(), false)) +
           (multisample.DrawnInBackBufferFormat() ? " (the back buffer's)" : "");
}

std::string ModeSection(const ModeReport& mode, const std::vector<const SurveyDifference*>& differences) {
    const std::string label = ModeLabel(mode);
    std::string html = "<section class=\"mode" + std::string(differences.empty() ? "" : " differs") + "\" id=\"" +
                       AnchorOf(label) + "\">\n<h4>Render target " + E(RenderTargetText(mode)) +
                       " <span class=\"label\">" + E(label) + "</span></h4>\n";
    if (!differences.empty()) {
        html += "<ul class=\"differences\">\n";
        for (const SurveyDifference* difference : differences) html += DifferenceItem(*difference);
        html += "</ul>\n";
    }
    if (!mode.measured) html += "<p class=\"failed\">" + E(FailureText(mode)) + "</p>\n";
    if (HoldsMeasurement(mode)) {
        for (const MeasurementModule& module : MeasurementModules()) {
            html += MeasurementSection(DescribeMeasurement(module, mode.measurement), differences);
        }
    }
    if (!mode.picture.empty()) {
        const std::string name = E(mode.picture);
        html += "<figure><a href=\"" + name + "\"><img class=\"picture\" src=\"" + name + "\" alt=\"the picture of " +
                E(label) + "\"></a><figcaption>" + name + "</figcaption></figure>\n";
    } else if (!mode.pictureError.empty()) {
        html += "<p class=\"failed\">picture not written: " + E(mode.pictureError) + "</p>\n";
    }
    return html + "</section>\n";
}

// One mode in all the render-target formats it was measured in, the back buffer's first.
struct ModeGroup {
    std::string label;
    std::vector<const ModeReport*> modes;
};

void AddToGroup(std::vector<ModeGroup>* groups, const ModeReport* mode) {
    const std::string label = ModeBaseLabel(*mode);
    for (ModeGroup& group : *groups) {
        if (group.label == label) {
            group.modes.push_back(mode);
            return;
        }
    }
    groups->push_back({label, {mode}});
}

std::string GroupAnchorOf(const std::string& label) { return "group-" + AnchorOf(label); }

// A row per mode, a link per render-target format: where a reader finds a format among many.
template <typename DifferencesOf>
std::string Contents(const std::vector<ModeGroup>& groups, const DifferencesOf& differencesOf) {
    std::string html = "<table class=\"contents\">\n<tr><td>Mode</td><td>Render-target formats (orange: differs from "
                       "the baseline; red: failed)</td></tr>\n";
    for (const ModeGroup& group : groups) {
        html += "<tr><th><a href=\"#" + GroupAnchorOf(group.label) + "\">" + E(group.label) + "</a></th><td>";
        for (const ModeReport* mode : group.modes) {
            const char* kind = !mode->measured ? " class=\"failed\"" : differencesOf(*mode).empty() ? "" : " class=\"differs\"";
            html += "<a" + std::string(kind) + " href=\"#" + AnchorOf(ModeLabel(*mode)) + "\">" +
                    E(RenderTargetText(*mode)) + "</a> ";
        }
        html += "</td></tr>\n";
    }
    return html + "</table>\n";
}

std::string AdapterHeading(const AdapterDescription& adapter) {
    char ids[64];
    std::snprintf(ids, sizeof ids, "vendor 0x%04lX, device 0x%04lX", static_cast<unsigned long>(adapter.vendorId),
                  static_cast<unsigned long>(adapter.deviceId));
    return "<h2>Adapter " + std::to_string(adapter.ordinal) + ": " + E(adapter.description) + "</h2>\n<p>Driver " +
           E(adapter.driver) + " " + E(adapter.driverVersion) + ", " + ids + ", desktop " +
           E(FormatText(adapter.desktopFormat, true)) + ".</p>\n";
}

// The differences by mode label, the document's own (adapters) under the empty label, in order.
std::map<std::string, std::vector<const SurveyDifference*>> DifferencesByMode(const BaselineComparison* baseline) {
    std::map<std::string, std::vector<const SurveyDifference*>> byMode;
    if (baseline == nullptr) return byMode;
    for (const SurveyDifference& difference : baseline->differences) byMode[difference.mode].push_back(&difference);
    return byMode;
}

std::string BaselineBox(const BaselineComparison* baseline,
                        const std::map<std::string, std::vector<const SurveyDifference*>>& byMode,
                        const std::set<std::string>& sections) {
    if (baseline == nullptr) return std::string();
    const size_t count = baseline->differences.size();
    const std::string file = E(baseline->file);
    const std::string note = baseline->adaptersNote.empty() ? std::string() : "<p>" + E(baseline->adaptersNote) + "</p>\n";
    if (count == 0) return note + "<p class=\"baseline same\">No differences from the baseline " + file + ".</p>\n";
    std::string html = note + "<div class=\"baseline\"><p>" + std::to_string(count) + (count == 1 ? " difference" : " differences") +
                       " from the baseline " + file + ":</p>\n<ul>\n";
    for (const auto& entry : byMode) {
        if (entry.first.empty() || !sections.count(entry.first)) {
            // Nothing on the page to link to (an adapter, a mode only in the baseline): said here in full.
            for (const SurveyDifference* difference : entry.second) {
                html += "<li>" + (entry.first.empty() ? std::string() : E(entry.first) + ": ") + E(difference->location) +
                        " " + E(difference->text) + "</li>\n";
            }
        } else {
            html += "<li><a href=\"#" + AnchorOf(entry.first) + "\">" + E(entry.first) + "</a>: " +
                    std::to_string(entry.second.size()) + (entry.second.size() == 1 ? " difference" : " differences") +
                    "</li>\n";
        }
    }
    return html + "</ul></div>\n";
}

}  // namespace

std::string HtmlEscaped(const std::string& text) {
    std::string escaped;
    for (char c : text) {
        switch (c) {
        case '&': escaped += "&amp;"; break;
        case '<': escaped += "&lt;"; break;
        case '>': escaped += "&gt;"; break;
        case '"': escaped += "&quot;"; break;
        default: escaped += c;
        }
    }
    return escaped;
}

std::string SurveyHtml(const SurveyReport& report, const BaselineComparison* baseline, bool complete) {
    std::string title = "Quillant survey";
    if (!report.adapters.empty()) title += ": " + report.adapters[0].description;

    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + E(title) +
                       "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n<h1>" + E(title) + "</h1>\n";
    size_t measured = 0;
    for (const ModeReport& mode : report.modes) measured += mode.measured ? 1 : 0;
    html += "<p>" + std::string(kSurveyProgramName) + " " + kSurveyProgramVersion + ", schema " +
            std::to_string(kSurveySchemaVersion) + ": " + std::to_string(report.modes.size()) + " modes, " +
            std::to_string(measured) + " measured, " + std::to_string(report.modes.size() - measured) +
            " failed. Positions in 1/16 pixel from the pixel's top-left corner.</p>\n";
    html += "<p>Direct3D 9 implementation: " + E(ImplementationText(report.implementation)) + ".</p>\n";
    for (const std::string& warning : report.implementation.warnings) {
        html += "<p class=\"failed\">Warning: " + E(warning) + ".</p>\n";
    }
    html += "<ul class=\"legend\">\n<li>" + std::string(kDiagramLegend) + "</li>\n<li>" + kLadderLegend + "</li>\n<li>" + kEvaluationLegend + "</li>\n</ul>\n";
    if (!complete) {
        html += "<p class=\"failed\">Incomplete: the survey was still measuring, or was stopped, after these "
                "modes.</p>\n";
    }
    std::set<std::string> sections;
    for (const ModeReport& mode : report.modes) sections.insert(ModeLabel(mode));
    const auto byMode = DifferencesByMode(baseline);
    html += BaselineBox(baseline, byMode, sections);

    std::vector<bool> shown(report.modes.size(), false);
    const auto differencesOf = [&](const ModeReport& mode) {
        const auto found = byMode.find(ModeLabel(mode));
        return found == byMode.end() ? std::vector<const SurveyDifference*>() : found->second;
    };
    const auto modeSections = [&](const AdapterDescription* adapter) {
        std::vector<ModeGroup> groups;
        for (size_t i = 0; i < report.modes.size(); ++i) {
            if (shown[i] || (adapter != nullptr && report.modes[i].adapterOrdinal != adapter->ordinal)) continue;
            shown[i] = true;
            AddToGroup(&groups, &report.modes[i]);
        }
        std::string text = groups.empty() ? std::string() : Contents(groups, differencesOf);
        for (const ModeGroup& group : groups) {
            text += "<section class=\"group\" id=\"" + GroupAnchorOf(group.label) + "\">\n<h3>" + E(group.label) + "</h3>\n";
            for (const ModeReport* mode : group.modes) text += ModeSection(*mode, differencesOf(*mode));
            text += "</section>\n";
        }
        return text;
    };
    for (const AdapterDescription& adapter : report.adapters) html += AdapterHeading(adapter) + modeSections(&adapter);
    const std::string rest = modeSections(nullptr);
    if (!rest.empty()) html += "<h2>Other modes</h2>\n" + rest;

    if (!report.notes.empty()) {
        html += "<ul class=\"notes\">\n";
        for (const std::string& note : report.notes) html += "<li>" + E(note) + "</li>\n";
        html += "</ul>\n";
    }
    return html + "</body>\n</html>\n";
}
