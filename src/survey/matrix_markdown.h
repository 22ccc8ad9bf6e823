// matrix.md: the matrix as Markdown, ready to paste into a bug report: the summary, the columns
// listed by number, then a table per mode whose marked cells say what they differ from.
#pragma once

#include <string>

#include "survey/survey_matrix.h"

std::string MatrixMarkdown(const SurveyMatrix& matrix);
