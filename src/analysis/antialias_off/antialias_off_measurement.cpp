// The texts of the multisampling-off measurement, as the pages and the survey show them.
#include "analysis/antialias_off/antialias_off_measurement.h"

std::string AntialiasOffVerdictText(const AntialiasOffMeasurement& m) {
    switch (m.verdict) {
    case AntialiasOffVerdict::NotMeasured: return "not measured";
    case AntialiasOffVerdict::Centre: return "one evaluation at the centre, written to every sample";
    case AntialiasOffVerdict::Unchanged: return "unchanged (the state is ignored)";
    case AntialiasOffVerdict::Other: return "other: neither ignored nor one evaluation at the centre";
    }
    return "other";
}

std::string AntialiasOffColumnText(const AntialiasOffMeasurement& m) {
    switch (m.verdict) {
    case AntialiasOffVerdict::NotMeasured: return "not measured";
    case AntialiasOffVerdict::Centre: return "centre, every sample";
    case AntialiasOffVerdict::Unchanged: return "ignored";
    case AntialiasOffVerdict::Other: return "neither";
    }
    return "other";
}
