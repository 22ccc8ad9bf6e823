// The multisampling-off measurement told as a fact and a diagram.
#include "analysis/antialias_off/antialias_off_view.h"

#include "analysis/positions/positions_view.h"

MeasurementView DescribeAntialiasOff(const ModeMeasurement& measurement) {
    const AntialiasOffMeasurement& m = measurement.antialiasOff;
    MeasurementView view{"Multisampling off", "Interpolation", {{"AA off", AntialiasOffColumnText(m),
                                                                   m.verdict == AntialiasOffVerdict::NotMeasured ? "n/a" : AntialiasOffColumnText(m)}}};
    view.facts.push_back({"D3DRS_MULTISAMPLEANTIALIAS off", AntialiasOffVerdictText(m)});
    if (!m.positions.samples.empty()) {
        ViewTable table{"Where the samples lie with it off, in 1/16 pixel", {"Sample", "x (1/16)", "y (1/16)", "Count"}, {}};
        for (const ViewPoint& point : ViewPoints(m.positions.samples)) {
            const SamplePosition& sample = m.positions.samples[table.rows.size()];
            table.rows.push_back({point.label, SixteenthsText(sample.x, m.positions.gridSize),
                                  SixteenthsText(sample.y, m.positions.gridSize), std::to_string(sample.count)});
        }
        view.tables.push_back(table);
        // Rings where the mode's samples lie with it on, in the standard pattern.
        int count = 0;
        for (const SamplePosition& sample : measurement.samplePositions.samples) count += sample.count;
        view.diagrams.push_back({"where the samples lie with multisampling off", "/antialiasOff/samples",
                                 JoinCoincident(ViewPoints(m.positions.samples)),
                                 StandardViewPoints(count), {}});
    }
    return view;
}
