// What the sample-position measurement shows: the report's Samples, Positions, Verdict and Texture
// cells, its verdicts as facts, and the pixel's diagram.
#pragma once

#include "analysis/session/measurement_session.h"
#include <nlohmann/json.hpp>

#include "analysis/session/measurement_view.h"

// The samples of the pixel, coincident ones counted: "1 sample", "4 samples (2 distinct)".
std::string SampleCountText(const ModeMeasurement& measurement);
// "0:(6, 2) 1:(14, 6) ...": mask bit where the mask picks samples, "x2" for coincident ones.
std::string PositionsText(const ModeMeasurement& measurement);

// The line above the sample table: the mask order and the per-bit cross-check where they apply,
// or why the mask-bit column is empty (one sample; a non-maskable type). Empty when there is nothing.
std::string SampleNotes(const ModeMeasurement& measurement);
// Sample, mask bit ("none: ..." where the mask picks out no sample), x and y in 1/16 pixel (an
// interval in 1/N where the position is not exact), x and y as fractions of a pixel, and the
// number of samples found there. Where the 2x2 quad's pixels differ, their own rows follow.
ViewTable SampleTableFor(const ModeMeasurement& measurement);

MeasurementView DescribeSamplePositions(const ModeMeasurement& measurement);

// A measured list of samples as the diagrams draw them, numbered by mask bit where there is one.
std::vector<ViewPoint> ViewPoints(const std::vector<SamplePosition>& samples);
// Points at one place as one, labelled with every sample there ("0-3", "0,2") and counting the most
// samples any of them found there, so that no number hides under another.
std::vector<ViewPoint> JoinCoincident(const std::vector<ViewPoint>& points);
// The standard pattern of count samples as rings; none where the count has no table.
std::vector<ViewPoint> StandardViewPoints(int count);

// A sample axis as a survey file or a difference states it ({"exact", "sixteenths", "low",
// "high"}), for drawing where a sample was; false where the value is no axis.
bool ViewAxisFromJson(const nlohmann::json& axis, ViewAxis* out);
