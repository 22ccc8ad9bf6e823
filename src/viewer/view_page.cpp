// The pages of the Sample Positions dialog, from the list of measurements.
#include "viewer/view_page.h"

#include "analysis/session/measurement_module.h"
#include "viewer/view_picture.h"

namespace {

constexpr char kNewLine[] = "\r\n";

std::string Cells(const std::vector<std::string>& cells) {
    std::string line;
    for (size_t i = 0; i < cells.size(); ++i) line += (i > 0 ? "\t" : "") + cells[i];
    return line + kNewLine;
}

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
    std::vector<std::vector<MeasurementView>> onPage;
    for (size_t i = 0; i < views.size(); ++i) {
        const MeasurementView& view = views[i];
        if (pages.empty() || pages.back().title != view.page) {
            MeasurementPage page;
            page.title = view.page;
            pages.push_back(page);
            onPage.emplace_back();
        } else {
            pages.back().text += kNewLine;
        }
        const bool shared = (i > 0 && views[i - 1].page == view.page) ||
                            (i + 1 < views.size() && views[i + 1].page == view.page);
        if (shared) pages.back().text += view.title + kNewLine;
        pages.back().text += ViewText(view);
        onPage.back().push_back(view);
    }
    for (size_t i = 0; i < pages.size(); ++i) pages[i].paint = ViewPicture(onPage[i]);
    return pages;
}
