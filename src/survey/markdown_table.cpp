// A Markdown table with its separator row made from the headers and its cells escaped.
#include "survey/markdown_table.h"

#include <utility>

namespace {

std::string Line(const std::vector<std::string>& cells) {
    std::string line = "|";
    for (const std::string& cell : cells) line += " " + MarkdownCell(cell) + " |";
    return line + "\n";
}

}  // namespace

MarkdownTable::MarkdownTable(std::vector<std::string> headers) : headers_(std::move(headers)) {}

void MarkdownTable::AddRow(std::vector<std::string> cells) {
    cells.resize(headers_.size());
    rows_.push_back(std::move(cells));
}

std::string MarkdownTable::Text() const {
    std::string text = Line(headers_) + "|";
    for (size_t column = 0; column < headers_.size(); ++column) text += "---|";
    text += "\n";
    for (const std::vector<std::string>& row : rows_) text += Line(row);
    return text;
}

std::string MarkdownCell(const std::string& text) {
    std::string cell;
    for (char c : text) {
        if (c == '|') {
            cell += "\\|";
        } else if (c == '\n' || c == '\r') {
            cell += ' ';
        } else {
            cell += c;
        }
    }
    return cell;
}
