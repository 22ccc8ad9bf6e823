// The alpha-to-coverage measurement as JSON, for the dialog's Save and the survey's report, and
// read back from them.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/alpha_to_coverage/alpha_to_coverage_measurement.h"

// [{"switch", "offered" (its FOURCC's caps answer), "caps" (every query asked beside whether
// coverage followed alpha, switch_finding_json.h; not in older files), "verdict": "notOffered" |
// "notApplied" | "thresholds" | "dither" |
// "other", "text", "thresholds": [[[alpha per sample] per pixel x] per pixel y] (null: never
// covered), "dither": {"width", "height"} or null}], in CoverageSwitch order. Not written (read
// back as their defaults): alphaTestReference, samples, perSample, monotonic,
// unionMatchesSamples and milliseconds; the dither's size where the verdict is not dither. The
// text is derived and not read back.
void to_json(nlohmann::json& out, const AlphaToCoverageMeasurement& measurement);
void from_json(const nlohmann::json& in, AlphaToCoverageMeasurement& measurement);
nlohmann::json AlphaToCoverageToJson(const AlphaToCoverageMeasurement& measurement);

// "ATOC+alphaTest", "ATOC", "A2M1".
nlohmann::json CoverageSwitchJsonName(CoverageSwitch coverageSwitch);
nlohmann::json AlphaToCoverageVerdictJsonName(AlphaToCoverageVerdict verdict);
