// The resolve's three measurements told as facts, ladders and tables.
#include "analysis/resolve/resolve_view.h"

#include <cstdio>

namespace {

std::string Number(double value, const char* format = "%.0f") {
    char text[32];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string Steps(int valueScale) { return "steps of 1/" + std::to_string(valueScale); }

std::string Counted(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string CoverageFact(const CoverageLevels& c) {
    switch (c.verdict) {
    case CoverageVerdict::Equal: return "as many coverage samples as colour samples";
    case CoverageVerdict::CoverageMode:
        return "coverage-sample mode: " + Counted(c.coverageSamples, "coverage sample", "coverage samples") + ", " +
               Counted(c.colourSamples, "colour sample", "colour samples");
    case CoverageVerdict::Fewer: return "fewer levels than samples";
    case CoverageVerdict::NotMeasured: break;
    }
    return "not measured";
}

// One ladder with the references it was judged against, on the scale it was read in.
ViewLadder LadderOf(const std::string& caption, const std::vector<LadderStep>& steps, int samples, int valueScale,
                    const std::string& source) {
    ViewLadder ladder;
    ladder.caption = caption;
    ladder.source = source;
    ladder.samples = samples;
    ladder.valueScale = valueScale;
    double full = 0.0;
    for (const LadderStep& step : steps) full = step.covered == samples ? step.value : full;
    for (const LadderStep& step : steps) {
        ladder.covered.push_back(step.covered);
        ladder.values.push_back(step.value);
        ladder.stored.push_back(StoredReference(step.covered, samples, full, valueScale));
        ladder.linear.push_back(LinearReference(step.covered, samples, full, valueScale));
    }
    return ladder;
}

// k, value, and both references, one rung a row.
ViewTable LadderTable(const ViewLadder& ladder) {
    ViewTable table{ladder.caption + " (" + Steps(ladder.valueScale) + ")",
                    {"samples lit", "read back", "stored values averaged", "averaged in linear light"},
                    {}};
    for (size_t i = 0; i < ladder.covered.size(); ++i) {
        table.rows.push_back({std::to_string(ladder.covered[i]), Number(ladder.values[i]), Number(ladder.stored[i]),
                              Number(ladder.linear[i])});
    }
    return table;
}

// What the caps claim beside what the writes did, and the answers it rests on: every query form
// asked, or the one answer an older file holds.
std::string ClaimText(const SrgbWriteResult& srgb) {
    if (!srgb.caps.answers.empty()) return SwitchVerdictText(srgb.caps) + " (asked: " + CapsAnswersText(srgb.caps) + ")";
    const std::string answer = ": caps answer " + CapsAnswerText(srgb.capsAnswer);
    const bool claimed = srgb.capsAnswer == static_cast<long>(D3D_OK);
    if (srgb.writeEncoded) return (claimed ? "claimed and works" : "not claimed, but works") + answer;
    return (claimed ? "claimed, but written as drawn" : "not claimed, and written as drawn") + answer;
}

void AddLadder(MeasurementView* view, const ViewLadder& ladder) {
    if (ladder.covered.empty()) return;
    view->ladders.push_back(ladder);
    view->tables.push_back(LadderTable(ladder));
}

// The four resolves, samples written plain or sRGB, last draw plain or sRGB-written, and whether
// the last draw changed them; the ladders after the sRGB-written last draw where it did.
void AddLastDraw(MeasurementView* view, const ResolveTransfer& m) {
    const LastDrawLadders& last = m.afterSrgbDraw;
    view->facts.push_back({"Last draw", LastDrawText(m), "/resolve/transfer/afterSrgbDraw"});
    if (!last.measured) return;
    const char* none = "not drawn";
    ViewTable four{"The resolve by the last draw before it", {"samples", "last draw plain", "last draw sRGB-written"}, {}};
    four.rows.push_back({"plain", TransferVerdictText(m.curve), TransferVerdictText(last.plain)});
    four.rows.push_back({"sRGB-written", m.srgbWrite.tried ? TransferVerdictText(m.srgbWrite.curve) : none,
                         m.srgbWrite.tried ? TransferVerdictText(last.srgb) : none});
    view->tables.push_back(four);
    if (!last.dependsOnLastDraw) return;
    const int samples = m.colourSamples;
    const std::string at = "/resolve/transfer/afterSrgbDraw/";
    AddLadder(view, LadderOf("White, after an sRGB-written last draw", last.plain.ladder, samples, m.valueScale,
                             at + "plain/ladder"));
    if (m.srgbWrite.tried) {
        AddLadder(view, LadderOf("White, sRGB write, after an sRGB-written last draw", last.srgb.ladder, samples,
                                 m.valueScale, at + "srgbWrite/ladder"));
    }
}

}  // namespace

MeasurementView DescribeResolveTransfer(const ModeMeasurement& measurement) {
    const ResolveTransfer& m = measurement.resolve.transfer;
    const int samples = m.colourSamples;
    MeasurementView view{"Resolve transfer", "Resolve", {{"Resolve", ResolveColumnText(measurement.resolve), ResolveBriefText(measurement.resolve)}}};
    view.facts.push_back({"Transfer", TransferVerdictText(m.curve)});
    view.facts.push_back({"Judged", "k of " + Counted(samples, "sample", "samples") + " lit, the rest black; values in " +
                                        Steps(m.valueScale) + ", a reference matched within " +
                                        Number(kTransferToleranceSteps, "%.1f") + " steps"});
    if (m.curve.referencesAlike) {
        view.facts.push_back({"References", "alike at every rung: the verdict is the nearer one, not a finding"});
    }
    const SrgbWriteResult& srgb = m.srgbWrite;
    if (!srgb.tried) {
        view.facts.push_back({"sRGB write", "could not be drawn (caps answer " + CapsAnswerText(srgb.capsAnswer) + ")",
                              "/resolve/transfer/srgbWrite"});
    } else {
        const std::string greyFull = srgb.curve.grey.empty() ? "?" : std::to_string(srgb.curve.grey.back().value);
        view.facts.push_back({"sRGB write", ClaimText(srgb) + "; grey " +
                                                std::to_string(m.greyDrawn) + " of " + std::to_string(m.valueScale) +
                                                " was stored as " + greyFull +
                                                (srgb.writeEncoded ? ", written sRGB-encoded" : ", written as drawn") +
                                                "; " + TransferVerdictText(srgb.curve),
                              "/resolve/transfer/srgbWrite"});
    }
    if (!srgb.caps.answers.empty()) view.switches.push_back({"sRGB write", SwitchVerdictLineText(srgb.caps)});
    view.facts.push_back({"Alpha", m.alpha.measured ? TransferVerdictText(m.alpha.curve) : "the format has none",
                          "/resolve/transfer/alpha"});

    const std::string at = "/resolve/transfer/";
    AddLadder(&view, LadderOf("White", m.curve.ladder, samples, m.valueScale, at + "ladder"));
    AddLadder(&view, LadderOf("Grey " + std::to_string(m.greyDrawn), m.curve.grey, samples, m.valueScale, at + "grey"));
    if (srgb.tried) {
        AddLadder(&view, LadderOf("White, sRGB write", srgb.curve.ladder, samples, m.valueScale, at + "srgbWrite/ladder"));
        AddLadder(&view, LadderOf("Grey, sRGB write", srgb.curve.grey, samples, m.valueScale, at + "srgbWrite/grey"));
    }
    if (m.alpha.measured) {
        AddLadder(&view, LadderOf("Alpha of white", m.alpha.curve.ladder, samples, m.alpha.valueScale, at + "alpha/ladder"));
    }
    AddLastDraw(&view, m);
    return view;
}

MeasurementView DescribeResolveFootprint(const ModeMeasurement& measurement) {
    const ResolveMeasurement& m = measurement.resolve;
    MeasurementView view{"Resolve footprint", "Resolve", {{"Filter", FilterColumnText(m), FilterColumnText(m)}}};
    view.facts.push_back({"Filter", FootprintVerdictText(m.footprint)});
    if (m.footprint.verdict == FootprintVerdict::NotMeasured) return view;
    // Each sample's read-back is rounded to a step, so a box's centre adds up to white give or take
    // a step per sample (4 samples of 255 read 64 each: 256).
    const std::string white = std::to_string(m.footprint.valueScale);
    ViewTable weights{"One sample of one pixel lit white at a time, the 5 x 5 pixels around it read back in " +
                          Steps(m.footprint.valueScale) + " of white and added up over its " +
                          Counted(m.footprint.colourSamples, "sample", "samples") + ": a box has " + white +
                          " at the centre" +
                          (m.footprint.colourSamples > 1
                               ? ", give or take a step per sample (each read-back is rounded to a step)"
                               : std::string()),
                      {},
                      {}};
    ViewGrid picture{"Footprint: " + FootprintVerdictText(m.footprint), "/resolve/footprint", m.footprint.valueScale, {}};
    for (const auto& row : m.footprint.weights) {
        std::vector<std::string> cells;
        for (int value : row) cells.push_back(std::to_string(value));
        weights.rows.push_back(cells);
        picture.cells.emplace_back();
        for (int value : row) picture.cells.back().push_back({value});
    }
    view.tables.push_back(weights);
    view.grids.push_back(picture);
    view.facts.push_back({"Not seen", "a filter applied when the picture is shown (after Present): a read-back of the "
                                      "resolved target cannot see it"});
    return view;
}

MeasurementView DescribeCoverageLevels(const ModeMeasurement& measurement) {
    const CoverageLevels& c = measurement.resolve.coverage;
    MeasurementView view{"Coverage levels", "Resolve", {{"Coverage", CoverageColumnText(measurement.resolve), CoverageBriefText(measurement.resolve)}}};
    view.facts.push_back({"Coverage", CoverageFact(c)});
    if (c.verdict == CoverageVerdict::NotMeasured) return view;
    view.facts.push_back({"Levels", Counted(c.levels, "level", "levels") + " (the most any edge sweep showed), " +
                                        Counted(c.colourSamples, "colour sample", "colour samples")});
    ViewTable sweeps{"An edge swept across the pixel in steps of 1/128 pixel: where the value changed, in 1/128 "
                     "pixel along the edge's normal (a coverage sample lies within the step before)",
                     {"edge", "levels", "changes (1/128 pixel)"},
                     {}};
    for (const EdgeSweep& sweep : c.sweeps) {
        std::string changes;
        for (double offset : sweep.changes) changes += (changes.empty() ? "" : " ") + Number(offset / kEdgeStep);
        sweeps.rows.push_back({sweep.edge, std::to_string(sweep.levels), changes.empty() ? "none" : changes});
    }
    view.tables.push_back(sweeps);
    return view;
}
