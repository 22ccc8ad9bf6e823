// The pictures an earlier survey left in the output folder: a later run into the same folder
// removes those it did not write again, so that the folder holds one survey, not a mix of two.
#pragma once

#include <string>
#include <vector>

#include <nlohmann/json.hpp>

// The picture names an earlier survey.json lists, only those named as the survey names its
// pictures ("adapter0-hal-x8r8g8b8-4-samples-q0.png"): nothing else in the folder is touched.
std::vector<std::string> EarlierSurveyPictures(const nlohmann::json& earlierSurvey);

// Whether a file name is one the survey gives its pictures.
bool IsSurveyPictureName(const std::string& name);
