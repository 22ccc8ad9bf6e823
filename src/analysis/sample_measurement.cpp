// The verdict and texture-sampling texts shown in the dialog and written by the survey.
#include "analysis/sample_measurement.h"

#include <cstdio>

namespace {

std::string PointText(const SamplePosition& sample) {
    return "(" + AxisSixteenthsText(sample.x) + ", " + AxisSixteenthsText(sample.y) + ")";
}

}  // namespace

std::string AxisSixteenthsText(const AxisPosition& axis) {
    char text[64];
    if (axis.exact) {
        std::snprintf(text, sizeof(text), "%d", axis.sixteenths);
    } else {
        std::snprintf(text, sizeof(text), "%g..%g", axis.low * 16.0, axis.high * 16.0);
    }
    return text;
}

std::string VerdictText(const SampleMeasurement& measurement) {
    int count = 0;
    for (const SamplePosition& sample : measurement.samples) count += sample.weight;
    std::string text;
    if (measurement.standardPattern) {
        text = "standard " + std::to_string(count) + "-sample pattern";
    } else if (measurement.allAtCentre) {
        text = "all samples at the pixel centre";
    } else {
        text = "non-standard pattern";
    }
    if (measurement.quadsDiffer) text += ", positions differ within a 2x2 pixel quad";
    if (measurement.resolveNotAverage) text += ", resolve is not a plain average";
    return text;
}

std::string TextureSamplingText(const SampleMeasurement& measurement) {
    std::string text;
    switch (measurement.textureSampling) {
        case TextureSampling::NotMeasured:
            return "not measured";
        case TextureSampling::OncePerPixel:
            text = "once per pixel at";
            break;
        case TextureSampling::PerSample:
            text = "per sample at";
            break;
    }
    for (const SamplePosition& position : measurement.texturePositions) {
        text += " " + PointText(position);
    }
    return text;
}
