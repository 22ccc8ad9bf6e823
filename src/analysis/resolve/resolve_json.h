// The resolve measurement as JSON, for the survey's report and the dialog's Save, and read back
// from them: the transfer curve per setting, the footprint's weights and the coverage levels.
#pragma once

#include <nlohmann/json.hpp>

#include "analysis/resolve/resolve_measurement.h"

// {"verdict": "stored"|"linear"|"other", "valueScale": 255, "greyDrawn": 128, "ladder":
// [{"covered": k, "value": v}...], "grey": [...], "srgbWrite": {"capsAnswer", "caps" (every
// query form beside the writes' effect; not in older files), "writeEncoded", "verdict",
// "ladder", "grey"} or null where it was not drawn, "alpha": {"verdict", "valueScale",
// "ladder"} or null where the format has none}. Values are whole read-back steps of 1/valueScale.
// Not written: the curves' referencesAlike (read back false) and colourSamples, read back as the
// count of the plain ladder's fully covered rung, which the probe makes it.
void to_json(nlohmann::json& out, const ResolveTransfer& transfer);
void from_json(const nlohmann::json& in, ResolveTransfer& transfer);

// {"verdict": "box"|"wider", "valueScale", "weights": 5 rows of 5}. Not written: perSample (read
// back empty) and colourSamples (read back 0; the whole measurement's reader takes the
// transfer's).
void to_json(nlohmann::json& out, const Footprint& footprint);
void from_json(const nlohmann::json& in, Footprint& footprint);

// {"levels", "coverageSamples", "colourSamples", "verdict": "equal"|"coverageMode"|"fewer",
// "edgeStep", "edgePositions": [{"edge", "normal": [x, y], "changes"}...]}: offsets are pixels,
// exact multiples of edgeStep (1/128). Not written: each sweep's offsets, values and levels (read
// back empty and 0).
void to_json(nlohmann::json& out, const CoverageLevels& coverage);
void from_json(const nlohmann::json& in, CoverageLevels& coverage);

// {"transfer": ..., "footprint": ..., "coverage": ...}; a verdict not reached is null. Not
// written: milliseconds.
void to_json(nlohmann::json& out, const ResolveMeasurement& measurement);
void from_json(const nlohmann::json& in, ResolveMeasurement& measurement);
nlohmann::json ResolveToJson(const ResolveMeasurement& measurement);

// The verdicts' names as written: "stored", "box", "coverageMode"; null where not measured.
nlohmann::json TransferVerdictJsonName(TransferVerdict verdict);
nlohmann::json FootprintVerdictJsonName(FootprintVerdict verdict);
nlohmann::json CoverageVerdictJsonName(CoverageVerdict verdict);
