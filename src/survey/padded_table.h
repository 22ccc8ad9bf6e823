// A table as the console shows it: text padded into columns.
#pragma once

#include <string>
#include <vector>

// The rows (the first is the heading) as lines, every column as wide as its widest cell, two spaces
// between columns, the last column aligned at the right; a row short of cells is padded with
// empty ones.
std::string PaddedTable(const std::vector<std::vector<std::string>>& rows);
