// The multisampling-off measurement as JSON, for the dialog's Save and the survey's report, and
// read back from them.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/antialias_off/antialias_off_measurement.h"

// {"verdict": "centre" | "unchanged" | "other" | "notMeasured", "text", "samples": [...]}, the
// samples as the positions write theirs. Of the positions only the samples are written: the rest
// of that measurement (its gridSize too) reads back as the defaults. The text is derived and not
// read back.
void to_json(nlohmann::json& out, const AntialiasOffMeasurement& measurement);
void from_json(const nlohmann::json& in, AntialiasOffMeasurement& measurement);
nlohmann::json AntialiasOffToJson(const AntialiasOffMeasurement& measurement);

nlohmann::json AntialiasOffVerdictJsonName(AntialiasOffVerdict verdict);
