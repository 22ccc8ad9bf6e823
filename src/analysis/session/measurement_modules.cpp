// The list of the measurements.
#include "analysis/session/measurement_module.h"

#include "analysis/alpha_to_coverage/alpha_to_coverage_module.h"
#include "analysis/antialias_off/antialias_off_module.h"
#include "analysis/centroid/centroid_module.h"
#include "analysis/positions/positions_module.h"
#include "analysis/resolve/resolve_module.h"

const std::vector<MeasurementModule>& MeasurementModules() {
    static const std::vector<MeasurementModule> modules = {
        SamplePositionsModule(),
        ResolveTransferModule(),
        ResolveFootprintModule(),
        CoverageLevelsModule(),
        AlphaToCoverageModule(),
        CentroidModule(),
        AntialiasOffModule(),
    };
    return modules;
}
