// matrix.html from the matrix: the summary, the legend, then one table, the pictures drawn as
// survey.html draws them.
#include "survey/matrix_html.h"

#include "survey/matrix_texts.h"
#include "survey/survey_document.h"
#include "survey/survey_html.h"
#include "survey/survey_svg.h"

namespace {

constexpr char kStyle[] = R"(body { font: 14px/1.45 "Liberation Sans", Arial, sans-serif; margin: 16px 24px; color: #222; background: #fff; }
h1 { font-size: 22px; margin: 0 0 4px; }
h2 { font-size: 18px; border-bottom: 1px solid #bbb; margin: 24px 0 6px; }
table { border-collapse: collapse; }
th, td { border: 1px solid #ccc; padding: 4px 6px; vertical-align: top; text-align: left; }
thead th { background: #f2f2f2; font-weight: normal; }
th.row { background: #fafafa; font-weight: normal; color: #444; min-width: 120px; }
tr.measurement th { background: #e8eaf6; font-weight: bold; text-align: left; }
td.first, th.first { border-left: 3px solid #777; }
td.fact { max-width: 260px; }
td.differs { border: 3px solid #e65100; background: #fff3e6; }
.mark { color: #8a3200; font-size: 12px; font-weight: bold; }
td.empty { background: #f7f7f7; }
.agrees { color: #1b5e20; } .disagrees { color: #8a3200; }
figcaption, .caption { font-size: 12px; color: #555; }
ul.legend { font-size: 13px; }
@media print {
  body { margin: 0; font-size: 10pt; }
  tr, td { page-break-inside: avoid; }
  thead { display: table-header-group; }
}
)";

std::string E(const std::string& text) { return HtmlEscaped(text); }

std::string CellHtml(const SurveyMatrix& matrix, const MatrixRow& row, const MatrixCell& cell, bool first) {
    std::string classes = first ? "first" : "";
    const auto open = [&](const std::string& more, const std::string& title) {
        const std::string all = classes + (classes.empty() || more.empty() ? "" : " ") + more;
        return "<td" + (all.empty() ? std::string() : " class=\"" + all + "\"") +
               (title.empty() ? std::string() : " title=\"" + E(title) + "\"") + ">";
    };
    if (!cell.present) return open("empty", std::string()) + "</td>";
    std::string content;
    switch (row.kind) {
    case MatrixCellKind::Fact: content = E(cell.text); break;
    case MatrixCellKind::Diagram: content = SampleDiagramSvg(cell.diagram, {}); break;
    case MatrixCellKind::Ladder: content = LadderSvg(cell.ladder); break;
    }
    const char* kind = row.kind == MatrixCellKind::Fact ? "fact" : "picture";
    if (!cell.differs) return open(kind, std::string()) + content + "</td>";
    std::string title;
    for (const std::string& line : cell.differences) title += (title.empty() ? "" : "\n") + line;
    return open(std::string(kind) + " differs", title) + "<div class=\"mark\">" + E(DiffersText(matrix, cell)) +
           "</div>" + content + "</td>";
}

std::string SummaryTable(const SurveyMatrix& matrix) {
    std::string html = "<table class=\"summary\">\n<tr><th>Measurement</th>";
    for (const MatrixImplementation& implementation : matrix.implementations) {
        html += "<th>" + E(implementation.name) + "<br><span class=\"caption\">" + E(implementation.file) + "</span></th>";
    }
    html += "</tr>\n";
    for (const MatrixAgreement& agreement : matrix.summary) {
        html += "<tr><th class=\"row\">" + E(agreement.measurement) + "</th>";
        for (size_t i = 0; i < matrix.implementations.size(); ++i) {
            const bool differs = !agreement.differing[i].empty();
            html += "<td class=\"" + std::string(differs ? "disagrees" : "agrees") + "\">" +
                    E(AgreementText(agreement, i)) + "</td>";
        }
        html += "</tr>\n";
    }
    html += "</table>\n<ul>\n";
    for (const MatrixAgreement& agreement : matrix.summary) html += "<li>" + E(AgreementSentence(matrix, agreement)) + "</li>\n";
    return html + "</ul>\n";
}

std::string Legend() {
    return "<ul class=\"legend\">\n<li>" + std::string(kDiagramLegend) + "</li>\n<li>" + kLadderLegend +
           "</li>\n<li>An orange cell differs from the result most implementations share in that mode; hold the "
           "pointer over it for what differs. A grey cell: not measured in that column.</li>\n</ul>\n";
}

}  // namespace

std::string MatrixHtml(const SurveyMatrix& matrix) {
    const std::string title = "Quillant matrix: " + std::to_string(matrix.implementations.size()) +
                              (matrix.implementations.size() == 1 ? " implementation" : " implementations") + ", " +
                              std::to_string(matrix.columns.size()) + " columns";
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + E(title) +
                       "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n<h1>" + E(title) + "</h1>\n";
    html += "<p>" + std::string(kSurveyProgramName) + " " + kSurveyProgramVersion + ". " + E(kMatrixComparisonText) +
            " Positions in 1/16 pixel from the pixel's top-left corner.</p>\n";
    html += "<h2>Who agrees on what</h2>\n" + SummaryTable(matrix);
    html += "<h2>Legend</h2>\n" + Legend();
    html += "<h2>Every measurement</h2>\n<table class=\"matrix\">\n<thead>\n";
    const std::vector<std::string>& names = ColumnHeadingNames();
    std::vector<std::vector<std::string>> headings;
    for (const MatrixColumn& column : matrix.columns) headings.push_back(ColumnHeadings(matrix, column));
    const auto firstOfMode = [&](size_t c) {
        return c == 0 || matrix.columns[c].implementation <= matrix.columns[c - 1].implementation;
    };
    for (size_t h = 0; h < names.size(); ++h) {
        html += "<tr><th class=\"row\">" + E(names[h]) + "</th>";
        for (size_t c = 0; c < matrix.columns.size(); ++c) {
            html += "<th" + std::string(firstOfMode(c) ? " class=\"first\"" : "") + ">" + E(headings[c][h]) + "</th>";
        }
        html += "</tr>\n";
    }
    html += "</thead>\n<tbody>\n";
    std::string measurement;
    for (const MatrixRow& row : matrix.rows) {
        if (row.measurement != measurement) {
            measurement = row.measurement;
            html += "<tr class=\"measurement\"><th colspan=\"" + std::to_string(matrix.columns.size() + 1) + "\">" +
                    E(measurement) + "</th></tr>\n";
        }
        html += "<tr><th class=\"row\">" + E(row.label) + "</th>";
        for (size_t c = 0; c < row.cells.size(); ++c) html += CellHtml(matrix, row, row.cells[c], firstOfMode(c));
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n</body>\n</html>\n";
}
