// The multisampling-off measurement told as a fact and a diagram.
#include "analysis/antialias_off/antialias_off_view.h"

#include "analysis/positions/positions_view.h"

MeasurementView DescribeAntialiasOff(const ModeMeasurement& measurement) {
    const AntialiasOffMeasurement& m = measurement.antialiasOff;
    MeasurementView view;
    view.title = "Multisampling off";
    view.columns = {{"AA off", AntialiasOffColumnText(m)}};
    view.facts.push_back({"D3DRS_MULTISAMPLEANTIALIAS off", AntialiasOffVerdictText(m)});
    if (!m.positions.samples.empty()) {
        view.diagrams.push_back({"where the samples lie with multisampling off", "/antialiasOff/samples", ViewPoints(m.positions.samples),
                                 {}, {}});
    }
    return view;
}
