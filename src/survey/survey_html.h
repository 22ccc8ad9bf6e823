// survey.html: the survey as one page to look at, made from the same document as survey.json.
// Self-contained (styles and pictures inline, the PNGs beside it by relative name), no scripts.
#pragma once

#include <string>

#include <nlohmann/json.hpp>

// The page for a survey document; its "baseline" (where present) marks the differences on the
// modes they concern. Keys the document lacks are left out of the page, not shown as empty.
std::string SurveyHtml(const nlohmann::json& document);

// Text made safe inside an HTML element or a quoted attribute.
std::string HtmlEscaped(const std::string& text);
