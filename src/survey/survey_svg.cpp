// SVG pictures for survey.html, as text.
#include "survey/survey_svg.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>


namespace {

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

// The place drawn for an axis, as the dialog draws it: the 1/16 step, or the interval's middle.
double Drawn(const ViewAxis& axis) { return axis.exact ? axis.low : (axis.low + axis.high) / 2.0; }

double At(double fraction) { return kMargin + fraction * kSide; }

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

std::string Interval(const ViewAxis& x, const ViewAxis& y) {
    const auto low = [](const ViewAxis& axis) { return axis.exact ? Drawn(axis) - 1 / 64.0 : axis.low; };
    const auto high = [](const ViewAxis& axis) { return axis.exact ? Drawn(axis) + 1 / 64.0 : axis.high; };
    return "<rect x=\"" + Num(At(low(x))) + "\" y=\"" + Num(At(low(y))) + "\" width=\"" +
           Num((high(x) - low(x)) * kSide) + "\" height=\"" + Num((high(y) - low(y)) * kSide) +
           "\" fill=\"#fad4d4\"><title>measured interval</title></rect>\n";
}

std::string Rings(const std::vector<ViewPoint>& standard) {
    std::string svg;
    for (const ViewPoint& point : standard) {
        svg += "<circle cx=\"" + Num(At(Drawn(point.x))) + "\" cy=\"" + Num(At(Drawn(point.y))) + "\" r=\"" +
               Num(kDotRadius + 4) + "\" fill=\"none\" stroke=\"#285adc\" stroke-width=\"2\"/>\n";
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

}  // namespace

std::string SampleDiagramSvg(const ViewDiagram& diagram, const std::map<size_t, MovedSample>& moved) {
    if (diagram.samples.empty()) return std::string();
    std::string svg = SvgOpen(kDiagramSize, kDiagramSize, "sample positions in the pixel") +
                      "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n" + Grid();
    for (const ViewPoint& sample : diagram.samples) {
        if (!sample.x.exact || !sample.y.exact) svg += Interval(sample.x, sample.y);
    }
    svg += Rings(diagram.standard);
    for (const ViewPoint& point : diagram.texture) svg += Cross(At(Drawn(point.x)), At(Drawn(point.y)));
    for (size_t i = 0; i < diagram.samples.size(); ++i) {
        const ViewPoint& sample = diagram.samples[i];
        const double x = At(Drawn(sample.x)), y = At(Drawn(sample.y));
        const auto found = moved.find(i);
        if (found != moved.end()) {
            const double wasX = found->second.hasX ? At(Drawn(found->second.x)) : x;
            const double wasY = found->second.hasY ? At(Drawn(found->second.y)) : y;
            svg += Moved(x, y, wasX, wasY);
        }
        svg += Dot(x, y, sample.label,
                   "sample " + sample.label + " at (" + Num(Drawn(sample.x) * 16) + ", " + Num(Drawn(sample.y) * 16) + ")");
    }
    return svg + "</svg>\n";
}

std::string LadderSvg(const ViewLadder& ladder) {
    if (ladder.covered.empty() || ladder.samples <= 0 || ladder.valueScale <= 0) return std::string();
    const int samples = ladder.samples;
    const double scale = ladder.valueScale;
    constexpr int width = 200, height = 150, left = 30, top = 8, plotWidth = 160, plotHeight = 112;
    const auto px = [&](double k) { return left + k / samples * plotWidth; };
    const auto py = [&](double value) { return top + plotHeight - value / scale * plotHeight; };
    std::string svg = SvgOpen(width, height, "resolved value against covered samples") +
                      "<rect x=\"" + Num(left) + "\" y=\"" + Num(top) + "\" width=\"" + Num(plotWidth) + "\" height=\"" +
                      Num(plotHeight) + "\" fill=\"#fafafa\" stroke=\"#999\"/>\n";
    const auto line = [&](const std::vector<double>& values) {
        std::string points;
        for (size_t i = 0; i < values.size() && i < ladder.covered.size(); ++i) {
            points += (i ? " " : "") + Num(px(ladder.covered[i])) + "," + Num(py(values[i]));
        }
        return points;
    };
    svg += "<polyline points=\"" + line(ladder.stored) +
           "\" fill=\"none\" stroke=\"#285adc\" stroke-dasharray=\"4 3\"><title>stored values averaged</title></polyline>\n";
    svg += "<polyline points=\"" + line(ladder.linear) +
           "\" fill=\"none\" stroke=\"#009600\" stroke-dasharray=\"4 3\"><title>linear light averaged</title></polyline>\n";
    for (size_t i = 0; i < ladder.covered.size() && i < ladder.values.size(); ++i) {
        svg += "<circle cx=\"" + Num(px(ladder.covered[i])) + "\" cy=\"" + Num(py(ladder.values[i])) + "\" r=\"3\" fill=\"" +
               kLadderColour + "\"><title>" + std::to_string(ladder.covered[i]) + " covered: " + Num(ladder.values[i]) +
               "</title></circle>\n";
    }
    svg += "<polyline points=\"" + line(ladder.values) + "\" fill=\"none\" stroke=\"" + kLadderColour + "\"/>\n";
    svg += "<text x=\"" + Num(left - 4) + "\" y=\"" + Num(top + 8) + "\" font-size=\"10\" text-anchor=\"end\">" +
           std::to_string(ladder.valueScale) + "</text>";
    svg += "<text x=\"" + Num(left - 4) + "\" y=\"" + Num(top + plotHeight) + "\" font-size=\"10\" text-anchor=\"end\">0</text>";
    svg += "<text x=\"" + Num(left) + "\" y=\"" + Num(height - 14) + "\" font-size=\"10\">0</text>";
    svg += "<text x=\"" + Num(left + plotWidth) + "\" y=\"" + Num(height - 14) + "\" font-size=\"10\" text-anchor=\"end\">" +
           std::to_string(samples) + "</text>";
    svg += "<text x=\"" + Num(left + plotWidth / 2) + "\" y=\"" + Num(height - 2) +
           "\" font-size=\"10\" text-anchor=\"middle\">samples covered</text>\n";
    return svg + "</svg>\n";
}
