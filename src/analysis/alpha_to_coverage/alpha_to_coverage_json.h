// The alpha-to-coverage measurement as JSON, for the dialog's Save and the survey's report.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"

// [{"switch", "offered", "verdict": "notOffered" | "notApplied" | "thresholds" | "dither" |
// "other", "text", "thresholds": [[[alpha per sample] per pixel x] per pixel y] (null: never
// covered), "dither": {"width", "height"} or null}]
nlohmann::json AlphaToCoverageToJson(const AlphaToCoverageMeasurement& measurement);
