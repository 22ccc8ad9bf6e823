// The per-sample measurements as JSON, under the keys the survey writes per mode:
// "alphaToCoverage", "centroid" and "antialiasOff".
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/sample_coverage_measurement.h"

// [{"switch", "offered", "verdict": "notOffered" | "notApplied" | "thresholds" | "dither" |
// "other", "text", "thresholds": [[[alpha per sample] per pixel x] per pixel y] (null: never
// covered), "dither": {"width", "height"} or null}]
nlohmann::json AlphaToCoverageToJson(const AlphaToCoverageMeasurement& measurement);
// {"verdict": "centroid" | "coveredSample" | "centre" | "unavailable" | "other", "text",
// "precision", "cases": [{"covered": [mask bits], "centreCovered", "evaluated": {"x", "y"},
// "withoutCentroid": {"x", "y"}, "atSample"}]}: points in pixels from the pixel's top-left corner,
// rounded to the precision's 1/1024 steps.
nlohmann::json CentroidToJson(const CentroidMeasurement& measurement);
// {"verdict": "centre" | "unchanged" | "other" | "notMeasured", "text", "samples": [...]}
nlohmann::json AntialiasOffToJson(const AntialiasOffMeasurement& measurement);
