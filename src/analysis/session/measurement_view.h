// What a measurement shows, told once and without a medium: labelled values, tables, ladder plots,
// the pixel's diagram, value grids and evaluation points, each number already in its unit and on the result's own scale. The F3
// pages, the console, survey.md and survey.html each render these with one renderer of their own,
// so a measurement is described in one place and every view of it agrees.
#pragma once

#include <optional>
#include <string>
#include <vector>

// A cell of the survey's report table: the column's heading and this mode's short text, and the
// few words the console's table has room for (none: the column stays out of the console).
struct ViewColumn {
    std::string heading;
    std::string text;
    std::string brief;
};

// A labelled value, its unit part of the text: "Transfer" - "averages stored values".
struct ViewFact {
    std::string label;
    std::string value;
    // Where the value stands in the measurement's JSON ("/alphaToCoverage/1"), so that a difference
    // found there is shown on this fact; empty for the measurement's headline fact (the first),
    // which takes every difference no fact or picture of it claims.
    std::string source;
};

// A table: the heading row, then rows of cells, every cell in the unit the caption names.
struct ViewTable {
    std::string caption;
    std::vector<std::string> header;
    std::vector<std::vector<std::string>> rows;
};

// A ladder: the value read back against the samples covered, 0 .. samples along and 0 ..
// valueScale up (the result's own scale), with the two references it was judged against.
struct ViewLadder {
    std::string caption;
    int samples = 0;
    int valueScale = 255;
    std::vector<int> covered;        // the rungs drawn
    std::vector<double> values;      // read back, in steps of 1/valueScale
    std::vector<double> stored;      // the mean of the stored values, per rung
    std::vector<double> linear;      // the mean taken in linear light, per rung
    std::string source;              // where its rungs stand in the JSON, as a fact's source
};

// An interval along one axis of the pixel, in pixels from its top-left corner; exact when it is
// one 1/16 step (then low is that step's place).
struct ViewAxis {
    double low = 0.0;
    double high = 0.0;
    bool exact = false;
};

// Where an axis is drawn: its 1/16 step, or the middle of its interval.
inline double DrawnPlace(const ViewAxis& axis) { return axis.exact ? axis.low : (axis.low + axis.high) / 2.0; }

struct ViewPoint {
    std::string label;  // the mask bit, or the sample's number where the mask picks none
    ViewAxis x;
    ViewAxis y;
    int count = 1;      // coincident samples at this place
};

// The pixel enlarged: measured samples, the standard pattern of as many samples (rings, in 1/16
// pixel), where the texture was sampled (crosses).
struct ViewDiagram {
    std::string caption;
    // Where the samples stand in the measurement's JSON ("/samplePositions/samples"), so that a
    // difference found there can be drawn on the sample it concerns.
    std::string source;
    std::vector<ViewPoint> samples;
    std::vector<ViewPoint> standard;
    std::vector<ViewPoint> texture;
};

// Pixels in a block, each with one value or one per sample, on the result's own scale (0 ..
// valueScale up): the resolve's footprint, the alpha from which each sample is covered.
struct ViewGrid {
    std::string caption;
    std::string source;
    int valueScale = 255;
    // Rows of cells, each cell's values; a negative value is none (never reached). No rows: the
    // block was not drawn.
    std::vector<std::vector<std::vector<int>>> cells;
};

// A place in the pixel, in pixels from its top-left corner.
struct ViewSpot {
    double x = 0.0;
    double y = 0.0;
};

// Where an interpolated input was evaluated in a pixel a primitive covers in part: the samples it
// covered and those it left out, the covered ones' centroid, and the point itself.
struct ViewEvaluation {
    std::string caption;
    std::string source;
    std::vector<ViewPoint> covered;
    std::vector<ViewPoint> uncovered;
    std::optional<ViewSpot> centroid;  // where two or more samples are covered
    ViewSpot evaluated;
};

struct MeasurementView {
    std::string title;                 // "Sample positions", "Resolve transfer", ...
    std::string page;                  // the F3 tab it stands on: "Positions", "Resolve", ...
    std::vector<ViewColumn> columns;   // its cells in the survey's report table
    std::vector<ViewFact> facts;
    // Each switch tried, in short: its name, what its caps claim beside what it did ("A2M1" -
    // "not claimed, works"); the console lists them per mode, the facts say them in full.
    std::vector<ViewFact> switches;
    std::vector<ViewTable> tables;
    std::vector<ViewLadder> ladders;
    std::vector<ViewDiagram> diagrams;
    std::vector<ViewGrid> grids;
    std::vector<ViewEvaluation> evaluations;
};

// Neighbouring facts of one value said once, after their labels joined ("centroid ps_3_0,
// centroid ps_2_0" - "claimed, works"); the order stays, and a joined fact keeps its first source.
std::vector<ViewFact> JoinedByValue(const std::vector<ViewFact>& facts);
