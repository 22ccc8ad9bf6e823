// Comparing two multisampling-off measurements.
#include "analysis/antialias_off/antialias_off_comparison.h"

#include "analysis/antialias_off/antialias_off_json.h"
#include "analysis/positions/positions_comparison.h"

void CompareAntialiasOff(const AntialiasOffMeasurement& was, const AntialiasOffMeasurement& now,
                         DifferenceList* differences) {
    const nlohmann::json::json_pointer root;
    CompareSampleLists(was.positions.samples, was.positions.gridSize, now.positions.samples, now.positions.gridSize,
                       std::string(), "samples", root, differences);
    differences->CompareValues("verdict", root / "verdict", AntialiasOffVerdictJsonName(was.verdict),
                               AntialiasOffVerdictJsonName(now.verdict));
}
