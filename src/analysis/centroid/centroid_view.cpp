// The centroid measurement told as facts and a table of its cases.
#include "analysis/centroid/centroid_view.h"

#include <cstdio>

#include "analysis/positions/positions_view.h"

namespace {

std::string Point(const PixelPoint& point) {
    char text[48];
    std::snprintf(text, sizeof text, "(%.3f, %.3f)", point.x, point.y);
    return text;
}

std::string MaskBits(unsigned mask) {
    std::string text;
    for (int bit = 0; bit < 32; ++bit) {
        if (mask >> bit & 1u) text += (text.empty() ? "" : " ") + std::to_string(bit);
    }
    return text.empty() ? "none" : text;
}

std::string Matches(const CentroidCase& c) {
    std::string text;
    if (c.atCentroid) text += "centroid";
    if (c.atCentre) text += std::string(text.empty() ? "" : ", ") + "centre";
    if (c.atSample >= 0) text += std::string(text.empty() ? "" : ", ") + "sample " + std::to_string(c.atSample);
    return text.empty() ? "none" : text;
}

// The case in the pixel: the samples by whether the edge covered them, their centroid where
// there are two or more, and where the _centroid input was evaluated.
// The samples are the mode's positions: the centroid's own copy is not kept in a survey file.
ViewEvaluation EvaluationOf(const std::vector<SamplePosition>& samples, const CentroidCase& c, const std::string& source) {
    ViewEvaluation evaluation{"covered " + MaskBits(c.covered), source, {}, {}, std::nullopt, {c.evaluated.x, c.evaluated.y}};
    ViewSpot sum;
    const std::vector<ViewPoint> points = ViewPoints(samples);
    for (size_t i = 0; i < points.size(); ++i) {
        const ViewPoint& point = points[i];
        const int bit = samples[i].maskBit;
        const bool in = bit >= 0 && (c.covered >> bit & 1u);
        (in ? evaluation.covered : evaluation.uncovered).push_back(point);
        if (!in) continue;
        sum.x += DrawnPlace(point.x);
        sum.y += DrawnPlace(point.y);
    }
    const double count = static_cast<double>(evaluation.covered.size());
    if (count > 1) evaluation.centroid = ViewSpot{sum.x / count, sum.y / count};
    return evaluation;
}

}  // namespace

MeasurementView DescribeCentroid(const ModeMeasurement& measurement) {
    const CentroidMeasurement& m = measurement.centroid;
    MeasurementView view{"Centroid", "Interpolation", {{"Centroid", CentroidColumnText(m), CentroidBriefText(m)}}};
    view.facts.push_back({"Centroid", CentroidVerdictText(m)});
    for (const CentroidShaderModel& model : m.shaderModels) {
        view.facts.push_back({"Centroid in " + model.shaderModel, CentroidShaderModelText(model)});
        view.switches.push_back({"centroid " + model.shaderModel, SwitchVerdictLineText(model.caps)});
    }
    if (m.cases.empty()) return view;
    char precision[64];
    std::snprintf(precision, sizeof precision, "each coordinate within %.4f pixel", m.precision);
    view.facts.push_back({"Read back", precision});
    ViewTable cases{"A triangle's edge across the pixel: where the input was evaluated, in pixels from the pixel's "
                    "top-left corner",
                    {"covered samples (mask bits)", "centre covered", "with _centroid", "without", "matches"},
                    {}};
    for (const CentroidCase& c : m.cases) {
        cases.rows.push_back({MaskBits(c.covered), c.centreCovered ? "yes" : "no", Point(c.evaluated), Point(c.plain),
                              Matches(c)});
    }
    view.tables.push_back(cases);
    for (const CentroidCase& c : m.cases) {
        view.evaluations.push_back(EvaluationOf(measurement.samplePositions.samples, c, "/centroid/cases/" + std::to_string(&c - m.cases.data())));
    }
    return view;
}
