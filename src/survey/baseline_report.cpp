// The baseline comparison written out.
#include "survey/baseline_report.h"

namespace {

std::string Counted(size_t count) { return std::to_string(count) + (count == 1 ? " difference" : " differences"); }

// Backquotes and line breaks would break the list's code spans.
std::string Code(const std::string& text) {
    std::string code;
    for (char c : text) code += c == '`' ? '\'' : (c == '\n' || c == '\r') ? ' ' : c;
    return "`" + code + "`";
}

}  // namespace

nlohmann::json BaselineToJson(const BaselineComparison& comparison) {
    nlohmann::json differences = nlohmann::json::array();
    for (const SurveyDifference& difference : comparison.differences) differences.push_back(DifferenceToJson(difference));
    return nlohmann::json{{"file", comparison.file}, {"differences", differences}};
}

std::string BaselineMarkdown(const BaselineComparison& comparison) {
    std::string text = "\n## Differences from the baseline\n\n";
    if (!comparison.adaptersNote.empty()) text += comparison.adaptersNote + "\n\n";
    if (comparison.differences.empty()) return text + "None: every mode as in " + Code(comparison.file) + ".\n";
    text += Counted(comparison.differences.size()) + " from " + Code(comparison.file) +
            " (each measurement within its own resolution: positions agree where the two measured "
            "intervals overlap):\n\n";
    for (const SurveyDifference& difference : DifferenceRuns(comparison.differences)) {
        text += "- " + (difference.mode.empty() ? std::string() : "**" + difference.mode + "**: ") +
                difference.location + " " + difference.text + "\n";
    }
    return text;
}

std::string BaselineConsoleText(const BaselineComparison& comparison) {
    const std::string note = comparison.adaptersNote.empty() ? std::string() : comparison.adaptersNote + "\n";
    if (comparison.differences.empty()) return note + "no differences from the baseline " + comparison.file + "\n";
    std::string text = note + Counted(comparison.differences.size()) + " from the baseline " + comparison.file + ":\n";
    for (const SurveyDifference& difference : DifferenceRuns(comparison.differences)) {
        text += "  " + DifferenceLine(difference) + "\n";
    }
    return text;
}
