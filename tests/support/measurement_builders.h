// Hand-made measurement values for the tests of what reads a SampleMeasurement: the dialog's
// texts and picture, the JSON and the survey's report.
#pragma once

#include <vector>

#include "analysis/positions/sample_measurement.h"

namespace test_support {

// A position known to the 1/16 step: the interval one step wide around it.
inline AxisPosition ExactAxis(int sixteenths) {
    AxisPosition axis;
    axis.low = (sixteenths - 0.5) / 16.0;
    axis.high = (sixteenths + 0.5) / 16.0;
    axis.exact = true;
    axis.sixteenths = sixteenths;
    return axis;
}

inline AxisPosition IntervalAxis(double low, double high) {
    AxisPosition axis;
    axis.low = low;
    axis.high = high;
    return axis;
}

inline SamplePosition SampleAt(int maskBit, AxisPosition x, AxisPosition y, int count = 1) {
    SamplePosition sample;
    sample.maskBit = maskBit;
    sample.x = x;
    sample.y = y;
    sample.count = count;
    return sample;
}

inline SamplePosition ExactSample(int maskBit, int x, int y, int count = 1) {
    return SampleAt(maskBit, ExactAxis(x), ExactAxis(y), count);
}

// The standard 4-sample pattern, mask bit k at the k-th place.
inline std::vector<SamplePosition> StandardFourSamples() {
    return {ExactSample(0, 6, 2), ExactSample(1, 14, 6), ExactSample(2, 2, 10), ExactSample(3, 10, 14)};
}

// The 4-sample mode as Wine's device measures it: the standard pattern in mask order, the
// texture sampled once per pixel at the centre.
inline SampleMeasurement StandardFourSamplePositions() {
    SampleMeasurement m;
    m.gridSize = 64;
    m.samples = StandardFourSamples();
    m.distinctSamples = 4;
    m.standardPattern = true;
    m.maskOrderStandard = true;
    m.textureSampling = TextureSampling::OncePerPixel;
    m.texturePositions = {ExactSample(-1, 8, 8)};
    return m;
}

}  // namespace test_support
