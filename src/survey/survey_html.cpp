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
h4 { font-size: 14px; margin: 8px 0 2px; }
.caption { font-size: 12px; color: #555; margin: 2px 0; }
ul.legend { font-size: 13px; color: #444; }
@media print {
  body { margin: 0; font-size: 10pt; }
  section.mode, figure, .measurement { page-break-inside: avoid; }
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
    std::string html = "<div class=\"measurement\">\n<h4>" + E(view.title) + "</h4>\n<div class=\"row\">\n";
    for (const ViewDiagram& diagram : view.diagrams) {
        const std::map<size_t, MovedSample> moved = MovedSamples(differences, diagram.source);
        const std::string svg = SampleDiagramSvg(diagram, moved);
        if (svg.empty()) continue;
        html += "<figure>" + svg + "<figcaption>" + E(diagram.caption) +
                "; shaded: a position known to an interval" +
                std::string(moved.empty() ? "" : "; orange: where the baseline had it") + "</figcaption></figure>\n";
    }
    html += "<table class=\"facts\">\n";
    for (const ViewFact& fact : view.facts) html += "<tr><th>" + E(fact.label) + "</th><td>" + E(fact.value) + "</td></tr>\n";
    html += "</table>\n</div>\n";
    std::string ladders;
    for (const ViewLadder& ladder : view.ladders) {
        const std::string svg = LadderSvg(ladder);
        if (svg.empty()) continue;
        ladders += "<figure>" + svg + "<figcaption>" + E(ladder.caption) + ": value (0 .. " +
                   std::to_string(ladder.valueScale) + ") against samples covered</figcaption></figure>\n";
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

std::string ModeSection(const ModeReport& mode, const std::vector<const SurveyDifference*>& differences) {
    const std::string label = ModeLabel(mode);
    std::string html = "<section class=\"mode" + std::string(differences.empty() ? "" : " differs") + "\" id=\"" +
                       AnchorOf(label) + "\">\n<h3>" + E(label) + "</h3>\n";
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
    html += "<ul class=\"legend\">\n<li>" + std::string(kDiagramLegend) + "</li>\n<li>" + kLadderLegend + "</li>\n</ul>\n";
    if (!complete) {
        html += "<p class=\"failed\">Incomplete: the survey was still measuring, or was stopped, after these "
                "modes.</p>\n";
    }
    std::set<std::string> sections;
    for (const ModeReport& mode : report.modes) sections.insert(ModeLabel(mode));
    const auto byMode = DifferencesByMode(baseline);
    html += BaselineBox(baseline, byMode, sections);

    std::vector<bool> shown(report.modes.size(), false);
    const auto modeSections = [&](const AdapterDescription* adapter) {
        std::string text;
        for (size_t i = 0; i < report.modes.size(); ++i) {
            if (shown[i] || (adapter != nullptr && report.modes[i].adapterOrdinal != adapter->ordinal)) continue;
            shown[i] = true;
            const auto found = byMode.find(ModeLabel(report.modes[i]));
            text += ModeSection(report.modes[i], found == byMode.end() ? std::vector<const SurveyDifference*>() : found->second);
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
