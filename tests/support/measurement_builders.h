// Hand-made measurement values for the tests of what reads a SampleMeasurement: the dialog's
// texts and picture, the JSON and the survey's report.
#pragma once

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

}  // namespace test_support
