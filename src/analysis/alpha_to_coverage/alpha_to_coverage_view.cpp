// The alpha-to-coverage measurement told as facts and threshold grids.
#include "analysis/alpha_to_coverage/alpha_to_coverage_view.h"

namespace {

std::string Threshold(int alpha) { return alpha == kNeverCovered ? std::string("never") : std::to_string(alpha); }

// One row per pixel row of the block, one cell per pixel: its samples' thresholds.
ViewTable ThresholdGrid(const AlphaToCoverageMap& map) {
    ViewTable table{std::string(CoverageSwitchName(map.coverageSwitch)) +
                        ": the alpha (0 .. 255) from which each sample of each pixel is covered" +
                        (map.perSample ? ", by mask bit" : ", the k-th sample of the pixel, whichever it is"),
                    {},
                    {}};
    for (const auto& row : map.thresholds) {
        std::vector<std::string> cells;
        for (const std::vector<int>& pixel : row) {
            std::string cell;
            for (int alpha : pixel) cell += (cell.empty() ? "" : " ") + Threshold(alpha);
            cells.push_back(cell);
        }
        table.rows.push_back(cells);
    }
    return table;
}

}  // namespace

MeasurementView DescribeAlphaToCoverage(const ModeMeasurement& measurement) {
    const AlphaToCoverageMeasurement& m = measurement.alphaToCoverage;
    MeasurementView view;
    view.title = "Alpha to coverage";
    view.columns = {{"Alpha to coverage", AlphaToCoverageColumnText(m)}};
    for (const AlphaToCoverageMap& map : m.switches) {
        view.facts.push_back({CoverageSwitchName(map.coverageSwitch), AlphaToCoverageVerdictText(map)});
        if (!map.thresholds.empty()) view.tables.push_back(ThresholdGrid(map));
    }
    return view;
}
