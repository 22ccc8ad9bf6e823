// One implementation's render-target formats of a mode that show the same in every row, to be
// drawn as one column headed by the formats it stands for.
#pragma once

#include <string>
#include <vector>

#include "survey/survey_matrix.h"

struct MatrixColumnGroup {
    std::vector<size_t> columns;  // into SurveyMatrix::columns; the first is the one drawn
};

// The columns given (one mode's), grouped where they belong to one implementation, have one
// status, agree under every measurement's own comparison and show every row alike, marks and
// what they say included, but for each saying its own format's name; in the order of each
// group's first column.
std::vector<MatrixColumnGroup> GroupedColumns(const SurveyMatrix& matrix, const std::vector<size_t>& columns);

// What the group shows on the row: its first column's cell, where the group stands for several
// formats with its format's name said as "the format" ("not measured: the format has no red, ...").
MatrixCell GroupCell(const SurveyMatrix& matrix, const MatrixColumnGroup& group, const MatrixRow& row);

// A group's render-target formats: "X8R8G8B8", or "X8R8G8B8, A8R8G8B8, A8B8G8R8 ... (5 formats)"
// (every one of them where full).
std::string GroupFormatsText(const SurveyMatrix& matrix, const MatrixColumnGroup& group, bool full);
