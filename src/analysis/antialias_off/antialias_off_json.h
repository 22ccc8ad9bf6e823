// The multisampling-off measurement as JSON, for the dialog's Save and the survey's report.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/antialias_off/antialias_off_measurement.h"

// {"verdict": "centre" | "unchanged" | "other" | "notMeasured", "text", "samples": [...]}
nlohmann::json AntialiasOffToJson(const AntialiasOffMeasurement& measurement);
