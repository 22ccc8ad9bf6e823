// Showing and copying the text of measurement pages.
#include "viewer/page_text.h"

#include <algorithm>

namespace {

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

std::vector<std::string> Cells(const std::string& line) {
    std::vector<std::string> cells;
    size_t start = 0;
    for (size_t tab; (tab = line.find('\t', start)) != std::string::npos; start = tab + 1) {
        cells.push_back(line.substr(start, tab - start));
    }
    cells.push_back(line.substr(start));
    return cells;
}

void AppendTable(std::string& out, const std::vector<std::vector<std::string>>& rows) {
    std::vector<size_t> widths;
    for (const std::vector<std::string>& cells : rows) {
        if (widths.size() < cells.size()) widths.resize(cells.size(), 0);
        for (size_t i = 0; i < cells.size(); ++i) widths[i] = std::max(widths[i], cells[i].size());
    }
    for (const std::vector<std::string>& cells : rows) {
        std::string line;
        for (size_t i = 0; i < cells.size(); ++i) {
            line += cells[i];
            if (i + 1 < cells.size()) line.append(widths[i] - cells[i].size() + 2, ' ');
        }
        while (!line.empty() && line.back() == ' ') line.pop_back();
        out += line + "\r\n";
    }
}

}  // namespace

std::string AlignedColumns(const std::string& text) {
    std::string out;
    std::vector<std::vector<std::string>> table;
    for (const std::string& line : Lines(text)) {
        if (line.find('\t') != std::string::npos) {
            table.push_back(Cells(line));
            continue;
        }
        AppendTable(out, table);
        table.clear();
        out += line + "\r\n";
    }
    AppendTable(out, table);
    return out;
}

std::string CopiedText(const std::vector<std::string>& heading,
                       const std::vector<MeasurementPage>& pages) {
    std::string out;
    for (const std::string& line : heading) out += line + "\r\n";
    for (const MeasurementPage& page : pages) {
        out += "\r\n" + page.title + "\r\n";
        for (const std::string& line : Lines(page.text)) out += line + "\r\n";
    }
    return out;
}
