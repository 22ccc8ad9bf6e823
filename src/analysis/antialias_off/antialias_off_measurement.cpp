// The texts of the multisampling-off measurement, as the pages and the survey show them.
#include "analysis/antialias_off/antialias_off_measurement.h"

std::string AntialiasOffVerdictText(const AntialiasOffMeasurement& m) {
    switch (m.verdict) {
    case AntialiasOffVerdict::NotMeasured:
        // Measured positions without a verdict: they were at the centre with it on as well.
        return m.positions.samples.empty() ? "not measured"
                                           : "not measured: the samples lie at the centre with it on as well, so on and off look alike";
    case AntialiasOffVerdict::Centre: return "one evaluation at the centre, written to every sample";
    case AntialiasOffVerdict::Unchanged: return "unchanged (the state is ignored)";
    case AntialiasOffVerdict::Other: return "other: neither ignored nor one evaluation at the centre";
    }
    return "other";
}

std::string AntialiasOffColumnText(const AntialiasOffMeasurement& m) {
    switch (m.verdict) {
    case AntialiasOffVerdict::NotMeasured:
        return m.positions.samples.empty() ? "n/a (one sample per pixel)" : "n/a (on and off alike)";
    case AntialiasOffVerdict::Centre: return "centre, every sample";
    case AntialiasOffVerdict::Unchanged: return "ignored";
    case AntialiasOffVerdict::Other: return "neither";
    }
    return "other";
}
