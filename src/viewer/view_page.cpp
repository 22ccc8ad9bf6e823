// The pages of the Sample Positions dialog, from the list of measurements.
#include "viewer/view_page.h"

#include "analysis/session/measurement_module.h"
#include "viewer/alpha_to_coverage_page.h"
#include "viewer/interpolation_page.h"
#include "viewer/positions_page.h"
#include "viewer/resolve_page.h"

namespace {

constexpr char kNewLine[] = "\r\n";

std::string Cells(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) line += (i > 0 ? "\t" : "") + cells[i];
    return line + kNewLine;
}

using PagePicture = std::function<void(HDC, const RECT&)> (*)(const ModeMeasurement&);

// The tabs whose picture is drawn for them; a tab not listed has text only.
struct TabPicture {
    const char* page;
    PagePicture picture;
};
const TabPicture kTabPictures[] = {
    {"Positions", PositionsPicture},
    {"Resolve", ResolvePicture},
    {"Alpha to coverage", AlphaToCoveragePicture},
    {"Interpolation", InterpolationPicture},
};

}  // namespace

std::string ViewText(const MeasurementView& view) {
    std::string text;
    for (const ViewFact& fact : view.facts) text += fact.label + ": " + fact.value + kNewLine;
    for (const ViewTable& table : view.tables) {
        text += kNewLine;
        if (!table.caption.empty()) text += table.caption + ":" + kNewLine;
        if (!table.header.empty()) text += Cells(table.header);
        for (const std::vector<std::string>& row : table.rows) text += Cells(row);
    }
    return text;
}

std::vector<MeasurementPage> MeasurementPages(const ModeMeasurement& measurement) {
    std::vector<MeasurementView> views;
    for (const MeasurementModule& module : MeasurementModules()) views.push_back(DescribeMeasurement(module, measurement));
    std::vector<MeasurementPage> pages;
    for (size_t i = 0; i < views.size(); ++i) {
        const MeasurementView& view = views[i];
        if (pages.empty() || pages.back().title != view.page) {
            MeasurementPage page;
            page.title = view.page;
            for (const TabPicture& tab : kTabPictures) {
                if (view.page == tab.page) page.paint = tab.picture(measurement);
            }
            pages.push_back(page);
        } else {
            pages.back().text += kNewLine;
        }
        const bool shared = (i > 0 && views[i - 1].page == view.page) ||
                            (i + 1 < views.size() && views[i + 1].page == view.page);
        if (shared) pages.back().text += view.title + kNewLine;
        pages.back().text += ViewText(view);
    }
    return pages;
}
