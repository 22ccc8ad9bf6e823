// matrix.md from the matrix: pictures told as numbers, since Markdown has none.
#include "survey/matrix_markdown.h"

#include <cstdio>

#include "survey/markdown_table.h"
#include "survey/matrix_texts.h"

namespace {

std::string Number(double value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.4g", value);
    return text;
}

// A diagram's samples as "0:(6, 2) 1:(14, 6)", in 1/16 pixel, an interval as low..high.
std::string DiagramText(const ViewDiagram& diagram) {
    const auto axis = [](const ViewAxis& a) {
        return a.exact ? Number(a.low * 16) : Number(a.low * 16) + ".." + Number(a.high * 16);
    };
    std::string text;
    for (const ViewPoint& point : diagram.samples) {
        text += (text.empty() ? "" : " ") + point.label + ":(" + axis(point.x) + ", " + axis(point.y) + ")";
        if (point.count > 1) text += " x" + std::to_string(point.count);
    }
    return text;
}

// A ladder as its values by samples covered: "0/4: 0, 1/4: 64, ..." on its own scale.
std::string LadderText(const ViewLadder& ladder) {
    std::string text;
    for (size_t i = 0; i < ladder.covered.size() && i < ladder.values.size(); ++i) {
        text += (text.empty() ? "" : ", ") + std::to_string(ladder.covered[i]) + "/" + std::to_string(ladder.samples) +
                ": " + Number(ladder.values[i]);
    }
    return text + " (of " + std::to_string(ladder.valueScale) + ")";
}

std::string CellText(const SurveyMatrix& matrix, const MatrixRow& row, const MatrixCell& cell) {
    if (!cell.present) return std::string();
    std::string text = row.kind == MatrixCellKind::Fact      ? cell.text
                       : row.kind == MatrixCellKind::Diagram ? DiagramText(cell.diagram)
                                                             : LadderText(cell.ladder);
    if (cell.differs) text = "**" + DiffersText(matrix, cell) + ":** " + text;
    return text;
}

}  // namespace

std::string MatrixMarkdown(const SurveyMatrix& matrix) {
    std::string text = "# Quillant matrix\n\n" + std::string(kMatrixComparisonText) +
                       " Positions in 1/16 pixel from the pixel's top-left corner.\n\n## Who agrees on what\n\n";
    std::vector<std::string> headers = {"Measurement"};
    for (const MatrixImplementation& implementation : matrix.implementations) headers.push_back(implementation.name);
    MarkdownTable summary(headers);
    for (const MatrixAgreement& agreement : matrix.summary) {
        std::vector<std::string> row = {agreement.measurement};
        for (size_t i = 0; i < matrix.implementations.size(); ++i) row.push_back(AgreementText(agreement, i));
        summary.AddRow(row);
    }
    text += summary.Text() + "\n";
    for (const MatrixAgreement& agreement : matrix.summary) text += "- " + MarkdownCell(AgreementSentence(matrix, agreement)) + "\n";

    text += "\n## Columns\n\n";
    std::vector<std::string> columnHeaders = {"Column"};
    for (const std::string& name : ColumnHeadingNames()) columnHeaders.push_back(name);
    MarkdownTable columns(columnHeaders);
    for (size_t c = 0; c < matrix.columns.size(); ++c) {
        std::vector<std::string> row = {std::to_string(c + 1)};
        for (const std::string& heading : ColumnHeadings(matrix, matrix.columns[c])) row.push_back(heading);
        columns.AddRow(row);
    }
    text += columns.Text() + "\n## Every measurement\n\n";
    std::vector<std::string> rowHeaders = {"Measurement", "Shows"};
    for (size_t c = 0; c < matrix.columns.size(); ++c) rowHeaders.push_back(std::to_string(c + 1));
    MarkdownTable table(rowHeaders);
    for (const MatrixRow& row : matrix.rows) {
        std::vector<std::string> cells = {row.measurement, row.label};
        for (const MatrixCell& cell : row.cells) cells.push_back(CellText(matrix, row, cell));
        table.AddRow(cells);
    }
    if (table.Empty()) table.AddRow({"nothing measured"});
    return text + table.Text();
}
