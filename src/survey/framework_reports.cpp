// The framework reports collected since the survey last asked.
#include "survey/framework_reports.h"

namespace {

std::string& PendingReports() {
    static std::string reports;
    return reports;
}

}  // namespace

void RecordFrameworkReport(const char* text) {
    if (!text) return;
    std::string line;
    bool space = false;
    for (const char* c = text; *c; ++c) {
        // The message texts are laid out for a box: their line breaks become single spaces.
        if (*c == '\n' || *c == '\r' || *c == ' ') {
            space = !line.empty();
            continue;
        }
        if (space) line += ' ';
        space = false;
        line += *c;
    }
    std::string& reports = PendingReports();
    if (!reports.empty()) reports += "; ";
    reports += line;
}

std::string TakeFrameworkReports() {
    std::string reports;
    reports.swap(PendingReports());
    return reports;
}
