// The verdict and texture-sampling texts shown in the dialog and written by the survey.
#include "analysis/positions/sample_measurement.h"

#include <cmath>
#include <cstdio>

namespace {

// Decimals enough for a 1/16 step (0.0625) and for any 1/N edge to four places; no trailing
// zeros.
std::string Decimal(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    std::string out(text);
    while (!out.empty() && out.back() == '0') out.pop_back();
    if (!out.empty() && out.back() == '.') out.pop_back();
    if (out == "-0") out = "0";
    return out;
}

// Both ends over the smallest measuring step that makes them whole, so that a reader sees the step;
// decimal 1/16 steps where none does.
std::string IntervalText(double low, double high, int gridSize) {
    const int denominator = IntervalDenominator(low, high, gridSize);
    if (denominator > 0) {
        char text[64];
        std::snprintf(text, sizeof text, "[%ld/%d, %ld/%d)", std::lround(low * denominator),
                      denominator, std::lround(high * denominator), denominator);
        return text;
    }
    return "[" + Decimal(low * 16) + "/16, " + Decimal(high * 16) + "/16)";
}

}  // namespace

int IntervalDenominator(double low, double high, int gridSize) {
    // Within a ten-thousandth of a step: the float error of the probe's pattern, not a position.
    const auto whole = [](double value) { return std::fabs(value - std::round(value)) < 1e-4; };
    for (int denominator = gridSize > 0 ? gridSize : 16; denominator <= 4096; denominator *= 2) {
        if (whole(low * denominator) && whole(high * denominator)) return denominator;
    }
    return 0;
}

double ResolvedEnd(double value, int denominator) {
    const double scale = denominator > 0 ? denominator : 1e6;
    return std::round(value * scale) / scale;
}

std::string SixteenthsText(const AxisPosition& axis, int gridSize) {
    if (axis.exact) return std::to_string(axis.sixteenths);
    return IntervalText(axis.low, axis.high, gridSize);
}

std::string PixelFractionText(const AxisPosition& axis) {
    if (axis.exact) return Decimal(axis.sixteenths / 16.0);
    return "[" + Decimal(axis.low) + ", " + Decimal(axis.high) + ")";
}

std::string PointText(const SamplePosition& sample, int gridSize) {
    return "(" + SixteenthsText(sample.x, gridSize) + ", " + SixteenthsText(sample.y, gridSize) + ")";
}

std::string VerdictText(const SampleMeasurement& measurement) {
    int count = 0;
    for (const SamplePosition& sample : measurement.samples) count += sample.count;
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
        text += " " + PointText(position, measurement.gridSize);
    }
    return text;
}
