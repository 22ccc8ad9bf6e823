// Facts said once per value.
#include "analysis/session/measurement_view.h"

std::vector<ViewFact> JoinedByValue(const std::vector<ViewFact>& facts) {
    std::vector<ViewFact> joined;
    for (const ViewFact& fact : facts) {
        if (!joined.empty() && joined.back().value == fact.value) {
            joined.back().label += ", " + fact.label;
        } else {
            joined.push_back(fact);
        }
    }
    return joined;
}
