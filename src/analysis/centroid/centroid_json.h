// The centroid measurement as JSON, for the dialog's Save and the survey's report, and read back
// from them.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/centroid/centroid_measurement.h"

// {"shaderModels": [{"shaderModel": "ps_3_0" | "ps_2_0", "caps" (switch_finding_json.h),
// "verdict", "coveredSampleRule" (null but for coveredSample), "text"}] (every model tried, the
// first drawn with being the one measured below; missing where the mode has nothing to measure
// with, and in older files), "verdict": "centroid" | "coveredSample" | "centre" | "unavailable" |
// "other", "text",
// "precision", "cases": [{"covered": [mask bits], "centreCovered", "evaluated": {"x", "y"},
// "withoutCentroid": {"x", "y"}, "atSample"}]}: points in pixels from the pixel's top-left corner,
// rounded to 1/1024 pixel, the precision rounded up to it. Read back, they are those rounded
// values; coveredSampleRule is derived again from the cases. Not written (read back as their
// defaults): pixelShaderVersion, samples, milliseconds, and of each case intended, the per-sample
// points, atCentroid and atCentre. The text is derived, but for one part: an unavailable
// measurement's reason is written nowhere else ("not measured: <reason>"), so it is read from
// there; the rest of the text is not read.
void to_json(nlohmann::json& out, const CentroidMeasurement& measurement);
void from_json(const nlohmann::json& in, CentroidMeasurement& measurement);
nlohmann::json CentroidToJson(const CentroidMeasurement& measurement);

nlohmann::json CentroidVerdictJsonName(CentroidVerdict verdict);
