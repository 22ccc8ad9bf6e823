// SVG pictures for survey.html, as text.
#include "survey/survey_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

#include "analysis/positions/standard_sample_patterns.h"

namespace {

using nlohmann::json;

constexpr int kMargin = 17;
constexpr int kSide = kDiagramSize - 2 * kMargin;
constexpr int kDotRadius = 7;
constexpr char kLadderColour[] = "#6a1b9a";

std::string Num(double value) {
    char text[32];
    std::snprintf(text, sizeof(text), "%.1f", value);
    std::string s = text;
    if (s.size() > 2 && s.compare(s.size() - 2, 2, ".0") == 0) s.erase(s.size() - 2);
    return s;
}

bool IsAxis(const json& axis) {
    return axis.is_object() && axis.contains("low") && axis.contains("high") && axis["low"].is_number() &&
           axis["high"].is_number();
}

bool IsExact(const json& axis) { return axis.value("exact", false) && axis.value("sixteenths", json()).is_number(); }

// The position drawn for an axis, as the dialog draws it: the 1/16 step, or the interval's middle.
double Drawn(const json& axis) {
    if (IsExact(axis)) return axis["sixteenths"].get<double>() / 16.0;
    return (axis["low"].get<double>() + axis["high"].get<double>()) / 2.0;
}

double At(double fraction) { return kMargin + fraction * kSide; }

int Count(const json& sample) {
    const json count = sample.value("count", json());
    return count.is_number_integer() ? count.get<int>() : 1;
}

std::string Grid() {
    std::string svg = "<rect x=\"" + Num(kMargin) + "\" y=\"" + Num(kMargin) + "\" width=\"" + Num(kSide) +
                      "\" height=\"" + Num(kSide) + "\" fill=\"#f6f6f6\"/>\n";
    for (int step = 1; step < 16; ++step) {
        const std::string at = Num(At(step / 16.0) + 0.5);
        const char* colour = step == 8 ? "#c4c4c4" : "#e4e4e4";
        svg += "<line x1=\"" + at + "\" y1=\"" + Num(kMargin) + "\" x2=\"" + at + "\" y2=\"" + Num(kMargin + kSide) +
               "\" stroke=\"" + colour + "\"/><line x1=\"" + Num(kMargin) + "\" y1=\"" + at + "\" x2=\"" +
               Num(kMargin + kSide) + "\" y2=\"" + at + "\" stroke=\"" + colour + "\"/>\n";
    }
    svg += "<rect class=\"pixel\" x=\"" + Num(kMargin - 1) + "\" y=\"" + Num(kMargin - 1) + "\" width=\"" +
           Num(kSide + 2) + "\" height=\"" + Num(kSide + 2) + "\" fill=\"none\" stroke=\"" + kDiagramBorderColour +
           "\" stroke-width=\"2\" shape-rendering=\"crispEdges\"/>\n";
    return svg;
}

std::string Interval(const json& x, const json& y) {
    const auto low = [](const json& axis) { return IsExact(axis) ? Drawn(axis) - 1 / 64.0 : axis["low"].get<double>(); };
    const auto high = [](const json& axis) { return IsExact(axis) ? Drawn(axis) + 1 / 64.0 : axis["high"].get<double>(); };
    return "<rect x=\"" + Num(At(low(x))) + "\" y=\"" + Num(At(low(y))) + "\" width=\"" +
           Num((high(x) - low(x)) * kSide) + "\" height=\"" + Num((high(y) - low(y)) * kSide) +
           "\" fill=\"#fad4d4\"><title>measured interval</title></rect>\n";
}

std::string Rings(int count) {
    const StandardSamplePattern pattern = StandardPatternFor(count);
    std::string svg;
    for (int i = 0; pattern.points && i < pattern.count; ++i) {
        svg += "<circle cx=\"" + Num(At(pattern.points[i].x / 16.0)) + "\" cy=\"" + Num(At(pattern.points[i].y / 16.0)) +
               "\" r=\"" + Num(kDotRadius + 4) + "\" fill=\"none\" stroke=\"#285adc\" stroke-width=\"2\"/>\n";
    }
    return svg;
}

std::string Cross(double x, double y) {
    const double size = 2 * kDotRadius + 2;
    return "<path d=\"M" + Num(x - size) + " " + Num(y - size) + "L" + Num(x + size) + " " + Num(y + size) + "M" +
           Num(x + size) + " " + Num(y - size) + "L" + Num(x - size) + " " + Num(y + size) +
           "\" stroke=\"#009600\" stroke-width=\"2\"/>\n";
}

std::string Dot(double x, double y, const std::string& number, const std::string& title) {
    return "<g class=\"sample\"><title>" + title + "</title><circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"" +
           Num(kDotRadius) + "\" fill=\"" + kDiagramDotColour + "\"/><text x=\"" + Num(x) + "\" y=\"" + Num(y + 4) +
           "\" fill=\"#fff\" font-size=\"11\" font-weight=\"bold\" text-anchor=\"middle\">" + number + "</text></g>\n";
}

// A moved sample: its dot ringed, its baseline position dashed and joined to it.
std::string Moved(double x, double y, double wasX, double wasY) {
    return "<g class=\"moved\"><title>in the baseline here</title><line x1=\"" + Num(wasX) + "\" y1=\"" + Num(wasY) +
           "\" x2=\"" + Num(x) + "\" y2=\"" + Num(y) + "\" stroke=\"#e65100\" stroke-width=\"1.5\"/><circle cx=\"" +
           Num(wasX) + "\" cy=\"" + Num(wasY) + "\" r=\"" + Num(kDotRadius) +
           "\" fill=\"none\" stroke=\"#e65100\" stroke-width=\"2\" stroke-dasharray=\"3 2\"/><circle cx=\"" + Num(x) +
           "\" cy=\"" + Num(y) + "\" r=\"" + Num(kDotRadius + 8) +
           "\" fill=\"none\" stroke=\"#e65100\" stroke-width=\"2\"/></g>\n";
}

std::string SvgOpen(int width, int height, const std::string& label) {
    return "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(width) + "\" height=\"" +
           std::to_string(height) + "\" viewBox=\"0 0 " + std::to_string(width) + " " + std::to_string(height) +
           "\" role=\"img\" aria-label=\"" + label + "\">\n";
}

// sRGB encoding of a linear value, as a resolve that averages linear light writes it back.
double SrgbEncoded(double linear) {
    return linear <= 0.0031308 ? 12.92 * linear : 1.055 * std::pow(linear, 1 / 2.4) - 0.055;
}

bool LadderValue(const json& step, int* covered, double* value) {
    if (!step.is_object() || !step.value("covered", json()).is_number()) return false;
    json v = step.value("value", json());
    if (v.is_array() && !v.empty()) v = v[0];
    if (!v.is_number()) return false;
    *covered = step["covered"].get<int>();
    *value = v.get<double>();
    return true;
}

}  // namespace

std::string SampleDiagramSvg(const json& measurement, const std::map<size_t, MovedSample>& moved) {
    const json samples = measurement.is_object() ? measurement.value("samples", json()) : json();
    if (!samples.is_array() || samples.empty()) return std::string();
    std::string svg = SvgOpen(kDiagramSize, kDiagramSize, "sample positions in the pixel") +
                      "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n" + Grid();
    int count = 0;
    for (const json& sample : samples) {
        if (!sample.is_object() || !IsAxis(sample.value("x", json())) || !IsAxis(sample.value("y", json()))) continue;
        count += Count(sample);
        if (!IsExact(sample["x"]) || !IsExact(sample["y"])) svg += Interval(sample["x"], sample["y"]);
    }
    svg += Rings(count);
    const json texture = measurement.value("textureSampling", json::object());
    const json positions = texture.is_object() ? texture.value("positions", json()) : json();
    for (const json& position : positions.is_array() ? positions : json::array()) {
        if (IsAxis(position.value("x", json())) && IsAxis(position.value("y", json()))) {
            svg += Cross(At(Drawn(position["x"])), At(Drawn(position["y"])));
        }
    }
    for (size_t i = 0; i < samples.size(); ++i) {
        const json& sample = samples[i];
        if (!sample.is_object() || !IsAxis(sample.value("x", json())) || !IsAxis(sample.value("y", json()))) continue;
        const double x = At(Drawn(sample["x"])), y = At(Drawn(sample["y"]));
        const auto found = moved.find(i);
        if (found != moved.end()) {
            const double wasX = IsAxis(found->second.x) ? At(Drawn(found->second.x)) : x;
            const double wasY = IsAxis(found->second.y) ? At(Drawn(found->second.y)) : y;
            svg += Moved(x, y, wasX, wasY);
        }
        // Numbered as the dialog's table: by mask bit where the mask picks samples out.
        const json maskBit = sample.value("maskBit", json());
        const std::string number = maskBit.is_number_integer() ? maskBit.dump() : std::to_string(i);
        svg += Dot(x, y, number,
                   "sample " + number + " at (" + Num(Drawn(sample["x"]) * 16) + ", " + Num(Drawn(sample["y"]) * 16) + ")");
    }
    return svg + "</svg>\n";
}

std::string TransferCurveSvg(const json& transfer) {
    const json ladder = transfer.is_object() ? transfer.value("ladder", json()) : json();
    if (!ladder.is_array()) return std::string();
    std::vector<std::pair<int, double>> points;
    int samples = 0;
    for (const json& step : ladder) {
        int covered = 0;
        double value = 0;
        if (!LadderValue(step, &covered, &value)) continue;
        points.push_back({covered, value});
        samples = std::max(samples, covered);
    }
    if (points.empty() || samples == 0) return std::string();

    constexpr int width = 200, height = 150, left = 30, top = 8, plotWidth = 160, plotHeight = 112;
    const auto px = [&](double k) { return left + k / samples * plotWidth; };
    const auto py = [&](double value) { return top + plotHeight - value / 255.0 * plotHeight; };
    std::string svg = SvgOpen(width, height, "resolved value against covered samples") +
                      "<rect x=\"" + Num(left) + "\" y=\"" + Num(top) + "\" width=\"" + Num(plotWidth) + "\" height=\"" +
                      Num(plotHeight) + "\" fill=\"#fafafa\" stroke=\"#999\"/>\n";
    std::string stored, linear;
    for (int k = 0; k <= samples; ++k) {
        stored += (k ? " " : "") + Num(px(k)) + "," + Num(py(255.0 * k / samples));
    }
    for (int i = 0; i <= 40; ++i) {
        const double k = samples * i / 40.0;
        linear += (i ? " " : "") + Num(px(k)) + "," + Num(py(255.0 * SrgbEncoded(k / samples)));
    }
    svg += "<polyline points=\"" + stored + "\" fill=\"none\" stroke=\"#285adc\" stroke-dasharray=\"4 3\"><title>stored values averaged</title></polyline>\n";
    svg += "<polyline points=\"" + linear + "\" fill=\"none\" stroke=\"#009600\" stroke-dasharray=\"4 3\"><title>linear light averaged</title></polyline>\n";
    std::string measured;
    for (const auto& point : points) {
        measured += (measured.empty() ? "" : " ") + Num(px(point.first)) + "," + Num(py(point.second));
        svg += "<circle cx=\"" + Num(px(point.first)) + "\" cy=\"" + Num(py(point.second)) + "\" r=\"3\" fill=\"" +
               kLadderColour + "\"><title>" + std::to_string(point.first) + " covered: " + Num(point.second) +
               "</title></circle>\n";
    }
    svg += "<polyline points=\"" + measured + "\" fill=\"none\" stroke=\"" + kLadderColour + "\"/>\n";
    svg += "<text x=\"" + Num(left - 4) + "\" y=\"" + Num(top + 8) + "\" font-size=\"10\" text-anchor=\"end\">255</text>";
    svg += "<text x=\"" + Num(left - 4) + "\" y=\"" + Num(top + plotHeight) + "\" font-size=\"10\" text-anchor=\"end\">0</text>";
    svg += "<text x=\"" + Num(left) + "\" y=\"" + Num(height - 14) + "\" font-size=\"10\">0</text>";
    svg += "<text x=\"" + Num(left + plotWidth) + "\" y=\"" + Num(height - 14) + "\" font-size=\"10\" text-anchor=\"end\">" +
           std::to_string(samples) + "</text>";
    svg += "<text x=\"" + Num(left + plotWidth / 2) + "\" y=\"" + Num(height - 2) +
           "\" font-size=\"10\" text-anchor=\"middle\">samples covered</text>\n";
    return svg + "</svg>\n";
}
