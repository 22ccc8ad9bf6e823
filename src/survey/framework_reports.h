// The framework's reports as the survey collects them. The program shows them as message boxes;
// a console survey must not stop for one, so its message-box seam hands the text here and the
// survey attaches it to the mode that caused it.
#pragma once

#include <string>

void RecordFrameworkReport(const char* text);

// The reports since the last call, each on one line, joined by "; "; empty when there were none.
std::string TakeFrameworkReports();
