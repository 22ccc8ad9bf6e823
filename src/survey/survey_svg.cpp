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

// The pixel's border in the diagrams' own colour, or another where the pixel shows something else.
std::string Grid(const char* border = kDiagramBorderColour) {
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
           Num(kSide + 2) + "\" height=\"" + Num(kSide + 2) + "\" fill=\"none\" stroke=\"" + border +
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
    // Wide enough for a label that names several coincident samples ("0-3").
    const double radius = std::max<double>(kDotRadius, 3.5 * number.size() + 3.0);
    return "<g class=\"sample\"><title>" + title + "</title><circle cx=\"" + Num(x) + "\" cy=\"" + Num(y) + "\" r=\"" +
           Num(radius) + "\" fill=\"" + kDiagramDotColour + "\"/><text x=\"" + Num(x) + "\" y=\"" + Num(y + 4) +
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

std::string GridSvg(const ViewGrid& grid) {
    if (grid.cells.empty() || grid.cells[0].empty() || grid.valueScale <= 0) return std::string();
    const int across = static_cast<int>(std::max(grid.cells.size(), grid.cells[0].size()));
    const double cell = static_cast<double>(kSide) / across;
    std::string svg = SvgOpen(kDiagramSize, kDiagramSize, "values per pixel") + "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n";
    for (size_t row = 0; row < grid.cells.size(); ++row) {
        for (size_t column = 0; column < grid.cells[row].size(); ++column) {
            const std::vector<int>& values = grid.cells[row][column];
            const double x = kMargin + column * cell, y = kMargin + row * cell;
            std::string title;
            for (int value : values) title += (title.empty() ? "" : " ") + (value < 0 ? std::string("none") : std::to_string(value));
            if (values.size() == 1) {
                const double share = std::clamp(static_cast<double>(values[0]) / grid.valueScale, 0.0, 1.0);
                const int level = static_cast<int>(std::lround(255 * (1 - share)));
                const std::string fill = "rgb(" + std::to_string(level) + "," + std::to_string(level) + "," + std::to_string(level) + ")";
                svg += "<g><title>" + title + "</title><rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(cell) +
                       "\" height=\"" + Num(cell) + "\" fill=\"" + fill + "\" stroke=\"#606060\"/><text x=\"" + Num(x + cell / 2) +
                       "\" y=\"" + Num(y + cell / 2 + 4) + "\" font-size=\"11\" text-anchor=\"middle\" fill=\"" +
                       (level > 128 ? "#000" : "#fff") + "\">" + title + "</text></g>\n";
                continue;
            }
            svg += "<g><title>" + title + "</title><rect x=\"" + Num(x) + "\" y=\"" + Num(y) + "\" width=\"" + Num(cell) +
                   "\" height=\"" + Num(cell) + "\" fill=\"#f6f6f6\" stroke=\"#606060\"/>\n";
            const double bar = (cell - 4) / std::max<size_t>(1, values.size());
            for (size_t s = 0; s < values.size(); ++s) {
                if (values[s] < 0) continue;
                const double tall = std::max(1.0, (cell - 4) * std::min(values[s], grid.valueScale) / grid.valueScale);
                svg += "<rect x=\"" + Num(x + 2 + s * bar + 0.5) + "\" y=\"" + Num(y + cell - 2 - tall) + "\" width=\"" +
                       Num(bar - 1) + "\" height=\"" + Num(tall) + "\" fill=\"#285adc\"/>\n";
            }
            svg += "</g>\n";
        }
    }
    return svg + "</svg>\n";
}

std::string EvaluationSvg(const ViewEvaluation& evaluation) {
    std::string svg = SvgOpen(kDiagramSize, kDiagramSize, "where the input was evaluated in the pixel") +
                      "<rect width=\"100%\" height=\"100%\" fill=\"#fff\"/>\n" + Grid("#606060");
    for (const ViewPoint& sample : evaluation.uncovered) {
        svg += "<circle cx=\"" + Num(At(Drawn(sample.x))) + "\" cy=\"" + Num(At(Drawn(sample.y))) + "\" r=\"" +
               Num(kDotRadius) + "\" fill=\"none\" stroke=\"#a0a0a0\" stroke-width=\"2\"><title>sample " + sample.label +
               ", not covered</title></circle>\n";
    }
    for (const ViewPoint& sample : evaluation.covered) {
        svg += Dot(At(Drawn(sample.x)), At(Drawn(sample.y)), sample.label, "sample " + sample.label + ", covered");
    }
    if (evaluation.centroid) {
        const double x = At(evaluation.centroid->x), y = At(evaluation.centroid->y), r = kDotRadius + 3;
        svg += "<path d=\"M" + Num(x) + " " + Num(y - r) + "L" + Num(x + r) + " " + Num(y) + "L" + Num(x) + " " + Num(y + r) +
               "L" + Num(x - r) + " " + Num(y) + "Z\" fill=\"none\" stroke=\"#e68c00\" stroke-width=\"2\"><title>centroid of the "
               "covered samples</title></path>\n";
    }
    svg += "<circle cx=\"" + Num(At(0.5)) + "\" cy=\"" + Num(At(0.5)) + "\" r=\"4\" fill=\"none\" stroke=\"#000\"/>\n";
    const double x = At(evaluation.evaluated.x), y = At(evaluation.evaluated.y), r = kDotRadius + 3;
    svg += "<path d=\"M" + Num(x - r) + " " + Num(y - r) + "L" + Num(x + r) + " " + Num(y + r) + "M" + Num(x + r) + " " +
           Num(y - r) + "L" + Num(x - r) + " " + Num(y + r) + "\" stroke=\"#007800\" stroke-width=\"3\"><title>evaluated at (" +
           Num(evaluation.evaluated.x * 1000) + ", " + Num(evaluation.evaluated.y * 1000) + ") / 1000</title></path>\n";
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
