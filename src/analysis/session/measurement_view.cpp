// Facts said once per value.
#include "analysis/session/measurement_view.h"

#include <algorithm>

std::vector<ViewFact> JoinedByValue(const std::vector<ViewFact>& facts) {
    std::vector<ViewFact> joined;
    for (const ViewFact& fact : facts) {
        const auto same = std::find_if(joined.begin(), joined.end(), [&](const ViewFact& f) { return f.value == fact.value; });
        if (same == joined.end()) {
            joined.push_back(fact);
        } else {
            same->label += ", " + fact.label;
        }
    }
    return joined;
}
