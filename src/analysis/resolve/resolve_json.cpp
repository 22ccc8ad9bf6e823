// The resolve measurement as JSON.
#include "analysis/resolve/resolve_json.h"

namespace {

using nlohmann::json;

json LadderToJson(const std::vector<LadderStep>& ladder) {
    json list = json::array();
    for (const LadderStep& step : ladder) list.push_back(json{{"covered", step.covered}, {"value", step.value}});
    return list;
}

json TransferVerdictName(TransferVerdict verdict) {
    switch (verdict) {
        case TransferVerdict::Stored: return "stored";
        case TransferVerdict::Linear: return "linear";
        case TransferVerdict::Other: return "other";
        case TransferVerdict::NotMeasured: break;
    }
    return nullptr;
}

json TransferToJson(const ResolveMeasurement& m) {
    json srgb = nullptr;
    if (m.srgbWrite.tried) {
        srgb = json{
            {"capsAnswer", CapsAnswerText(m.srgbWrite.capsAnswer)},
            {"writeEncoded", m.srgbWrite.writeEncoded},
            {"verdict", TransferVerdictName(m.srgbWrite.curve.verdict)},
            {"ladder", LadderToJson(m.srgbWrite.curve.ladder)},
            {"grey", LadderToJson(m.srgbWrite.curve.grey)},
        };
    }
    json alpha = nullptr;
    if (m.alpha.measured) {
        alpha = json{
            {"verdict", TransferVerdictName(m.alpha.curve.verdict)},
            {"valueScale", m.alpha.valueScale},
            {"ladder", LadderToJson(m.alpha.curve.ladder)},
        };
    }
    return json{
        {"verdict", TransferVerdictName(m.transfer.verdict)},
        {"valueScale", m.valueScale},
        {"greyDrawn", m.greyDrawn},
        {"ladder", LadderToJson(m.transfer.ladder)},
        {"grey", LadderToJson(m.transfer.grey)},
        {"srgbWrite", srgb},
        {"alpha", alpha},
    };
}

json FootprintToJson(const ResolveMeasurement& m) {
    const Footprint& f = m.footprint;
    json verdict = nullptr;
    if (f.verdict == FootprintVerdict::Box) verdict = "box";
    if (f.verdict == FootprintVerdict::Wider) verdict = "wider";
    json weights = json::array();
    for (const auto& row : f.weights) weights.push_back(json(std::vector<int>(row, row + kFootprintSide)));
    return json{{"verdict", verdict}, {"valueScale", m.valueScale}, {"weights", weights}};
}

json CoverageToJson(const CoverageLevels& c) {
    json verdict = nullptr;
    switch (c.verdict) {
        case CoverageVerdict::Equal: verdict = "equal"; break;
        case CoverageVerdict::CoverageMode: verdict = "coverageMode"; break;
        case CoverageVerdict::Fewer: verdict = "fewer"; break;
        case CoverageVerdict::NotMeasured: break;
    }
    json positions = json::array();
    for (const EdgeSweep& sweep : c.sweeps) positions.push_back(json{{"edge", sweep.edge}, {"normal", {sweep.normalX, sweep.normalY}}, {"changes", sweep.changes}});
    return json{
        {"levels", c.levels},
        {"coverageSamples", c.coverageSamples},
        {"colourSamples", c.colourSamples},
        {"verdict", verdict},
        {"edgeStep", kEdgeStep},
        {"edgePositions", positions},
    };
}

}  // namespace

json ResolveToJson(const ResolveMeasurement& m) {
    return json{
        {"transfer", TransferToJson(m)},
        {"footprint", FootprintToJson(m)},
        {"coverage", CoverageToJson(m.coverage)},
    };
}
