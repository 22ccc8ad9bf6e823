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

    // A table per mode, its render-target formats and implementations side by side; a row every
    // column shows alike is said once.
    std::vector<std::string> columnHeaders = {"Column"};
    for (const std::string& name : ColumnHeadingNames()) columnHeaders.push_back(name);
    for (const MatrixPart& part : MatrixParts(matrix)) {
        text += "\n## " + part.label + "\n\n";
        MarkdownTable columns(columnHeaders);
        for (size_t c : part.columns) {
            std::vector<std::string> row = {std::to_string(c + 1)};
            for (const std::string& heading : ColumnHeadings(matrix, matrix.columns[c])) row.push_back(heading);
            columns.AddRow(row);
        }
        text += columns.Text() + "\n";
        std::vector<std::string> rowHeaders = {"Measurement", "Shows"};
        for (size_t c : part.columns) rowHeaders.push_back(std::to_string(c + 1));
        MarkdownTable table(rowHeaders);
        for (const MatrixRow& row : matrix.rows) {
            if (!RowShown(row, part.columns)) continue;
            std::vector<std::string> cells = {row.measurement, row.label};
            size_t example = 0;
            if (RowAlike(matrix, row, part.columns, &example)) {
                cells.push_back("in every column measured: " + CellText(matrix, row, row.cells[example]));
                cells.resize(rowHeaders.size());
            } else {
                for (size_t c : part.columns) cells.push_back(CellText(matrix, row, row.cells[c]));
            }
            table.AddRow(cells);
        }
        if (table.Empty()) table.AddRow({"nothing measured"});
        text += table.Text();
    }
    if (matrix.columns.empty()) text += "\nNothing measured.\n";
    return text;
}
