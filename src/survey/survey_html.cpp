// survey.html from a survey document.
#include "survey/survey_html.h"

#include <cctype>
#include <cstdio>
#include <map>
#include <vector>

#include "survey/survey_document.h"
#include "survey/survey_svg.h"

namespace {

using nlohmann::json;

constexpr char kStyle[] = R"(body { font: 14px/1.45 "Liberation Sans", Arial, sans-serif; margin: 16px 24px; color: #222; background: #fff; }
h1 { font-size: 22px; margin: 0 0 4px; }
h2 { font-size: 18px; border-bottom: 1px solid #bbb; margin: 28px 0 4px; }
h3 { font-size: 15px; margin: 0 0 8px; font-family: "Liberation Mono", monospace; }
section.mode { margin: 14px 0; padding: 10px 12px; border: 1px solid #ddd; }
section.mode.differs { border: 2px solid #e65100; background: #fff8f0; }
.row { display: flex; flex-wrap: wrap; gap: 20px; align-items: flex-start; }
figure { margin: 0; }
figcaption { font-size: 12px; color: #555; max-width: 260px; }
.facts { max-width: 460px; }
.facts table { border-collapse: collapse; }
.facts td, .facts th { padding: 1px 8px 1px 0; text-align: left; vertical-align: top; font-weight: normal; }
.facts th { color: #555; }
.yes { color: #1b5e20; } .no { color: #888; }
table.grid { border-collapse: collapse; margin: 2px 0 6px; font: 11px "Liberation Mono", monospace; }
table.grid td { border: 1px solid #ccc; padding: 1px 4px; text-align: right; }
img.picture { width: 256px; height: 192px; border: 1px solid #999; }
.differences, .baseline { color: #8a3200; }
.baseline { border: 2px solid #e65100; background: #fff8f0; padding: 6px 12px; margin: 10px 0; }
.baseline.same { border-color: #2e7d32; background: #f1f8e9; color: #1b5e20; }
.failed { color: #b71c1c; }
)";

std::string E(const std::string& text) { return HtmlEscaped(text); }

std::string TextOf(const json& value) {
    if (value.is_string()) return value.get<std::string>();
    if (value.is_null()) return "-";
    if (value.is_boolean()) return value.get<bool>() ? "yes" : "no";
    return value.dump(-1, ' ', false, json::error_handler_t::replace);
}

json Get(const json& object, const char* key) { return object.is_object() ? object.value(key, json()) : json(); }

// "standardPattern" as "standard pattern".
std::string Words(const std::string& key) {
    std::string words;
    for (char c : key) {
        if (std::isupper(static_cast<unsigned char>(c))) {
            words += ' ';
            words += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        } else {
            words += c;
        }
    }
    return words;
}

std::string AnchorOf(const std::string& label) {
    std::string anchor = "mode";
    for (char c : label) {
        anchor += std::isalnum(static_cast<unsigned char>(c)) ? static_cast<char>(std::tolower(static_cast<unsigned char>(c))) : '-';
    }
    return anchor;
}

std::string Row(const std::string& name, const std::string& valueHtml) {
    return "<tr><th>" + E(name) + "</th><td>" + valueHtml + "</td></tr>\n";
}

// "0: (6, 2)" per sample, an axis as its 1/16 step or its interval.
std::string AxisText(const json& axis) {
    if (Get(axis, "exact") == true && Get(axis, "sixteenths").is_number()) return TextOf(axis["sixteenths"]);
    char text[64];
    std::snprintf(text, sizeof(text), "[%.4g, %.4g) px", Get(axis, "low").is_number() ? axis["low"].get<double>() : 0.0,
                  Get(axis, "high").is_number() ? axis["high"].get<double>() : 0.0);
    return text;
}

std::string SamplesText(const json& samples) {
    std::string text;
    for (size_t i = 0; samples.is_array() && i < samples.size(); ++i) {
        const json& sample = samples[i];
        if (!text.empty()) text += "  ";
        const json maskBit = Get(sample, "maskBit");
        if (maskBit.is_number_integer()) text += maskBit.dump() + ":";
        text += "(" + AxisText(Get(sample, "x")) + ", " + AxisText(Get(sample, "y")) + ")";
        const json count = Get(sample, "count");
        if (count.is_number_integer() && count.get<int>() > 1) text += "x" + count.dump();
    }
    return text;
}

std::string VerdictsTable(const json& verdicts) {
    if (!verdicts.is_object()) return std::string();
    std::string html = "<table class=\"verdicts\">\n";
    for (auto item = verdicts.begin(); item != verdicts.end(); ++item) {
        const std::string value = TextOf(item.value());
        html += "<tr><th>" + E(Words(item.key())) + "</th><td class=\"" + (value == "yes" ? "yes" : "no") + "\">" +
                E(value) + "</td></tr>\n";
    }
    return html + "</table>\n";
}

// A list of lists of numbers (or of lists of numbers) as a small table.
std::string GridTable(const json& rows) {
    if (!rows.is_array() || rows.empty()) return std::string();
    std::string html = "<table class=\"grid\">\n";
    for (const json& row : rows) {
        html += "<tr>";
        for (const json& cell : row.is_array() ? row : json::array({row})) {
            std::string text;
            if (cell.is_array()) {
                for (const json& value : cell) text += (text.empty() ? "" : " ") + TextOf(value);
            } else {
                text = TextOf(cell);
            }
            html += "<td>" + E(text) + "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</table>\n";
}

std::string ResolveFacts(const json& resolve) {
    if (!resolve.is_object()) return std::string();
    std::string html;
    const json transfer = Get(resolve, "transfer");
    if (transfer.is_object()) {
        html += "<p>Resolve: " + E(TextOf(Get(transfer, "verdict"))) + "</p>\n";
        html += "<figure>" + TransferCurveSvg(transfer) +
                "<figcaption>value against samples covered; dashed: stored values averaged (blue), linear light "
                "averaged (green)</figcaption></figure>\n";
    }
    const json footprint = Get(resolve, "footprint");
    if (footprint.is_object()) {
        html += "<p>Filter: " + E(TextOf(Get(footprint, "verdict"))) + "</p>\n" + GridTable(Get(footprint, "weights"));
    }
    const json coverage = Get(resolve, "coverage");
    if (coverage.is_object()) {
        html += "<p>Coverage: " + E(TextOf(Get(coverage, "verdict"))) + ", " + E(TextOf(Get(coverage, "levels"))) +
                " levels</p>\n";
    }
    return html;
}

std::string AlphaToCoverageFacts(const json& switches) {
    if (!switches.is_array()) return std::string();
    std::string html;
    for (const json& entry : switches) {
        html += "<p>Alpha to coverage, " + E(TextOf(Get(entry, "switch"))) + ": " +
                (Get(entry, "offered") == false ? std::string("not offered") : E(TextOf(Get(entry, "verdict")))) +
                "</p>\n" + GridTable(Get(entry, "thresholds"));
    }
    return html;
}

std::string MeasurementFacts(const json& measurement) {
    const json positions = Get(measurement, "samplePositions");
    std::string html = "<div class=\"facts\">\n<table>\n";
    html += Row("Verdict", E(TextOf(Get(positions, "verdict"))));
    html += Row("Samples", E(SamplesText(Get(positions, "samples"))));
    const json texture = Get(positions, "textureSampling");
    if (texture.is_object()) html += Row("Texture", E(TextOf(Get(texture, "text"))));
    for (const char* key : {"centroid", "antialiasOff"}) {
        const json entry = Get(measurement, key);
        if (entry.is_object()) html += Row(key == std::string("centroid") ? "Centroid" : "AA off", E(TextOf(Get(entry, "verdict"))));
    }
    html += "</table>\n" + VerdictsTable(Get(positions, "verdicts"));
    html += ResolveFacts(Get(measurement, "resolve"));
    html += AlphaToCoverageFacts(Get(measurement, "alphaToCoverage"));
    return html + "</div>\n";
}

// The baseline's differences, by mode label.
std::map<std::string, std::vector<json>> DifferencesByMode(const json& document) {
    std::map<std::string, std::vector<json>> byMode;
    const json differences = Get(Get(document, "baseline"), "differences");
    for (const json& difference : differences.is_array() ? differences : json::array()) {
        byMode[Get(difference, "mode").is_string() ? difference["mode"].get<std::string>() : std::string()].push_back(difference);
    }
    return byMode;
}

std::string DifferenceItem(const json& difference) {
    return "<li>" + E(TextOf(Get(difference, "location"))) + " " + E(TextOf(Get(difference, "text"))) + "</li>\n";
}

// Samples that moved, from differences at "/measurement/samplePositions/samples/N/x" or ".../y".
std::map<size_t, MovedSample> MovedSamples(const std::vector<json>& differences) {
    const std::string prefix = "/measurement/samplePositions/samples/";
    std::map<size_t, MovedSample> moved;
    for (const json& difference : differences) {
        const std::string path = Get(difference, "path").is_string() ? difference["path"].get<std::string>() : "";
        if (path.compare(0, prefix.size(), prefix) != 0) continue;
        size_t end = prefix.size();
        while (end < path.size() && std::isdigit(static_cast<unsigned char>(path[end]))) ++end;
        if (end == prefix.size() || end + 2 != path.size() || path[end] != '/') continue;
        MovedSample& sample = moved[std::stoul(path.substr(prefix.size(), end - prefix.size()))];
        (path[end + 1] == 'x' ? sample.x : sample.y) = Get(difference, "was");
    }
    return moved;
}

std::string ModeSection(const json& mode, const std::vector<json>& differences) {
    const std::string label = ModeLabelOf(mode);
    std::string html = "<section class=\"mode" + std::string(differences.empty() ? "" : " differs") + "\" id=\"" +
                       AnchorOf(label) + "\">\n<h3>" + E(label) + "</h3>\n";
    if (!differences.empty()) {
        html += "<ul class=\"differences\">\n";
        for (const json& difference : differences) html += DifferenceItem(difference);
        html += "</ul>\n";
    }
    html += "<div class=\"row\">\n";
    const json measurement = Get(mode, "measurement");
    if (Get(mode, "status") == "measured" && measurement.is_object()) {
        const std::map<size_t, MovedSample> moved = MovedSamples(differences);
        const std::string diagram = SampleDiagramSvg(Get(measurement, "samplePositions"), moved);
        if (!diagram.empty()) {
            html += "<figure>" + diagram +
                    "<figcaption>red: measured samples, numbered by mask bit; blue rings: the standard pattern; green "
                    "crosses: where the texture is sampled; shaded: a position known to an interval" +
                    std::string(moved.empty() ? "" : "; orange: where the baseline had it") +
                    "</figcaption></figure>\n";
        }
        html += MeasurementFacts(measurement);
    } else {
        const json failure = Get(mode, "failure");
        const json status = Get(mode, "status");
        const std::string what = status == "crashed" ? "crashed in" : status == "timedOut" ? "no answer in" : "failed:";
        html += "<p class=\"failed\">" + what + " " + E(TextOf(Get(failure, "stage"))) + " " +
                E(Get(failure, "code").is_null() ? std::string() : TextOf(failure["code"])) + " " +
                E(TextOf(Get(failure, "message"))) + "</p>\n";
    }
    const json picture = Get(mode, "picture");
    if (picture.is_string()) {
        const std::string name = E(picture.get<std::string>());
        html += "<figure><a href=\"" + name + "\"><img class=\"picture\" src=\"" + name + "\" alt=\"the picture of " +
                E(label) + "\"></a><figcaption>" + name + "</figcaption></figure>\n";
    }
    return html + "</div>\n</section>\n";
}

std::string AdapterHeading(const json& adapter) {
    return "<h2>Adapter " + E(TextOf(Get(adapter, "ordinal"))) + ": " + E(TextOf(Get(adapter, "description"))) +
           "</h2>\n<p>Driver " + E(TextOf(Get(adapter, "driver"))) + " " + E(TextOf(Get(adapter, "driverVersion"))) +
           ", vendor " + E(TextOf(Get(adapter, "vendorId"))) + ", device " + E(TextOf(Get(adapter, "deviceId"))) +
           ", desktop " + E(TextOf(Get(adapter, "desktopFormat"))) + ".</p>\n";
}

std::string BaselineBox(const json& baseline, const std::map<std::string, std::vector<json>>& byMode) {
    if (!baseline.is_object()) return std::string();
    const json differences = Get(baseline, "differences");
    const size_t count = differences.is_array() ? differences.size() : 0;
    const std::string file = E(TextOf(Get(baseline, "file")));
    if (count == 0) return "<p class=\"baseline same\">No differences from the baseline " + file + ".</p>\n";
    std::string html = "<div class=\"baseline\"><p>" + std::to_string(count) + (count == 1 ? " difference" : " differences") +
                       " from the baseline " + file + ":</p>\n<ul>\n";
    for (const auto& entry : byMode) {
        if (entry.first.empty()) {
            for (const json& difference : entry.second) html += DifferenceItem(difference);
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

std::string SurveyHtml(const json& document) {
    const json adapters = Get(document, "adapters").is_array() ? document["adapters"] : json::array();
    const json modes = Get(document, "modes").is_array() ? document["modes"] : json::array();
    std::string title = "Quillant survey";
    if (!adapters.empty()) title += ": " + TextOf(Get(adapters[0], "description"));

    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + E(title) +
                       "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n<h1>" + E(title) + "</h1>\n";
    const json summary = Get(document, "summary");
    html += "<p>" + E(TextOf(Get(document, "program"))) + " " + E(TextOf(Get(document, "version"))) + ", schema " +
            E(TextOf(Get(document, "schemaVersion"))) + ": " + E(TextOf(Get(summary, "modes"))) + " modes, " +
            E(TextOf(Get(summary, "measured"))) + " measured, " + E(TextOf(Get(summary, "failed"))) +
            " failed. Positions in 1/16 pixel from the pixel's top-left corner.</p>\n";
    if (Get(document, "complete") == false) {
        html += "<p class=\"failed\">Incomplete: the survey was still measuring, or was stopped, after these "
                "modes.</p>\n";
    }
    const auto byMode = DifferencesByMode(document);
    html += BaselineBox(Get(document, "baseline"), byMode);

    std::vector<bool> shown(modes.size(), false);
    const auto sections = [&](const json& ordinal) {
        std::string text;
        for (size_t i = 0; i < modes.size(); ++i) {
            if (shown[i] || (!ordinal.is_null() && Get(modes[i], "adapterOrdinal") != ordinal)) continue;
            shown[i] = true;
            const auto found = byMode.find(ModeLabelOf(modes[i]));
            text += ModeSection(modes[i], found == byMode.end() ? std::vector<json>() : found->second);
        }
        return text;
    };
    for (const json& adapter : adapters) html += AdapterHeading(adapter) + sections(Get(adapter, "ordinal"));
    const std::string rest = sections(json());
    if (!rest.empty()) html += "<h2>Other modes</h2>\n" + rest;

    const json notes = Get(document, "notes");
    if (notes.is_array() && !notes.empty()) {
        html += "<ul class=\"notes\">\n";
        for (const json& note : notes) html += "<li>" + E(TextOf(note)) + "</li>\n";
        html += "</ul>\n";
    }
    return html + "</body>\n</html>\n";
}
