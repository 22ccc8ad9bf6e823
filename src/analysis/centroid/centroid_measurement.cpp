// The texts of the centroid measurement, as the pages and the survey show them.
#include "analysis/centroid/centroid_measurement.h"

std::string CentroidVerdictText(const CentroidMeasurement& m) {
    switch (m.verdict) {
    case CentroidVerdict::Unavailable:
        return m.unavailableReason.empty() ? "shader model not available"
                                           : "not measured: " + m.unavailableReason;
    case CentroidVerdict::Centroid: return "honoured: at the centroid of the covered samples";
    case CentroidVerdict::CoveredSample:
        return "honoured: at a covered sample (" + m.coveredSampleRule + ")";
    case CentroidVerdict::Centre: return "ignored: at the pixel centre";
    case CentroidVerdict::Other: return "other";
    }
    return "other";
}

std::string CentroidColumnText(const CentroidMeasurement& m) {
    switch (m.verdict) {
    case CentroidVerdict::Unavailable:
        return m.unavailableReason.empty() ? "unavailable" : "n/a (" + m.unavailableReason + ")";
    case CentroidVerdict::Centroid: return "centroid";
    case CentroidVerdict::CoveredSample: return "covered sample (" + m.coveredSampleRule + ")";
    case CentroidVerdict::Centre: return "ignored (centre)";
    case CentroidVerdict::Other: return "other";
    }
    return "other";
}
