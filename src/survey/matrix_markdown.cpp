// matrix.md from the matrix: pictures told as numbers (CellWords), since Markdown has none.
#include "survey/matrix_markdown.h"

#include "survey/markdown_table.h"
#include "survey/matrix_texts.h"

namespace {

std::string CellText(const SurveyMatrix& matrix, const MatrixRow& row, const MatrixCell& cell) {
    if (!cell.present) return std::string();
    std::string text = CellWords(row, cell);
    if (cell.differs) text = "**" + DiffersText(matrix, cell) + ":** " + text;
    return text;
}

}  // namespace

std::string MatrixMarkdown(const SurveyMatrix& matrix) {
    std::string text = "# Quillant matrix\n\n" + std::string(kMatrixComparisonText) +
                       " Positions in 1/16 pixel from the pixel's top-left corner.\n\n";
    for (const MatrixImplementation& implementation : matrix.implementations) {
        text += "- " + MarkdownCell(implementation.name) + ": " + MarkdownCell(implementation.file) + "\n";
    }
    text += "\n## Who agrees on what\n\n";
    std::vector<std::string> headers = {"Measurement"};
    for (const MatrixImplementation& implementation : matrix.implementations) headers.push_back(implementation.name);
    MarkdownTable summary(headers);
    for (const MatrixAgreement& agreement : matrix.summary) {
        std::vector<std::string> row = {agreement.measurement};
        for (size_t i = 0; i < matrix.implementations.size(); ++i) row.push_back(AgreementText(matrix, agreement, i));
        summary.AddRow(row);
    }
    text += summary.Text() + "\n";
    for (const MatrixAgreement& agreement : matrix.summary) text += "- " + MarkdownCell(AgreementSentence(matrix, agreement)) + "\n";

    // A table per mode, its render-target formats and implementations side by side (formats alike in
    // every row one column, all of them named in the column's line); a row every column shows alike
    // is said once.
    std::vector<std::string> columnHeaders = {"Column"};
    for (const std::string& name : ColumnHeadingNames()) columnHeaders.push_back(name);
    for (const MatrixPart& part : MatrixParts(matrix)) {
        text += "\n## " + part.label + "\n\n";
        MarkdownTable columns(columnHeaders);
        for (const MatrixColumnGroup& group : part.groups) {
            std::vector<std::string> row = {std::to_string(group.columns.front() + 1)};
            for (const std::string& heading : GroupHeadings(matrix, group, true)) row.push_back(heading);
            columns.AddRow(row);
        }
        text += columns.Text() + "\n";
        std::vector<std::string> rowHeaders = {"Measurement", "Shows"};
        for (const MatrixColumnGroup& group : part.groups) rowHeaders.push_back(std::to_string(group.columns.front() + 1));
        MarkdownTable table(rowHeaders);
        for (const MatrixRow& row : matrix.rows) {
            if (!RowShown(row, part.columns)) continue;
            std::vector<std::string> cells = {row.measurement, row.label};
            size_t example = 0;
            if (RowAlike(matrix, row, part.columns, &example)) {
                cells.push_back("in every column measured: " + CellText(matrix, row, row.cells[example]));
                cells.resize(rowHeaders.size());
            } else {
                for (const MatrixColumnGroup& group : part.groups) {
                    cells.push_back(CellText(matrix, row, GroupCell(matrix, group, row)));
                }
            }
            table.AddRow(cells);
        }
        if (table.Empty()) table.AddRow({"nothing measured"});
        text += table.Text();
    }
    if (matrix.columns.empty()) text += "\nNothing measured.\n";
    return text;
}
