// matrix.html: several surveys side by side as one self-contained page (styles and pictures
// inline, no scripts), the summary of who agrees on what at the top.
#pragma once

#include <string>

#include "survey/survey_matrix.h"

std::string MatrixHtml(const SurveyMatrix& matrix);
