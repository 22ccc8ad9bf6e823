// The alpha-to-coverage measurement told as facts and threshold grids.
#include "analysis/alpha_to_coverage/alpha_to_coverage_view.h"

namespace {

std::string Threshold(int alpha) { return alpha == kNeverCovered ? std::string("never") : std::to_string(alpha); }

// One row per pixel row of the block, one cell per pixel: its samples' thresholds.
ViewTable ThresholdGrid(const AlphaToCoverageMap& map) {
    ViewTable table{std::string(CoverageSwitchLabel(map.coverageSwitch)) +
                        ": the alpha, in steps of 1/255, from which each sample of each pixel is covered" +
                        (map.perSample ? ", by mask bit" : ", the k-th sample of the pixel, whichever it is") +
                        (map.alphaTestReference > 0
                             ? "; alpha test on, passing alpha >= " + std::to_string(map.alphaTestReference)
                             : std::string()),
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

// The block as a picture: per pixel the thresholds on the 0 .. 255 alpha scale, none where never.
ViewGrid ThresholdPicture(const AlphaToCoverageMap& map, const std::string& source) {
    std::string name = CoverageSwitchLabel(map.coverageSwitch);
    if (!map.caps.answers.empty()) name += " (" + SwitchVerdictShortText(map.caps) + ")";
    const bool alphas = map.verdict == AlphaToCoverageVerdict::Thresholds;
    // A caption under a picture: the finding in short, the facts beside it say it in full.
    ViewGrid grid{name + ": " + AlphaToCoverageFindingText(map) + (alphas ? ", in alpha steps of 1/255" : ""), source,
                  255, {}};
    for (const auto& row : map.thresholds) {
        std::vector<std::vector<int>> cells;
        for (std::vector<int> pixel : row) {
            for (int& alpha : pixel) alpha = alpha == kNeverCovered ? -1 : alpha;
            cells.push_back(pixel);
        }
        grid.cells.push_back(cells);
    }
    return grid;
}

}  // namespace

MeasurementView DescribeAlphaToCoverage(const ModeMeasurement& measurement) {
    const AlphaToCoverageMeasurement& m = measurement.alphaToCoverage;
    MeasurementView view{"Alpha to coverage", "Alpha to coverage", {{"Alpha to coverage", AlphaToCoverageColumnText(m), AlphaToCoverageBriefText(m)}}};
    for (const AlphaToCoverageMap& map : m.switches) {
        const std::string source = "/alphaToCoverage/" + std::to_string(&map - m.switches.data());
        const bool alphas = map.verdict == AlphaToCoverageVerdict::Thresholds;
        view.facts.push_back({std::string(CoverageSwitchLabel(map.coverageSwitch)),
                              AlphaToCoverageVerdictText(map) + (alphas ? ", in alpha steps of 1/255" : ""), source});
        if (!map.caps.answers.empty()) {
            view.switches.push_back({std::string(CoverageSwitchLabel(map.coverageSwitch)), SwitchVerdictLineText(map.caps)});
            view.facts.push_back({std::string(CoverageSwitchLabel(map.coverageSwitch)) + " claimed?",
                                  SwitchVerdictText(map.caps) + " (asked: " + CapsAnswersText(map.caps) + ")", source + "/caps"});
        }
        if (!map.thresholds.empty()) view.tables.push_back(ThresholdGrid(map));
        view.grids.push_back(ThresholdPicture(map, source));
        if (map.verdict == AlphaToCoverageVerdict::Dither) {
            ViewTable matrix{std::string(CoverageSwitchLabel(map.coverageSwitch)) + ": the dither matrix", {}, {}};
            const std::string text = DitherMatrixText(map);
            for (size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos; start = end + 1) {
                matrix.rows.push_back({text.substr(start, end - start)});
            }
            view.tables.push_back(matrix);
        }
    }
    if (!m.switches.empty()) view.facts.push_back({"Precision", "exact: every alpha from 0 to 255 is drawn"});
    return view;
}
