// The matrix's words, shared by matrix.html and matrix.md: the columns' headings, the summary of
// who agrees on what, and what a marked cell says.
#pragma once

#include <string>
#include <vector>

#include "survey/survey_matrix.h"

// The headings every column has, in order: "Implementation", "Survey", "Adapter", "Device type",
// "Multisample type", "Quality", "Render-target format", "Status".
const std::vector<std::string>& ColumnHeadingNames();
// A column's text for each of ColumnHeadingNames().
std::vector<std::string> ColumnHeadings(const SurveyMatrix& matrix, const MatrixColumn& column);

// "agrees in 3 modes", "differs in 1 of 3 modes: HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0",
// "no mode shared with another implementation".
std::string AgreementText(const MatrixAgreement& agreement, size_t implementation);

// "Sample positions: every implementation agrees in every mode they share." or the names of
// those that differ and where; one sentence.
std::string AgreementSentence(const SurveyMatrix& matrix, const MatrixAgreement& agreement);

// "differs from NVIDIA GeForce GTX 470 (nvd3dum.dll 8.21.13.9135)": what a marked cell says.
std::string DiffersText(const SurveyMatrix& matrix, const MatrixCell& cell);

// How the cells are compared, a sentence for the top of the page.
extern const char kMatrixComparisonText[];
