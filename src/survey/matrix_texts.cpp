// The matrix's shared words.
#include "survey/matrix_texts.h"

#include <cstdio>

#include "enumeration/value_names.h"
#include "survey/survey_modes.h"

namespace {

// Where "Render-target format" stands in ColumnHeadingNames().
constexpr size_t kFormatHeading = 6;

std::string Modes(size_t count) { return std::to_string(count) + (count == 1 ? " mode" : " modes"); }

std::string Joined(const std::vector<std::string>& items, const char* separator = ", ") {
    std::string text;
    for (const std::string& item : items) text += (text.empty() ? "" : separator) + item;
    return text;
}

std::string DrawnFormatText(const ModeReport& mode) {
    const MultisampleMode& multisample = mode.measurement.mode;
    return std::string(FormatText(multisample.DrawnFormat(), false)) +
           (multisample.DrawnInBackBufferFormat() ? " (the back buffer's)" : "");
}

// Written out in full, however large (a 32-bit float has 2^24 steps): never in exponent form.
std::string Number(double value) {
    char text[48];
    std::snprintf(text, sizeof text, "%.2f", value);
    std::string s = text;
    while (s.back() == '0') s.pop_back();
    if (s.back() == '.') s.pop_back();
    return s;
}

// A diagram's samples as "0:(6, 2) 1:(14, 6) in 1/16 pixel", an interval as low..high.
std::string DiagramText(const ViewDiagram& diagram) {
    const auto axis = [](const ViewAxis& a) {
        return a.exact ? Number(a.low * 16) : Number(a.low * 16) + ".." + Number(a.high * 16);
    };
    std::string text;
    for (const ViewPoint& point : diagram.samples) {
        text += (text.empty() ? "" : " ") + point.label + ":(" + axis(point.x) + ", " + axis(point.y) + ")";
        if (point.count > 1) text += " (" + std::to_string(point.count) + " samples)";
    }
    return text + " in 1/16 pixel";
}

// A ladder as its values by samples covered: "0/4: 0, 1/4: 64, ... in steps of 1/255", on its own scale.
std::string LadderText(const ViewLadder& ladder) {
    std::string text;
    for (size_t i = 0; i < ladder.covered.size() && i < ladder.values.size(); ++i) {
        text += (text.empty() ? "" : ", ") + std::to_string(ladder.covered[i]) + "/" + std::to_string(ladder.samples) +
                ": " + Number(ladder.values[i]);
    }
    return text + " in steps of 1/" + std::to_string(ladder.valueScale);
}

}  // namespace

const char kMatrixComparisonText[] =
    "Modes are paired by device type, formats, multisample type and quality, whatever their adapters are called. "
    "In each mode, every measurement is compared with the result most implementations share (the first "
    "column's where none has more), within the measurement's own tolerance: a marked cell differs from it, "
    "an empty one was not measured there.";

const std::vector<std::string>& ColumnHeadingNames() {
    static const std::vector<std::string> names = {"Implementation", "Survey",  "Adapter",
                                                   "Device type",    "Multisample type", "Quality",
                                                   "Render-target format", "Status"};
    return names;
}

std::vector<std::string> ColumnHeadings(const SurveyMatrix& matrix, const MatrixColumn& column) {
    const MatrixImplementation& implementation = matrix.implementations[column.implementation];
    const ModeReport& mode = column.mode;
    // The file's name only: the summary gives its folder once.
    const size_t slash = implementation.file.find_last_of("\\/");
    return {implementation.name,
            slash == std::string::npos ? implementation.file : implementation.file.substr(slash + 1),
            ColumnAdapterText(matrix, column),
            ShortDeviceTypeText(mode.deviceType),
            mode.measurement.mode.TypeName(),
            std::to_string(mode.measurement.mode.quality),
            FormatText(mode.measurement.mode.DrawnFormat(), false),
            ColumnStatusText(column)};
}

std::vector<std::string> GroupHeadings(const SurveyMatrix& matrix, const MatrixColumnGroup& group, bool fullFormats) {
    std::vector<std::string> headings = ColumnHeadings(matrix, matrix.columns[group.columns.front()]);
    headings[kFormatHeading] = GroupFormatsText(matrix, group, fullFormats);
    return headings;
}

std::string AgreementText(const SurveyMatrix& matrix, const MatrixAgreement& agreement, size_t implementation) {
    const size_t shared = agreement.shared[implementation];
    const std::vector<std::string>& differing = agreement.differing[implementation];
    if (shared == 0) return "no mode shared with another implementation";
    if (differing.empty()) return "agrees in " + Modes(shared);
    return "differs in " + std::to_string(differing.size()) + " of " + Modes(shared) + ": " +
           ModesText(matrix, agreement.differingColumns[implementation], agreement.comparedColumns[implementation]);
}

std::string ModesText(const SurveyMatrix& matrix, const std::vector<size_t>& columns, const std::vector<size_t>& among) {
    // Per mode, whatever its format: the formats of the columns named and of those they are among.
    std::vector<std::string> bases;
    std::vector<std::vector<std::string>> named, all;
    const auto add = [&](size_t c, bool isNamed) {
        const ModeReport& mode = matrix.columns[c].mode;
        const std::string base = ModeBaseLabel(mode);
        size_t at = 0;
        while (at < bases.size() && bases[at] != base) ++at;
        if (at == bases.size()) {
            bases.push_back(base);
            named.emplace_back();
            all.emplace_back();
        }
        (isNamed ? named : all)[at].push_back(DrawnFormatText(mode));
    };
    for (size_t c : columns) add(c, true);
    for (size_t c : among) add(c, false);
    std::vector<std::string> parts;
    for (size_t i = 0; i < bases.size(); ++i) {
        if (named[i].empty()) continue;
        const size_t count = all[i].size();
        if (count <= 1) {
            parts.push_back(bases[i]);
        } else if (named[i].size() == count) {
            parts.push_back(bases[i] + " in all " + std::to_string(count) + " render-target formats compared");
        } else if (named[i].size() * 2 > count) {
            std::vector<std::string> others;
            for (const std::string& format : all[i]) {
                bool isNamed = false;
                for (const std::string& each : named[i]) isNamed = isNamed || each == format;
                if (!isNamed) others.push_back(format);
            }
            parts.push_back(bases[i] + " in " + std::to_string(named[i].size()) + " of " + std::to_string(count) +
                            " render-target formats compared, all but " + Joined(others));
        } else {
            parts.push_back(bases[i] + " in " + Joined(named[i]));
        }
    }
    return Joined(parts, "; ");
}

std::string AgreementSentence(const SurveyMatrix& matrix, const MatrixAgreement& agreement) {
    std::vector<std::string> differ;
    bool compared = false;
    for (size_t i = 0; i < matrix.implementations.size(); ++i) {
        compared = compared || agreement.shared[i] > 0;
        if (agreement.differing[i].empty()) continue;
        differ.push_back(matrix.implementations[i].name + " differs from " + Joined(agreement.against[i], " or ") +
                         " in " + std::to_string(agreement.differing[i].size()) + " of " + Modes(agreement.shared[i]));
    }
    const std::string title = agreement.measurement + ": ";
    if (!compared) return title + "no mode was measured by more than one implementation.";
    if (differ.empty()) return title + "every implementation agrees in every mode they share.";
    return title + Joined(differ, "; ") + ".";
}

std::string DiffersText(const SurveyMatrix& matrix, const MatrixCell& cell) {
    return "differs from " + matrix.implementations[matrix.columns[cell.reference].implementation].name;
}

std::string CellWords(const MatrixRow& row, const MatrixCell& cell) {
    if (!cell.present) return std::string();
    return row.kind == MatrixCellKind::Fact      ? cell.text
           : row.kind == MatrixCellKind::Diagram ? DiagramText(cell.diagram)
                                                 : LadderText(cell.ladder);
}

std::vector<MatrixPart> MatrixParts(const SurveyMatrix& matrix) {
    std::vector<MatrixPart> parts;
    for (size_t c = 0; c < matrix.columns.size(); ++c) {
        const std::string label = ModeBaseLabel(matrix.columns[c].mode);
        size_t at = 0;
        while (at < parts.size() && parts[at].label != label) ++at;
        if (at == parts.size()) parts.push_back({label, {}});
        parts[at].columns.push_back(c);
    }
    for (MatrixPart& part : parts) part.groups = GroupedColumns(matrix, part.columns);
    return parts;
}

bool RowShown(const MatrixRow& row, const std::vector<size_t>& columns) {
    for (size_t c : columns) {
        if (row.cells[c].present) return true;
    }
    return false;
}

bool RowAlike(const SurveyMatrix& matrix, const MatrixRow& row, const std::vector<size_t>& columns, size_t* example) {
    std::string first;
    size_t measured = 0;
    for (size_t c : columns) {
        // A column with no measurement (a mode its survey lacks, or one that failed) shows nothing anyway.
        if (!matrix.columns[c].present || !HoldsMeasurement(matrix.columns[c].mode)) continue;
        if (!row.cells[c].present || row.cells[c].differs) return false;
        if (measured++ == 0) {
            first = CellWords(row, row.cells[c]);
            *example = c;
        }
        if (CellWords(row, row.cells[c]) != first) return false;
    }
    return measured > 1;
}
