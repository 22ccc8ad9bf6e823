// The resolve measurement's JSON, both ways.
#include "analysis/resolve/resolve_json.h"

#include <windows.h>
#include <d3d9.h>

#include <cstdlib>
#include <string>

#include "analysis/session/json_names.h"
#include "analysis/session/switch_finding_json.h"

namespace {

using nlohmann::json;

const JsonName<TransferVerdict> kTransferVerdictNames[] = {
    {TransferVerdict::NotMeasured, nullptr},
    {TransferVerdict::Stored, "stored"},
    {TransferVerdict::Linear, "linear"},
    {TransferVerdict::Other, "other"},
};

const JsonName<FootprintVerdict> kFootprintVerdictNames[] = {
    {FootprintVerdict::NotMeasured, nullptr},
    {FootprintVerdict::Box, "box"},
    {FootprintVerdict::Wider, "wider"},
};

const JsonName<CoverageVerdict> kCoverageVerdictNames[] = {
    {CoverageVerdict::NotMeasured, nullptr},
    {CoverageVerdict::Equal, "equal"},
    {CoverageVerdict::CoverageMode, "coverageMode"},
    {CoverageVerdict::Fewer, "fewer"},
};

json LadderToJson(const std::vector<LadderStep>& ladder) {
    json list = json::array();
    for (const LadderStep& step : ladder) list.push_back(json{{"covered", step.covered}, {"value", step.value}});
    return list;
}

std::vector<LadderStep> LadderFromJson(const json& list) {
    std::vector<LadderStep> ladder;
    for (const json& step : list) ladder.push_back({step.at("covered").get<int>(), step.at("value").get<int>()});
    return ladder;
}

// CapsAnswerText's names, or the code in hexadecimal.
long CapsAnswerFromText(const std::string& text) {
    const struct {
        HRESULT code;
        const char* name;
    } kNamed[] = {{D3D_OK, "D3D_OK"}, {D3DERR_NOTAVAILABLE, "D3DERR_NOTAVAILABLE"}, {D3DERR_INVALIDCALL, "D3DERR_INVALIDCALL"}};
    for (const auto& named : kNamed) {
        if (text == named.name) return static_cast<long>(named.code);
    }
    return static_cast<long>(std::strtoul(text.c_str(), nullptr, 16));
}

// The ladders after an sRGB-written last draw: absent where not measured (and in files from
// before they were).
json LastDrawToJson(const ResolveTransfer& t) {
    const LastDrawLadders& last = t.afterSrgbDraw;
    if (!last.measured) return nullptr;
    const auto curve = [](const TransferCurve& c) {
        return json{{"verdict", JsonNameOf(kTransferVerdictNames, c.verdict)},
                    {"ladder", LadderToJson(c.ladder)},
                    {"grey", LadderToJson(c.grey)}};
    };
    return json{{"dependsOnLastDraw", last.dependsOnLastDraw},
                {"plain", curve(last.plain)},
                {"srgbWrite", t.srgbWrite.tried ? curve(last.srgb) : json(nullptr)}};
}

LastDrawLadders LastDrawFromJson(const json& in) {
    LastDrawLadders last;
    if (in.is_null()) return last;
    const auto curve = [](const json& c) {
        TransferCurve read;
        read.verdict = JsonValueOf(kTransferVerdictNames, c.at("verdict"));
        read.ladder = LadderFromJson(c.at("ladder"));
        read.grey = LadderFromJson(c.at("grey"));
        return read;
    };
    last.measured = true;
    last.dependsOnLastDraw = in.at("dependsOnLastDraw").get<bool>();
    last.plain = curve(in.at("plain"));
    if (!in.at("srgbWrite").is_null()) last.srgb = curve(in.at("srgbWrite"));
    return last;
}

}  // namespace

void to_json(json& out, const ResolveTransfer& t) {
    json srgb = nullptr;
    if (t.srgbWrite.tried) {
        srgb = json{
            {"capsAnswer", CapsAnswerText(t.srgbWrite.capsAnswer)},
            {"writeEncoded", t.srgbWrite.writeEncoded},
            {"verdict", JsonNameOf(kTransferVerdictNames, t.srgbWrite.curve.verdict)},
            {"ladder", LadderToJson(t.srgbWrite.curve.ladder)},
            {"grey", LadderToJson(t.srgbWrite.curve.grey)},
        };
        // An older file read back has none, and is written again as it was.
        if (!t.srgbWrite.caps.answers.empty()) srgb["caps"] = t.srgbWrite.caps;
    }
    json alpha = nullptr;
    if (t.alpha.measured) {
        alpha = json{
            {"verdict", JsonNameOf(kTransferVerdictNames, t.alpha.curve.verdict)},
            {"valueScale", t.alpha.valueScale},
            {"ladder", LadderToJson(t.alpha.curve.ladder)},
        };
    }
    out = json{
        {"verdict", JsonNameOf(kTransferVerdictNames, t.curve.verdict)},
        {"valueScale", t.valueScale},
        {"greyDrawn", t.greyDrawn},
        {"ladder", LadderToJson(t.curve.ladder)},
        {"grey", LadderToJson(t.curve.grey)},
        {"srgbWrite", srgb},
        {"alpha", alpha},
    };
    // Only where measured: a file from before it was reads and writes the same.
    if (t.afterSrgbDraw.measured) out["afterSrgbDraw"] = LastDrawToJson(t);
}

void from_json(const json& in, ResolveTransfer& t) {
    t = ResolveTransfer();
    t.valueScale = in.at("valueScale").get<int>();
    t.greyDrawn = in.at("greyDrawn").get<int>();
    t.curve.verdict = JsonValueOf(kTransferVerdictNames, in.at("verdict"));
    t.curve.ladder = LadderFromJson(in.at("ladder"));
    t.curve.grey = LadderFromJson(in.at("grey"));
    if (!t.curve.ladder.empty()) t.colourSamples = t.curve.ladder.back().covered;
    const json& srgb = in.at("srgbWrite");
    if (!srgb.is_null()) {
        t.srgbWrite.tried = true;
        t.srgbWrite.capsAnswer = CapsAnswerFromText(srgb.at("capsAnswer").get<std::string>());
        t.srgbWrite.writeEncoded = srgb.at("writeEncoded").get<bool>();
        // Older files asked one form, the capsAnswer above.
        const auto caps = srgb.find("caps");
        if (caps != srgb.end()) caps->get_to(t.srgbWrite.caps);
        t.srgbWrite.curve.verdict = JsonValueOf(kTransferVerdictNames, srgb.at("verdict"));
        t.srgbWrite.curve.ladder = LadderFromJson(srgb.at("ladder"));
        t.srgbWrite.curve.grey = LadderFromJson(srgb.at("grey"));
    }
    const json& alpha = in.at("alpha");
    if (!alpha.is_null()) {
        t.alpha.measured = true;
        t.alpha.valueScale = alpha.at("valueScale").get<int>();
        t.alpha.curve.verdict = JsonValueOf(kTransferVerdictNames, alpha.at("verdict"));
        t.alpha.curve.ladder = LadderFromJson(alpha.at("ladder"));
    }
    t.afterSrgbDraw = LastDrawFromJson(in.value("afterSrgbDraw", json()));
}

void to_json(json& out, const Footprint& f) {
    json weights = json::array();
    for (const auto& row : f.weights) weights.push_back(json(std::vector<int>(row, row + kFootprintSide)));
    out = json{{"verdict", JsonNameOf(kFootprintVerdictNames, f.verdict)}, {"valueScale", f.valueScale}, {"weights", weights}};
}

void from_json(const json& in, Footprint& f) {
    f = Footprint();
    f.verdict = JsonValueOf(kFootprintVerdictNames, in.at("verdict"));
    f.valueScale = in.at("valueScale").get<int>();
    const json& weights = in.at("weights");
    for (int y = 0; y < kFootprintSide; ++y) {
        for (int x = 0; x < kFootprintSide; ++x) f.weights[y][x] = weights.at(y).at(x).get<int>();
    }
}

void to_json(json& out, const CoverageLevels& c) {
    json positions = json::array();
    for (const EdgeSweep& sweep : c.sweeps) {
        positions.push_back(json{{"edge", sweep.edge}, {"normal", {sweep.normalX, sweep.normalY}}, {"changes", sweep.changes}});
    }
    out = json{
        {"levels", c.levels},
        {"coverageSamples", c.coverageSamples},
        {"colourSamples", c.colourSamples},
        {"verdict", JsonNameOf(kCoverageVerdictNames, c.verdict)},
        {"edgeStep", kEdgeStep},
        {"edgePositions", positions},
    };
}

void from_json(const json& in, CoverageLevels& c) {
    c = CoverageLevels();
    c.levels = in.at("levels").get<int>();
    c.coverageSamples = in.at("coverageSamples").get<int>();
    c.colourSamples = in.at("colourSamples").get<int>();
    c.verdict = JsonValueOf(kCoverageVerdictNames, in.at("verdict"));
    for (const json& entry : in.at("edgePositions")) {
        EdgeSweep sweep;
        sweep.edge = entry.at("edge").get<std::string>();
        sweep.normalX = entry.at("normal").at(0).get<double>();
        sweep.normalY = entry.at("normal").at(1).get<double>();
        sweep.changes = entry.at("changes").get<std::vector<double>>();
        // Not written: an edge sweeping across the pixel only covers more, so each change is a new level.
        sweep.levels = static_cast<int>(sweep.changes.size()) + 1;
        c.sweeps.push_back(sweep);
    }
}

void to_json(json& out, const ResolveMeasurement& m) {
    out = json{{"transfer", m.transfer}, {"footprint", m.footprint}, {"coverage", m.coverage}};
}

void from_json(const json& in, ResolveMeasurement& m) {
    m = ResolveMeasurement();
    in.at("transfer").get_to(m.transfer);
    in.at("footprint").get_to(m.footprint);
    in.at("coverage").get_to(m.coverage);
    m.footprint.colourSamples = m.transfer.colourSamples;
}

json ResolveToJson(const ResolveMeasurement& measurement) { return json(measurement); }

json TransferVerdictJsonName(TransferVerdict verdict) { return JsonNameOf(kTransferVerdictNames, verdict); }

json FootprintVerdictJsonName(FootprintVerdict verdict) { return JsonNameOf(kFootprintVerdictNames, verdict); }

json CoverageVerdictJsonName(CoverageVerdict verdict) { return JsonNameOf(kCoverageVerdictNames, verdict); }
