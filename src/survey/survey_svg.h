// The pictures of survey.html as inline SVG, drawn from the measurements' views: the pixel diagram
// as the Sample Positions dialog draws it, and a ladder plot.
#pragma once

#include <map>
#include <string>

#include "analysis/session/measurement_view.h"

// Where a sample lay in the baseline, for a sample that moved: the axes that changed.
struct MovedSample {
    bool hasX = false;
    bool hasY = false;
    ViewAxis x;
    ViewAxis y;
};

// Colours the page and its tests share: the measured samples' dots and the pixel's border.
constexpr char kDiagramDotColour[] = "#c81e1e";     // rgb(200, 30, 30), as the dialog's dots
constexpr char kDiagramBorderColour[] = "#505078";  // rgb(80, 80, 120), found by no other mark
constexpr int kDiagramSize = 240;                   // the SVG's side in CSS pixels

// What the pictures' marks mean, a sentence each, for the legend of the pages that show them.
constexpr char kDiagramLegend[] =
    "Pixel diagrams: the pixel enlarged, each measured sample a red dot numbered by its mask bit (shaded where "
    "its position is known to an interval only), blue rings where the standard pattern of as many samples lies, "
    "green crosses where the texture is sampled.";
constexpr char kEvaluationLegend[] =
    "Evaluations: the samples the primitive covered as red dots, the others grey rings, their centroid an orange "
    "diamond, the pixel centre a small black ring, where the input was evaluated a green cross.";
constexpr char kLadderLegend[] =
    "Ladders: the resolved value (0 to its full scale) against the number of samples covered, purple; dashed, "
    "what averaging the stored values (blue) or averaging in linear light (green) would give.";

// The pixel, enlarged: 1/16 grid, measured samples as dots numbered by mask bit (their measured
// intervals shaded where a position is not exact), the standard pattern as rings, the texture's
// sampling as crosses; moved samples (by index) ringed with their baseline position. Empty where
// the diagram has no samples.
std::string SampleDiagramSvg(const ViewDiagram& diagram, const std::map<size_t, MovedSample>& moved);

// A grid: per pixel a cell shaded by its one value, or a bar per sample as tall as its value, on the
// grid's own scale; empty where the block was not drawn.
std::string GridSvg(const ViewGrid& grid);

// An evaluation: the pixel with the covered samples as numbered dots, the others as grey rings,
// their centroid a diamond, the centre a small ring, the evaluated point a green cross.
std::string EvaluationSvg(const ViewEvaluation& evaluation);

// A ladder: the value against the samples covered, on the ladder's own scale, with the two
// reference curves (stored values averaged, linear light averaged); empty where it has no rungs.
std::string LadderSvg(const ViewLadder& ladder);
