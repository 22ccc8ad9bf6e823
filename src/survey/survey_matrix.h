// Several surveys side by side: one column per implementation and mode, one row per thing a
// measurement shows, and the cells that differ along a row marked by that measurement's own
// comparison. matrix.html and matrix.md are drawn from it.
#pragma once

#include <string>
#include <vector>

#include "analysis/session/measurement_view.h"
#include "survey/survey_report.h"

// A survey file given, as read.
struct MatrixSurvey {
    std::string file;
    SurveyReport report;
};

// Whose measurements a column holds: one adapter of one survey.
struct MatrixImplementation {
    std::string name;  // ImplementationName
    std::string file;
    AdapterDescription adapter;
};

struct MatrixColumn {
    size_t implementation = 0;  // into SurveyMatrix::implementations
    bool present = false;       // whether that implementation's survey has this mode at all
    // The implementation's mode; where it has none, the mode of the survey that has it, so that
    // the column is still named.
    ModeReport mode;
};

enum class MatrixCellKind { Fact, Diagram, Ladder };

struct MatrixCell {
    bool present = false;  // the column holds a measurement that shows this row
    std::string text;      // a fact's value
    ViewDiagram diagram;
    ViewLadder ladder;
    // Differs from the row's reference in this mode, by the measurement's own tolerance; with the
    // lines that say how.
    bool differs = false;
    size_t reference = 0;  // the column it was compared with
    std::vector<std::string> differences;
};

struct MatrixRow {
    std::string measurement;  // the measurement's title: "Sample positions", "Alpha to coverage"
    std::string label;        // the fact's label, the diagram's or the ladder's caption
    MatrixCellKind kind = MatrixCellKind::Fact;
    std::vector<MatrixCell> cells;  // one per column
};

// Per measurement, how each implementation compares with the others in the modes they share.
struct MatrixAgreement {
    std::string measurement;
    std::vector<size_t> shared;                        // per implementation: modes compared
    std::vector<std::vector<std::string>> differing;   // per implementation: the modes it differs in
    std::vector<std::vector<size_t>> differingColumns;  // the same as columns
    std::vector<std::vector<size_t>> comparedColumns;   // per implementation: the columns compared
    // Per implementation, what it was compared with where it differs, each once: "the result Wine
    // and DXVK share", or "Wine (the first column: no result is shared by more)".
    std::vector<std::vector<std::string>> against;
};

struct SurveyMatrix {
    std::vector<MatrixImplementation> implementations;
    // Grouped by mode (in the order the surveys list them), an implementation each within a group.
    std::vector<MatrixColumn> columns;
    std::vector<MatrixRow> rows;
    std::vector<MatrixAgreement> summary;
};

// What an implementation is called on the page: the d3d9 that ran, by its version resource, on
// its adapter, "DXVK 10.0.17763.1 on llvmpipe (LLVM 15.0.6, 256 bits)"; a survey that does not
// name its d3d9 (written before it was recorded) by the adapter's description and driver,
// "NVIDIA GeForce GTX 470 (nvd3dum.dll 8.21.13.9135)".
std::string ImplementationName(const Direct3DImplementation& implementation, const AdapterDescription& adapter);

// Modes are paired by ModeIdentity, whatever their adapters are called. Within a mode, the
// reference of a measurement is the result most columns agree with (the first column's where
// none has more), and a cell is marked where the measurement's comparison with the reference
// finds a difference it places on that row.
SurveyMatrix BuildSurveyMatrix(const std::vector<MatrixSurvey>& surveys);

// "Adapter 0: NVIDIA GeForce GTX 470", the column's mode ("HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0")
// and its status for a column's heading.
std::string ColumnAdapterText(const SurveyMatrix& matrix, const MatrixColumn& column);
std::string ColumnStatusText(const MatrixColumn& column);
