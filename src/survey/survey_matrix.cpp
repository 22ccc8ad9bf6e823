// The matrix of several surveys: columns paired by mode, rows from the measurements' views, marks
// from their comparisons.
#include "survey/survey_matrix.h"

#include <map>
#include <utility>

#include "analysis/session/measurement_module.h"
#include "survey/survey_comparison.h"

namespace {

// A row's identity within its measurement: what it is and where it stands, so that the same fact
// of two modes (or two implementations) lands on one row whatever its caption says.
std::string RowKey(MatrixCellKind kind, const std::string& label, const std::string& source) {
    const char* prefix = kind == MatrixCellKind::Fact ? "fact:" : kind == MatrixCellKind::Diagram ? "diagram:" : "ladder:";
    // Facts are named by their label (an alpha-to-coverage switch by its name, not its place);
    // pictures by where their data stands, their captions count samples.
    return prefix + (kind == MatrixCellKind::Fact || source.empty() ? label : source);
}

// The rows of one measurement, in the order its views first show them.
class MeasurementRows {
public:
    MeasurementRows(const std::string& title, size_t columns) : title_(title), columns_(columns) {}

    MatrixCell* Cell(MatrixCellKind kind, const std::string& label, const std::string& source, size_t column) {
        const std::string key = RowKey(kind, label, source);
        auto found = index_.find(key);
        if (found == index_.end()) {
            found = index_.emplace(key, rows_.size()).first;
            MatrixRow row;
            row.measurement = title_;
            row.label = label;
            row.kind = kind;
            row.cells.resize(columns_);
            rows_.push_back(row);
            sources_.emplace_back(columns_);
        }
        sources_[found->second][column] = source;
        MatrixCell* cell = &rows_[found->second].cells[column];
        cell->present = true;
        return cell;
    }

    void Add(const MeasurementView& view, size_t column) {
        for (const ViewFact& fact : view.facts) Cell(MatrixCellKind::Fact, fact.label, fact.source, column)->text = fact.value;
        // A measurement without facts still has its report cells, and a headline for its differences.
        if (view.facts.empty()) {
            for (const ViewColumn& cell : view.columns) Cell(MatrixCellKind::Fact, cell.heading, "", column)->text = cell.text;
        }
        if (view.facts.empty() && view.columns.empty()) Cell(MatrixCellKind::Fact, title_, "", column);
        for (const ViewDiagram& diagram : view.diagrams) {
            // Its caption counts the samples of the mode; the row is the pixel's, whatever the mode.
            Cell(MatrixCellKind::Diagram, "pixel diagram", diagram.source, column)->diagram = diagram;
        }
        for (const ViewLadder& ladder : view.ladders) {
            Cell(MatrixCellKind::Ladder, ladder.caption, ladder.source, column)->ladder = ladder;
        }
    }

    // The row a difference at path (under the mode's measurement) belongs to in a column: the one
    // whose source is the longest part of the path, else the measurement's headline fact.
    size_t RowOf(const std::string& path, size_t column) const {
        size_t best = rows_.size(), bestLength = 0;
        for (size_t i = 0; i < rows_.size(); ++i) {
            const std::string& source = sources_[i][column];
            if (source.empty() || source.size() <= bestLength || path.compare(0, source.size(), source) != 0) continue;
            if (path.size() > source.size() && path[source.size()] != '/') continue;
            best = i;
            bestLength = source.size();
        }
        if (best < rows_.size()) return best;
        for (size_t i = 0; i < rows_.size(); ++i) {
            if (rows_[i].kind == MatrixCellKind::Fact) return i;
        }
        return 0;
    }

    std::vector<MatrixRow>& Rows() { return rows_; }

private:
    std::string title_;
    size_t columns_;
    std::vector<MatrixRow> rows_;
    std::vector<std::vector<std::string>> sources_;  // per row, per column
    std::map<std::string, size_t> index_;
};

// Among the columns of one mode that hold a measurement, the one the others are compared with:
// the result most of them agree with, the first where none has more; with how many agree with it.
size_t ReferenceOf(const MeasurementModule& module, const std::vector<const ModeReport*>& modes, size_t* agreeingOut) {
    size_t best = 0, bestAgreeing = 0;
    for (size_t i = 0; i < modes.size(); ++i) {
        size_t agreeing = 0;
        for (size_t j = 0; j < modes.size(); ++j) {
            DifferenceList differences;
            module.compare(modes[i]->measurement, modes[j]->measurement, &differences);
            agreeing += differences.Empty() ? 1 : 0;
        }
        if (agreeing > bestAgreeing) {
            best = i;
            bestAgreeing = agreeing;
        }
    }
    *agreeingOut = bestAgreeing;
    return best;
}

std::string Joined(const std::vector<std::string>& names) {
    std::string text;
    for (size_t i = 0; i < names.size(); ++i) {
        text += (i == 0 ? "" : i + 1 == names.size() ? " and " : ", ") + names[i];
    }
    return text;
}

void AddOnce(std::vector<std::string>* items, const std::string& item) {
    for (const std::string& each : *items) {
        if (each == item) return;
    }
    items->push_back(item);
}

std::vector<MatrixImplementation> ImplementationsOf(const std::vector<MatrixSurvey>& surveys,
                                                    std::map<std::pair<size_t, UINT>, size_t>* index) {
    std::vector<MatrixImplementation> implementations;
    const auto add = [&](size_t survey, const AdapterDescription& adapter) {
        if (index->count({survey, adapter.ordinal})) return;
        (*index)[{survey, adapter.ordinal}] = implementations.size();
        implementations.push_back({ImplementationName(surveys[survey].report.implementation, adapter), surveys[survey].file, adapter});
    };
    for (size_t s = 0; s < surveys.size(); ++s) {
        for (const AdapterDescription& adapter : surveys[s].report.adapters) add(s, adapter);
        // A mode whose adapter the file does not describe still has a column, under its ordinal.
        for (const ModeReport& mode : surveys[s].report.modes) {
            AdapterDescription unnamed;
            unnamed.ordinal = mode.adapterOrdinal;
            unnamed.description = "adapter " + std::to_string(mode.adapterOrdinal);
            add(s, unnamed);
        }
    }
    return implementations;
}

}  // namespace

std::string ImplementationName(const Direct3DImplementation& implementation, const AdapterDescription& adapter) {
    if (implementation.loaded && !implementation.productName.empty()) {
        const std::string builtin = implementation.wineBuiltin ? " (Wine builtin)" : "";
        const std::string version = implementation.fileVersion.empty() ? "" : " " + implementation.fileVersion;
        return implementation.productName + version + builtin + " on " + adapter.description;
    }
    const std::string driver = adapter.driver + (adapter.driverVersion.empty() ? "" : " " + adapter.driverVersion);
    return adapter.description + (adapter.driver.empty() ? std::string() : " (" + driver + ")");
}

std::string ColumnAdapterText(const SurveyMatrix& matrix, const MatrixColumn& column) {
    const AdapterDescription& adapter = matrix.implementations[column.implementation].adapter;
    return "Adapter " + std::to_string(adapter.ordinal) + ": " + adapter.description;
}

std::string ColumnStatusText(const MatrixColumn& column) {
    if (!column.present) return "not in this survey";
    const ModeReport& mode = column.mode;
    if (mode.measured) return "measured";
    std::string text = std::string(ModeStatusName(mode)) + " in " + mode.failureStage;
    if (mode.failureCode != S_OK) text += " " + ResultCodeText(mode.failureCode);
    return text;
}

SurveyMatrix BuildSurveyMatrix(const std::vector<MatrixSurvey>& surveys) {
    SurveyMatrix matrix;
    std::map<std::pair<size_t, UINT>, size_t> implementationIndex;
    matrix.implementations = ImplementationsOf(surveys, &implementationIndex);

    // The modes by identity, in the order first listed; each implementation's mode of each.
    std::vector<std::string> identities;
    std::map<std::string, std::map<size_t, const ModeReport*>> byIdentity;
    for (size_t s = 0; s < surveys.size(); ++s) {
        for (const ModeReport& mode : surveys[s].report.modes) {
            const std::string identity = ModeIdentity(mode);
            if (!byIdentity.count(identity)) identities.push_back(identity);
            byIdentity[identity].emplace(implementationIndex.at({s, mode.adapterOrdinal}), &mode);
        }
    }
    std::vector<size_t> groupStart;
    for (const std::string& identity : identities) {
        const std::map<size_t, const ModeReport*>& modes = byIdentity[identity];
        groupStart.push_back(matrix.columns.size());
        for (size_t i = 0; i < matrix.implementations.size(); ++i) {
            MatrixColumn column;
            column.implementation = i;
            const auto found = modes.find(i);
            column.present = found != modes.end();
            column.mode = column.present ? *found->second : *modes.begin()->second;
            matrix.columns.push_back(column);
        }
    }
    groupStart.push_back(matrix.columns.size());

    for (const MeasurementModule& module : MeasurementModules()) {
        MeasurementRows rows(module.describe(ModeMeasurement()).title, matrix.columns.size());
        for (size_t c = 0; c < matrix.columns.size(); ++c) {
            const MatrixColumn& column = matrix.columns[c];
            if (column.present && HoldsMeasurement(column.mode)) rows.Add(module.describe(column.mode.measurement), c);
        }
        MatrixAgreement agreement;
        agreement.measurement = module.describe(ModeMeasurement()).title;
        agreement.shared.assign(matrix.implementations.size(), 0);
        agreement.differing.resize(matrix.implementations.size());
        agreement.differingColumns.resize(matrix.implementations.size());
        agreement.comparedColumns.resize(matrix.implementations.size());
        agreement.against.resize(matrix.implementations.size());
        for (size_t g = 0; g + 1 < groupStart.size(); ++g) {
            std::vector<size_t> measured;
            std::vector<const ModeReport*> modes;
            for (size_t c = groupStart[g]; c < groupStart[g + 1]; ++c) {
                if (!matrix.columns[c].present || !HoldsMeasurement(matrix.columns[c].mode)) continue;
                measured.push_back(c);
                modes.push_back(&matrix.columns[c].mode);
            }
            if (measured.size() < 2) continue;
            size_t agreeing = 0;
            const size_t reference = ReferenceOf(module, modes, &agreeing);
            std::vector<DifferenceList> found(measured.size());
            std::vector<std::string> sharing;
            for (size_t i = 0; i < measured.size(); ++i) {
                module.compare(modes[reference]->measurement, modes[i]->measurement, &found[i]);
                if (found[i].Empty()) sharing.push_back(matrix.implementations[matrix.columns[measured[i]].implementation].name);
            }
            const std::string against =
                agreeing > 1 ? "the result " + Joined(sharing) + " share"
                             : matrix.implementations[matrix.columns[measured[reference]].implementation].name +
                                   " (the first column: no result is shared by more)";
            for (size_t i = 0; i < measured.size(); ++i) {
                const size_t c = measured[i];
                const size_t implementation = matrix.columns[c].implementation;
                ++agreement.shared[implementation];
                agreement.comparedColumns[implementation].push_back(c);
                const DifferenceList& differences = found[i];
                for (const MeasurementDifference& d : differences.Items()) {
                    MatrixCell& cell = rows.Rows()[rows.RowOf(std::string(module.key) + d.path.to_string(), c)].cells[c];
                    cell.present = true;
                    cell.differs = true;
                    cell.reference = measured[reference];
                    cell.differences.push_back(JoinedLocation(module.location, d.location) + " " + d.text);
                }
                if (!differences.Empty()) {
                    agreement.differing[implementation].push_back(ModeLabel(*modes[i]));
                    agreement.differingColumns[implementation].push_back(c);
                    AddOnce(&agreement.against[implementation], against);
                }
            }
        }
        for (MatrixRow& row : rows.Rows()) matrix.rows.push_back(std::move(row));
        matrix.summary.push_back(agreement);
    }
    return matrix;
}
