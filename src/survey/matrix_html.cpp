// matrix.html from the matrix: the summary, the legend, then a table per mode, the pictures drawn as
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
div.text { max-width: 280px; overflow-wrap: anywhere; }
thead th { overflow-wrap: break-word; }
td.alike { background: #fcfcfc; }
td.alike div.text { max-width: 560px; }
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

// A cell in its own td, or (inTd false) only its content.
std::string CellHtml(const SurveyMatrix& matrix, const MatrixRow& row, const MatrixCell& cell, bool first, bool inTd) {
    std::string classes = first ? "first" : "";
    const auto open = [&](const std::string& more, const std::string& title) {
        const std::string all = classes + (classes.empty() || more.empty() ? "" : " ") + more;
        return "<td" + (all.empty() ? std::string() : " class=\"" + all + "\"") +
               (title.empty() ? std::string() : " title=\"" + E(title) + "\"") + ">";
    };
    if (!cell.present) return open("empty", std::string()) + "</td>";
    std::string content;
    switch (row.kind) {
    // A column only as wide as a diagram: long facts wrap.
    case MatrixCellKind::Fact: content = "<div class=\"text\">" + E(cell.text) + "</div>"; break;
    case MatrixCellKind::Diagram: content = SampleDiagramSvg(cell.diagram, {}); break;
    case MatrixCellKind::Ladder: content = LadderSvg(cell.ladder); break;
    }
    if (!inTd) return content;
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
                    E(AgreementText(matrix, agreement, i)) + "</td>";
        }
        html += "</tr>\n";
    }
    html += "</table>\n<ul>\n";
    for (const MatrixAgreement& agreement : matrix.summary) html += "<li>" + E(AgreementSentence(matrix, agreement)) + "</li>\n";
    return html + "</ul>\n";
}

std::string Legend() {
    return "<ul class=\"legend\">\n<li>" + std::string(kDiagramLegend) + "</li>\n<li>" + kLadderLegend +
           "</li>\n<li>An orange cell differs from the result most implementations share in that mode (the first "
           "column's where none is shared by more); hold the pointer over it for what differs. A grey cell: not "
           "measured in that column. A row every column of a mode that measured it shows alike is one cell across them. "
           "A column headed by several render-target formats stands for one implementation in each of them, alike "
           "in every row; the formats a heading leaves out are listed under the table.</li>\n</ul>\n";
}

// A group's heading cell: its formats shortened, all of them in the title where shortened.
std::string HeadingCell(const SurveyMatrix& matrix, const MatrixColumnGroup& group, size_t heading, bool first) {
    const std::string text = GroupHeadings(matrix, group, false)[heading];
    const std::string full = GroupHeadings(matrix, group, true)[heading];
    return "<th" + std::string(first ? " class=\"first\"" : "") + (full == text ? "" : " title=\"" + E(full) + "\"") +
           ">" + E(text) + "</th>";
}

// Under the table, every format of each column whose heading names only some.
std::string FormatsLines(const SurveyMatrix& matrix, const MatrixPart& part) {
    std::string html;
    for (const MatrixColumnGroup& group : part.groups) {
        const std::string full = GroupFormatsText(matrix, group, true);
        if (full == GroupFormatsText(matrix, group, false)) continue;
        html += "<li>" + E(matrix.implementations[matrix.columns[group.columns.front()].implementation].name) + ": " +
                E(full) + "</li>\n";
    }
    if (html.empty()) return html;
    return "<p class=\"caption\">Columns that stand for several render-target formats, alike in every row:</p>\n"
           "<ul class=\"caption\">\n" + html + "</ul>\n";
}

// One mode's columns, every render-target format and implementation (formats alike in every row
// one column), and the rows they show; a row they all show alike is one cell across them.
std::string PartTable(const SurveyMatrix& matrix, const MatrixPart& part, const std::string& anchor) {
    std::string html = "<h2 id=\"" + anchor + "\">" + E(part.label) + "</h2>\n<table class=\"matrix\">\n<thead>\n";
    const std::vector<std::string>& names = ColumnHeadingNames();
    const std::vector<MatrixColumnGroup>& groups = part.groups;
    const auto firstOfMode = [&](size_t i) {
        return i == 0 || matrix.columns[groups[i].columns.front()].implementation <=
                             matrix.columns[groups[i - 1].columns.front()].implementation;
    };
    for (size_t h = 0; h < names.size(); ++h) {
        html += "<tr><th class=\"row\">" + E(names[h]) + "</th>";
        for (size_t i = 0; i < groups.size(); ++i) html += HeadingCell(matrix, groups[i], h, firstOfMode(i));
        html += "</tr>\n";
    }
    html += "</thead>\n<tbody>\n";
    std::string measurement;
    for (const MatrixRow& row : matrix.rows) {
        if (!RowShown(row, part.columns)) continue;
        if (row.measurement != measurement) {
            measurement = row.measurement;
            html += "<tr class=\"measurement\"><th colspan=\"" + std::to_string(groups.size() + 1) + "\">" +
                    E(measurement) + "</th></tr>\n";
        }
        html += "<tr><th class=\"row\">" + E(row.label) + "</th>";
        size_t example = 0;
        if (RowAlike(matrix, row, part.columns, &example)) {
            const MatrixCell& cell = row.cells[example];
            const std::string note = "<span class=\"caption\">in every column measured: </span>";
            html += "<td class=\"first alike\" colspan=\"" + std::to_string(groups.size()) + "\">" +
                    (row.kind == MatrixCellKind::Fact ? "<div class=\"text\">" + note + E(cell.text) + "</div>"
                                                      : "<div>" + note + "</div>" + CellHtml(matrix, row, cell, false, false)) +
                    "</td>";
        } else {
            for (size_t i = 0; i < groups.size(); ++i) {
                html += CellHtml(matrix, row, GroupCell(matrix, groups[i], row), firstOfMode(i), true);
            }
        }
        html += "</tr>\n";
    }
    return html + "</tbody>\n</table>\n" + FormatsLines(matrix, part);
}

}  // namespace

std::string MatrixHtml(const SurveyMatrix& matrix) {
    const std::vector<MatrixPart> parts = MatrixParts(matrix);
    // The columns drawn: formats alike are one.
    size_t drawn = 0;
    for (const MatrixPart& part : parts) drawn += part.groups.size();
    const std::string title = "Quillant matrix: " + std::to_string(matrix.implementations.size()) +
                              (matrix.implementations.size() == 1 ? " implementation" : " implementations") + ", " +
                              std::to_string(drawn) + " columns";
    std::string html = "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n<title>" + E(title) +
                       "</title>\n<style>\n" + kStyle + "</style>\n</head>\n<body>\n<h1>" + E(title) + "</h1>\n";
    html += "<p>" + std::string(kSurveyProgramName) + " " + kSurveyProgramVersion + ". " + E(kMatrixComparisonText) +
            " Positions in 1/16 pixel from the pixel's top-left corner.</p>\n";
    html += "<h2>Who agrees on what</h2>\n" + SummaryTable(matrix);
    html += "<h2>Legend</h2>\n" + Legend();
    if (parts.size() > 1) {
        html += "<h2>Modes</h2>\n<ul class=\"contents\">\n";
        for (size_t p = 0; p < parts.size(); ++p) {
            html += "<li><a href=\"#part" + std::to_string(p + 1) + "\">" + E(parts[p].label) + "</a></li>\n";
        }
        html += "</ul>\n";
    }
    for (size_t p = 0; p < parts.size(); ++p) html += PartTable(matrix, parts[p], "part" + std::to_string(p + 1));
    return html + "</body>\n</html>\n";
}
