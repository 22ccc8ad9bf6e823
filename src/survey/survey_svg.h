// The pictures of survey.html as inline SVG, drawn from a mode's "measurement" in survey.json:
// the pixel diagram as the Sample Positions dialog draws it, and the resolve's transfer curve.
#pragma once

#include <map>
#include <string>

#include <nlohmann/json.hpp>

// Where a sample lay in the baseline, for a sample that moved: the axes that changed (the
// baseline's axis objects), null for an axis that did not.
struct MovedSample {
    nlohmann::json x;
    nlohmann::json y;
};

// Colours the page and its tests share: the measured samples' dots and the pixel's border.
constexpr char kDiagramDotColour[] = "#c81e1e";     // rgb(200, 30, 30), as the dialog's dots
constexpr char kDiagramBorderColour[] = "#505078";  // rgb(80, 80, 120), found by no other mark
constexpr int kDiagramSize = 240;                   // the SVG's side in CSS pixels

// The pixel, enlarged: 1/16 grid, measured samples as dots numbered by mask bit (their measured
// intervals shaded where a position is not exact), the standard pattern of that many samples as
// rings, the texture's sampling as crosses; moved samples ringed with their baseline position.
// Empty where the measurement has no samples.
std::string SampleDiagramSvg(const nlohmann::json& measurement, const std::map<size_t, MovedSample>& moved);

// The resolve's value against the number of covered samples, with the two reference curves
// (stored values averaged, linear light averaged); empty where there is no ladder.
std::string TransferCurveSvg(const nlohmann::json& transfer);
