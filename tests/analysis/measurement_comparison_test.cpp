// Each measurement's own comparison: two results equal within its tolerance give no difference,
// one just past it gives one naming where, a changed verdict gives one naming the verdict, and the
// display sentences are never compared.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "analysis/alpha_to_coverage/alpha_to_coverage_comparison.h"
#include "analysis/antialias_off/antialias_off_comparison.h"
#include "analysis/centroid/centroid_comparison.h"
#include "analysis/positions/positions_comparison.h"
#include "analysis/resolve/resolve_comparison.h"
#include "support/measurement_results.h"

namespace {

using namespace test_support;

template <typename T>
struct Case {
    const char* name;
    std::function<void(T* was, T* now)> change;
    std::vector<std::string> expected;  // "location: text", or the location alone
};

// Runs each case on two copies of base; an expected entry with ": " is matched in full.
template <typename T>
void Check(const T& base, void (*compare)(const T&, const T&, DifferenceList*), const std::vector<Case<T>>& cases) {
    for (const Case<T>& c : cases) {
        T was = base, now = base;
        c.change(&was, &now);
        DifferenceList differences;
        compare(was, now, &differences);
        std::vector<std::string> found;
        for (size_t i = 0; i < differences.Size(); ++i) {
            const MeasurementDifference& d = differences.Items()[i];
            const bool full = i < c.expected.size() && c.expected[i].find(": ") != std::string::npos;
            found.push_back(full ? d.location + ": " + d.text : d.location);
        }
        EXPECT_EQ(c.expected, found) << c.name;
    }
}

TEST(MeasurementComparison, PositionsAgreeWhereTheIntervalsOverlap) {
    Check<SampleMeasurement>(SomePositions(), ComparePositions, {
        {"the same", [](SampleMeasurement*, SampleMeasurement*) {}, {}},
        {"overlapping", [](SampleMeasurement*, SampleMeasurement* m) { m->samples[1].x = IntervalAxis(22.0 / 64, 24.0 / 64); }, {}},
        {"beside", [](SampleMeasurement*, SampleMeasurement* m) { m->samples[1].x = IntervalAxis(23.0 / 64, 25.0 / 64); },
         {"sample 1 (mask bit 1) x: was [0.3281, 0.3594) now [0.3594, 0.3906)"}},
        {"moved", [](SampleMeasurement*, SampleMeasurement* m) { m->samples[2] = ExactSample(2, 2, 12); },
         {"sample 2 (mask bit 2) y: was 10/16 [0.5938, 0.6562) now 12/16 [0.7188, 0.7812)"}},
        {"verdict", [](SampleMeasurement*, SampleMeasurement* m) { m->standardPattern = false; }, {"verdicts.standardPattern"}},
        {"verdict gone", [](SampleMeasurement*, SampleMeasurement* m) { m->maskOrderStandard.reset(); },
         {"verdicts.maskOrderStandard: was false now none"}},
        {"texture kind", [](SampleMeasurement*, SampleMeasurement* m) { m->textureSampling = TextureSampling::OncePerPixel; },
         {"textureSampling.kind: was \"perSample\" now \"oncePerPixel\""}},
        {"texture position", [](SampleMeasurement*, SampleMeasurement* m) { m->texturePositions[1] = ExactSample(-1, 12, 6); },
         {"textureSampling.position 1 x"}},
        {"quad", [](SampleMeasurement*, SampleMeasurement* m) { m->quads[0].samples[0] = ExactSample(0, 9, 2); },
         {"quad (1, 0) sample 0 (mask bit 0) x"}},
        {"a sample fewer", [](SampleMeasurement*, SampleMeasurement* m) { m->samples.pop_back(); },
         {"samples: was 4 entries now 3"}},
    });
}

TEST(MeasurementComparison, ResolveAgreesWithinAReadBackStepAndTheFootprintWithinAStepPerSample) {
    Check<ResolveMeasurement>(SomeResolve(), CompareResolve, {
        {"the same", [](ResolveMeasurement*, ResolveMeasurement*) {}, {}},
        {"a step", [](ResolveMeasurement*, ResolveMeasurement* m) { m->transfer.curve.ladder[2].value += 1; }, {}},
        {"two steps", [](ResolveMeasurement*, ResolveMeasurement* m) { m->transfer.curve.ladder[2].value += 2; },
         {"transfer.ladder[2].value: was 512 now 514"}},
        {"sRGB grey", [](ResolveMeasurement*, ResolveMeasurement* m) { m->transfer.srgbWrite.curve.grey[1].value -= 2; },
         {"transfer.srgbWrite.grey[1].value"}},
        {"alpha a step of its own", [](ResolveMeasurement*, ResolveMeasurement* m) { m->transfer.alpha.curve.ladder[3].value = 3; }, {}},
        {"alpha two", [](ResolveMeasurement*, ResolveMeasurement* m) { m->transfer.alpha.curve.ladder[1].value = 3; },
         {"transfer.alpha.ladder[1].value"}},
        // The same light in finer steps: the scale alone differs.
        {"scale", [](ResolveMeasurement* was, ResolveMeasurement* m) {
             was->transfer.curve.grey.clear();
             m->transfer.curve.grey.clear();
             m->transfer.valueScale = 255;
             m->transfer.curve.ladder = Ladder({0, 64, 128, 191, 255});
             m->transfer.srgbWrite.tried = was->transfer.srgbWrite.tried = false;
         },
         {"transfer.valueScale: was 1023 now 255"}},
        {"verdict", [](ResolveMeasurement*, ResolveMeasurement* m) { m->transfer.curve.verdict = TransferVerdict::Linear; },
         {"transfer.verdict: was \"stored\" now \"linear\""}},
        {"caps answer", [](ResolveMeasurement*, ResolveMeasurement* m) { m->transfer.srgbWrite.capsAnswer = 0; },
         {"transfer.srgbWrite.capsAnswer: was \"0x80004005\" now \"D3D_OK\""}},
        {"encoded", [](ResolveMeasurement*, ResolveMeasurement* m) { m->transfer.srgbWrite.writeEncoded = false; },
         {"transfer.srgbWrite.writeEncoded"}},
        {"sRGB not drawn", [](ResolveMeasurement*, ResolveMeasurement* m) { m->transfer.srgbWrite.tried = false; },
         {"transfer.srgbWrite"}},
        {"a step per sample", [](ResolveMeasurement*, ResolveMeasurement* m) { m->footprint.weights[2][2] += 4; }, {}},
        {"past it", [](ResolveMeasurement*, ResolveMeasurement* m) { m->footprint.weights[2][2] += 5; },
         {"footprint.weights[2][2]: was 900 now 905"}},
        {"footprint verdict", [](ResolveMeasurement*, ResolveMeasurement* m) { m->footprint.verdict = FootprintVerdict::Box; },
         {"footprint.verdict"}},
        {"an edge step", [](ResolveMeasurement*, ResolveMeasurement* m) { m->coverage.sweeps[0].changes[1] += kEdgeStep; }, {}},
        {"two edge steps", [](ResolveMeasurement*, ResolveMeasurement* m) { m->coverage.sweeps[0].changes[1] += 2 * kEdgeStep; },
         {"coverage.edgePositions[0].changes[1]: was 0.3828125 now 0.3984375"}},
        {"levels", [](ResolveMeasurement*, ResolveMeasurement* m) { m->coverage.levels = 5; }, {"coverage.levels"}},
        {"coverage verdict", [](ResolveMeasurement*, ResolveMeasurement* m) { m->coverage.verdict = CoverageVerdict::Equal; },
         {"coverage.verdict: was \"coverageMode\" now \"equal\""}},
    });
}

TEST(MeasurementComparison, AlphaToCoverageThresholdsAgreeWithinAnAlphaStep) {
    Check<AlphaToCoverageMeasurement>(SomeAlphaToCoverage(), CompareAlphaToCoverage, {
        {"the same", [](AlphaToCoverageMeasurement*, AlphaToCoverageMeasurement*) {}, {}},
        {"one", [](AlphaToCoverageMeasurement*, AlphaToCoverageMeasurement* m) { m->switches[0].thresholds[2][1][0] = 21; }, {}},
        {"two", [](AlphaToCoverageMeasurement*, AlphaToCoverageMeasurement* m) { m->switches[0].thresholds[2][1][0] = 22; },
         {"[0].thresholds[2][1][0]: was 20 now 22"}},
        {"covered at last", [](AlphaToCoverageMeasurement*, AlphaToCoverageMeasurement* m) { m->switches[0].thresholds[0][0][3] = 255; },
         {"[0].thresholds[0][0][3]: was none now 255"}},
        {"verdict", [](AlphaToCoverageMeasurement*, AlphaToCoverageMeasurement* m) { m->switches[0].verdict = AlphaToCoverageVerdict::Other; },
         {"[0].verdict: was \"dither\" now \"other\""}},
        {"dither size", [](AlphaToCoverageMeasurement*, AlphaToCoverageMeasurement* m) { m->switches[0].ditherWidth = 4; },
         {"[0].dither"}},
        {"offered", [](AlphaToCoverageMeasurement*, AlphaToCoverageMeasurement* m) { m->switches[1].offered = true; },
         {"[1].offered"}},
    });
}

TEST(MeasurementComparison, CentroidPointsAgreeWithinThePrecision) {
    Check<CentroidMeasurement>(SomeCentroid(), CompareCentroid, {
        {"the same", [](CentroidMeasurement*, CentroidMeasurement*) {}, {}},
        {"within", [](CentroidMeasurement*, CentroidMeasurement* m) { m->cases[0].evaluated.x += 10.0 / 1024; }, {}},
        // The larger precision of the two counts.
        {"within the later's", [](CentroidMeasurement*, CentroidMeasurement* m) {
             m->precision = 20.0 / 1024;
             m->cases[0].evaluated.x += 19.0 / 1024;
         }, {}},
        {"past it", [](CentroidMeasurement*, CentroidMeasurement* m) { m->cases[0].plain.y += 12.0 / 1024; },
         {"cases[0].withoutCentroid.y"}},
        {"matched sample", [](CentroidMeasurement*, CentroidMeasurement* m) { m->cases[0].atSample = 2; }, {"cases[0].atSample"}},
        {"verdict", [](CentroidMeasurement*, CentroidMeasurement* m) {
             m->verdict = CentroidVerdict::Centroid;
             m->coveredSampleRule.clear();
         }, {"verdict: was \"coveredSample\" now \"centroid\""}},
        {"rule", [](CentroidMeasurement*, CentroidMeasurement* m) { m->coveredSampleRule = "which one varies"; },
         {"coveredSampleRule"}},
        {"reason", [](CentroidMeasurement* was, CentroidMeasurement* m) {
             was->verdict = m->verdict = CentroidVerdict::Unavailable;
             m->unavailableReason = "no sample positions";
         }, {"unavailableReason"}},
    });
}

TEST(MeasurementComparison, MultisamplingOffComparesItsVerdictAndItsPositionsByInterval) {
    Check<AntialiasOffMeasurement>(SomeAntialiasOff(), CompareAntialiasOff, {
        {"the same", [](AntialiasOffMeasurement*, AntialiasOffMeasurement*) {}, {}},
        {"overlapping", [](AntialiasOffMeasurement*, AntialiasOffMeasurement* m) { m->positions.samples[1].x = ExactAxis(5); }, {}},
        {"beside", [](AntialiasOffMeasurement*, AntialiasOffMeasurement* m) { m->positions.samples[1].x = ExactAxis(8); },
         {"sample 1 (mask bit 1) x"}},
        {"verdict", [](AntialiasOffMeasurement*, AntialiasOffMeasurement* m) { m->verdict = AntialiasOffVerdict::Centre; },
         {"verdict: was \"unchanged\" now \"centre\""}},
    });
}

}  // namespace
