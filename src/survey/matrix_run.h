// --matrix: survey files read and written side by side as matrix.html and matrix.md, without a
// device or a display.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

// Reads every file (refusing all of them, with exit 2, where one is no survey this program reads),
// writes the two files into outputFolder (exit 3 where it cannot; nothing is left half-written)
// and says where they went on out unless quiet. Returns a SurveyExitCode: 0 once written.
int RunSurveyMatrix(const std::vector<std::string>& files, const std::string& outputFolder, bool quiet,
                    std::FILE* out, std::FILE* err);
