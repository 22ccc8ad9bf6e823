// Which files of an earlier survey a new one may remove.
#include "survey/earlier_pictures.h"

#include "survey/survey_document.h"

namespace {

bool StartsWith(const std::string& text, const std::string& start) { return text.compare(0, start.size(), start) == 0; }

}  // namespace

bool IsSurveyPictureName(const std::string& name) {
    const std::string prefix = "adapter", suffix = ".png";
    if (!StartsWith(name, prefix) || name.size() <= prefix.size() + suffix.size() ||
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) != 0) {
        return false;
    }
    size_t i = prefix.size();
    const size_t digits = i;
    while (i < name.size() && name[i] >= '0' && name[i] <= '9') ++i;
    if (i == digits || i + 1 >= name.size() - suffix.size() || name[i] != '-') return false;
    for (; i < name.size() - suffix.size(); ++i) {
        const char c = name[i];
        if (!((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-')) return false;
    }
    return true;
}

std::vector<std::string> EarlierSurveyPictures(const nlohmann::json& earlierSurvey) {
    std::vector<std::string> pictures;
    if (!IsSurveyDocument(earlierSurvey)) return pictures;
    for (const nlohmann::json& mode : earlierSurvey["modes"]) {
        const nlohmann::json picture = mode.is_object() ? mode.value("picture", nlohmann::json()) : nlohmann::json();
        if (picture.is_string() && IsSurveyPictureName(picture.get<std::string>())) pictures.push_back(picture.get<std::string>());
    }
    return pictures;
}
