// The resolve measurement as JSON, for the survey's report and the dialog's Save: the transfer
// curve per setting, the footprint's weights and the coverage levels.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/resolve/resolve_measurement.h"

// {"transfer": {"verdict": "stored"|"linear"|"other", "valueScale": 255, "greyDrawn": 128,
//   "ladder": [{"covered": k, "value": v}...], "grey": [...], "srgbWrite": {"capsAnswer",
//   "writeEncoded", "verdict", "ladder", "grey"} or null, "alpha": {"verdict", "valueScale",
//   "ladder"} or null}, "footprint": {"verdict": "box"|"wider", "valueScale", "weights": 5 rows of
//   5}, "coverage": {"levels", "coverageSamples", "colourSamples", "verdict": "equal"|
//   "coverageMode"|"fewer", "edgeStep", "edgePositions": [{"edge", "changes"}...]}}.
// Values are whole read-back steps of 1/valueScale; offsets are pixels, exact multiples of
// edgeStep (1/128). A part not measured is null.
nlohmann::json ResolveToJson(const ResolveMeasurement& measurement);
