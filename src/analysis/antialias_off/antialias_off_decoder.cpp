// Positions compare by their measured intervals: the same interval on both axes is the same
// position, to the measuring step. "Centre" needs every sample found exactly at (8, 8).
#include "analysis/antialias_off/antialias_off_decoder.h"

#include <cmath>

namespace {

bool SameAxis(const AxisPosition& a, const AxisPosition& b) {
    if (a.exact || b.exact) return a.exact == b.exact && a.sixteenths == b.sixteenths;
    return std::fabs(a.low - b.low) < 1e-6 && std::fabs(a.high - b.high) < 1e-6;
}

bool SamePositions(const std::vector<SamplePosition>& a, const std::vector<SamplePosition>& b) {
    if (a.size() != b.size()) return false;
    for (size_t k = 0; k < a.size(); ++k) {
        if (a[k].maskBit != b[k].maskBit || a[k].count != b[k].count || !SameAxis(a[k].x, b[k].x) ||
            !SameAxis(a[k].y, b[k].y)) {
            return false;
        }
    }
    return true;
}

bool AllAtCentre(const std::vector<SamplePosition>& samples) {
    for (const SamplePosition& s : samples) {
        if (!s.x.exact || !s.y.exact || s.x.sixteenths != 8 || s.y.sixteenths != 8) return false;
    }
    return !samples.empty();
}

}  // namespace

void DecodeAntialiasOff(const SampleMeasurement& usual, AntialiasOffMeasurement* m) {
    const std::vector<SamplePosition>& off = m->positions.samples;
    // Where the usual positions are all at the centre already (one sample), on and off look alike:
    // neither verdict can be told from the other, so none is given.
    if (AllAtCentre(usual.samples)) {
        m->verdict = AntialiasOffVerdict::NotMeasured;
    } else if (SamePositions(usual.samples, off)) {
        m->verdict = AntialiasOffVerdict::Unchanged;
    } else if (AllAtCentre(off)) {
        m->verdict = AntialiasOffVerdict::Centre;
    } else {
        m->verdict = AntialiasOffVerdict::Other;
    }
}
