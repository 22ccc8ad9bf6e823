// The matrix's words, shared by matrix.html and matrix.md: the columns' headings, the summary of
// who agrees on what, and what a marked cell says.
#pragma once

#include <string>
#include <vector>

#include "survey/matrix_column_groups.h"
#include "survey/survey_matrix.h"

// The headings every column has, in order: "Implementation", "Survey", "Adapter", "Device type",
// "Multisample type", "Quality", "Render-target format", "Status".
const std::vector<std::string>& ColumnHeadingNames();
// A column's text for each of ColumnHeadingNames().
std::vector<std::string> ColumnHeadings(const SurveyMatrix& matrix, const MatrixColumn& column);
// The same for a group of columns, its render-target formats as GroupFormatsText says them.
std::vector<std::string> GroupHeadings(const SurveyMatrix& matrix, const MatrixColumnGroup& group, bool fullFormats);

// "agrees in 3 modes", "differs in 1 of 3 modes: HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0",
// "no mode shared with another implementation".
std::string AgreementText(const SurveyMatrix& matrix, const MatrixAgreement& agreement, size_t implementation);

// The modes of some columns among others, a mode in several render-target formats said once: "HAL
// X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0 in all 15 render-target formats compared; HAL X8R8G8B8
// D3DMULTISAMPLE_NONE q0 in X8R8G8B8 (the back buffer's), R5G6B5", or "in 13 of 15 ..., all but
// G16R16, R16F" where that is shorter.
std::string ModesText(const SurveyMatrix& matrix, const std::vector<size_t>& columns, const std::vector<size_t>& among);

// "Sample positions: every implementation agrees in every mode they share.", or each that differs,
// from what and in how many modes: "DXVK differs from Wine (the first column: no result is shared
// by more) in 15 of 45 modes."
std::string AgreementSentence(const SurveyMatrix& matrix, const MatrixAgreement& agreement);

// "differs from NVIDIA GeForce GTX 470 (nvd3dum.dll 8.21.13.9135)": what a marked cell says.
std::string DiffersText(const SurveyMatrix& matrix, const MatrixCell& cell);

// A cell in words, pictures told as numbers: a fact's text, a diagram's samples ("0:(6, 2) 1:(14,
// 6) in 1/16 pixel"), a ladder's rungs ("0/4: 0, ... 4/4: 255 in steps of 1/255"); empty where absent.
std::string CellWords(const MatrixRow& row, const MatrixCell& cell);

// The columns of one mode, in every render-target format and implementation: a table each, a
// column for each group of them.
struct MatrixPart {
    std::string label;  // ModeBaseLabel
    std::vector<size_t> columns;
    std::vector<MatrixColumnGroup> groups;
};
std::vector<MatrixPart> MatrixParts(const SurveyMatrix& matrix);
// Whether any of the columns shows the row.
bool RowShown(const MatrixRow& row, const std::vector<size_t>& columns);
// Whether every one of the columns that holds a measurement (two or more) shows the row alike and
// unmarked: said once for them all, as example (a column of them) shows it.
bool RowAlike(const SurveyMatrix& matrix, const MatrixRow& row, const std::vector<size_t>& columns, size_t* example);

// How the cells are compared, a sentence for the top of the page.
extern const char kMatrixComparisonText[];
