// A measurement page's text as the dialog shows it (tab-separated cells aligned in columns, for
// a fixed-pitch text box) and as Copy carries it (the heading, then every page under its title).
#pragma once

#include <string>
#include <vector>

#include "viewer/measurement_page.h"

// Each run of lines holding tabs becomes a table: a cell is padded to its column's widest cell
// and two spaces. Lines end with CR LF, as a multi-line edit control needs.
std::string AlignedColumns(const std::string& text);

// The heading lines, then for each page an empty line, its title and its text as it is (tabs
// kept for a spreadsheet); lines end with CR LF.
std::string CopiedText(const std::vector<std::string>& heading,
                       const std::vector<MeasurementPage>& pages);
