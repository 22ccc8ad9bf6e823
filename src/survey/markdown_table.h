// A Markdown table as survey.md writes them: a header row, its separator row, and rows of cells
// whose texts cannot break the table.
#pragma once

#include <string>
#include <vector>

class MarkdownTable {
public:
    explicit MarkdownTable(std::vector<std::string> headers);

    // One row, a cell per header: missing cells are left empty, cells beyond the headers dropped.
    void AddRow(std::vector<std::string> cells);
    bool Empty() const { return rows_.empty(); }

    // "| a | b |", "|---|---|", then a line per row, each ending in a line break.
    std::string Text() const;

private:
    std::vector<std::string> headers_;
    std::vector<std::vector<std::string>> rows_;
};

// A text as one cell (or one heading line): pipes escaped, line breaks turned into spaces.
std::string MarkdownCell(const std::string& text);
