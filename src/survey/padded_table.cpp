// The console's padded text tables.
#include "survey/padded_table.h"

#include <algorithm>

std::string PaddedTable(const std::vector<std::vector<std::string>>& rows) {
    std::vector<size_t> widths;
    for (const std::vector<std::string>& row : rows) {
        if (row.size() > widths.size()) widths.resize(row.size(), 0);
        for (size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], row[c].size());
    }
    std::string text;
    for (const std::vector<std::string>& row : rows) {
        std::string line;
        for (size_t c = 0; c < widths.size(); ++c) {
            const std::string cell = c < row.size() ? row[c] : std::string();
            const std::string padding(widths[c] - cell.size(), ' ');
            // Numbers such as the times line up on the right.
            line += c + 1 < widths.size() ? cell + padding + "  " : padding + cell;
        }
        text += line + "\n";
    }
    return text;
}
