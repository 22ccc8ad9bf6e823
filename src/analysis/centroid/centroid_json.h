// The centroid measurement as JSON, for the dialog's Save and the survey's report.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/centroid/centroid_measurement.h"

// {"verdict": "centroid" | "coveredSample" | "centre" | "unavailable" | "other", "text",
// "precision", "cases": [{"covered": [mask bits], "centreCovered", "evaluated": {"x", "y"},
// "withoutCentroid": {"x", "y"}, "atSample"}]}: points in pixels from the pixel's top-left corner,
// rounded to the precision's 1/1024 steps.
nlohmann::json CentroidToJson(const CentroidMeasurement& measurement);
