// Every measurement read back from the JSON it writes: the same result for all that the JSON
// holds (written again, the same JSON), interval ends and points as the writer rounded them,
// every verdict by its name, the fields the JSON leaves out at their defaults.
#include <gtest/gtest.h>

#include <stdexcept>

#include "analysis/alpha_to_coverage/alpha_to_coverage_json.h"
#include "analysis/antialias_off/antialias_off_json.h"
#include "analysis/centroid/centroid_json.h"
#include "analysis/positions/positions_json.h"
#include "analysis/resolve/resolve_json.h"
#include "support/measurement_results.h"

namespace {

using nlohmann::json;
using namespace test_support;

template <typename T>
T ReadBack(const T& result) {
    return json(result).get<T>();
}

// Written, read back and written again: the same JSON, so nothing it holds was lost or moved.
template <typename T>
void ExpectSameJsonAgain(const T& result, const std::string& what) {
    EXPECT_EQ(json(result).dump(), json(ReadBack(result)).dump()) << what;
}

TEST(MeasurementReading, EachFamilyWithEveryVerdictReadsBackToWhatItWrote) {
    for (TextureSampling kind : {TextureSampling::NotMeasured, TextureSampling::OncePerPixel, TextureSampling::PerSample}) {
        SampleMeasurement m = SomePositions();
        m.textureSampling = kind;
        ExpectSameJsonAgain(m, "positions " + json(m)["textureSampling"]["kind"].dump());
        EXPECT_EQ(kind, ReadBack(m).textureSampling);
    }
    for (TransferVerdict verdict : {TransferVerdict::NotMeasured, TransferVerdict::Stored, TransferVerdict::Linear,
                                    TransferVerdict::Other}) {
        ResolveMeasurement m = SomeResolve();
        m.transfer.curve.verdict = m.transfer.srgbWrite.curve.verdict = m.transfer.alpha.curve.verdict = verdict;
        ExpectSameJsonAgain(m, "transfer " + std::to_string(static_cast<int>(verdict)));
        const ResolveMeasurement read = ReadBack(m);
        EXPECT_EQ(verdict, read.transfer.curve.verdict);
        EXPECT_EQ(verdict, read.transfer.srgbWrite.curve.verdict);
        EXPECT_EQ(verdict, read.transfer.alpha.curve.verdict);
    }
    for (FootprintVerdict verdict : {FootprintVerdict::NotMeasured, FootprintVerdict::Box, FootprintVerdict::Wider}) {
        ResolveMeasurement m = SomeResolve();
        m.footprint.verdict = verdict;
        ExpectSameJsonAgain(m, "footprint");
        EXPECT_EQ(verdict, ReadBack(m).footprint.verdict);
    }
    for (CoverageVerdict verdict : {CoverageVerdict::NotMeasured, CoverageVerdict::Equal, CoverageVerdict::CoverageMode,
                                    CoverageVerdict::Fewer}) {
        ResolveMeasurement m = SomeResolve();
        m.coverage.verdict = verdict;
        ExpectSameJsonAgain(m, "coverage");
        EXPECT_EQ(verdict, ReadBack(m).coverage.verdict);
    }
    for (AlphaToCoverageVerdict verdict : {AlphaToCoverageVerdict::NotOffered, AlphaToCoverageVerdict::NotApplied,
                                           AlphaToCoverageVerdict::Thresholds, AlphaToCoverageVerdict::Dither,
                                           AlphaToCoverageVerdict::Other}) {
        AlphaToCoverageMeasurement m = SomeAlphaToCoverage();
        m.switches[0].verdict = verdict;
        ExpectSameJsonAgain(m, "alpha to coverage");
        EXPECT_EQ(verdict, ReadBack(m).switches[0].verdict);
    }
    for (CentroidVerdict verdict : {CentroidVerdict::Unavailable, CentroidVerdict::Centroid, CentroidVerdict::CoveredSample,
                                    CentroidVerdict::Centre, CentroidVerdict::Other}) {
        CentroidMeasurement m = SomeCentroid();
        m.verdict = verdict;
        ExpectSameJsonAgain(m, "centroid");
        EXPECT_EQ(verdict, ReadBack(m).verdict);
    }
    for (AntialiasOffVerdict verdict : {AntialiasOffVerdict::NotMeasured, AntialiasOffVerdict::Centre,
                                        AntialiasOffVerdict::Unchanged, AntialiasOffVerdict::Other}) {
        AntialiasOffMeasurement m = SomeAntialiasOff();
        m.verdict = verdict;
        ExpectSameJsonAgain(m, "multisampling off");
        EXPECT_EQ(verdict, ReadBack(m).verdict);
    }
}

TEST(MeasurementReading, ValuesComeBackAsWrittenAndWhatIsNotWrittenAtItsDefault) {
    const SampleMeasurement positions = ReadBack(SomePositions());
    ASSERT_EQ(4u, positions.samples.size());
    EXPECT_EQ(21.0 / 64, positions.samples[1].x.low);  // rounded to the measuring step
    EXPECT_EQ(23.0 / 64, positions.samples[1].x.high);
    EXPECT_FALSE(positions.samples[1].x.exact);
    EXPECT_EQ(6, positions.samples[1].y.sixteenths);
    EXPECT_EQ(-1, positions.samples[3].maskBit);
    EXPECT_EQ(2, positions.samples[3].count);
    EXPECT_EQ(std::optional<bool>(false), positions.maskOrderStandard);
    EXPECT_FALSE(positions.picturesConsistent);
    ASSERT_EQ(1u, positions.quads.size());
    EXPECT_EQ(7, positions.quads[0].samples[0].x.sixteenths);

    ResolveMeasurement written = SomeResolve();
    written.milliseconds = 12;
    written.footprint.perSample.resize(4);
    const ResolveMeasurement resolve = ReadBack(written);
    EXPECT_EQ(1023, resolve.transfer.valueScale);
    EXPECT_EQ(514, resolve.transfer.greyDrawn);
    EXPECT_EQ(4, resolve.transfer.colourSamples);  // the fully covered rung's count
    EXPECT_EQ(static_cast<long>(0x80004005), resolve.transfer.srgbWrite.capsAnswer);
    EXPECT_EQ(3, resolve.transfer.alpha.valueScale);
    EXPECT_EQ(1023, resolve.footprint.valueScale);
    EXPECT_EQ(4, resolve.footprint.colourSamples);
    EXPECT_EQ(124, resolve.footprint.weights[2][3]);
    EXPECT_TRUE(resolve.footprint.perSample.empty());
    EXPECT_EQ(0.0, resolve.milliseconds);
    EXPECT_EQ(0.9701425001453319, resolve.coverage.sweeps[0].normalY);
    EXPECT_EQ(49 * kEdgeStep, resolve.coverage.sweeps[0].changes[1]);

    const AlphaToCoverageMeasurement alpha = ReadBack(SomeAlphaToCoverage());
    EXPECT_EQ(kNeverCovered, alpha.switches[0].thresholds[0][0][3]);
    EXPECT_EQ(250, alpha.switches[0].thresholds[2][1][3]);
    EXPECT_EQ(4, alpha.switches[0].ditherHeight);
    EXPECT_EQ(CoverageSwitch::A2m1, alpha.switches[1].coverageSwitch);

    const CentroidMeasurement centroid = ReadBack(SomeCentroid());
    EXPECT_EQ(11.0 / 1024, centroid.precision);
    EXPECT_EQ(0x6u, centroid.cases[0].covered);
    EXPECT_EQ(1, centroid.cases[0].atSample);
    EXPECT_EQ(-1, centroid.cases[1].atSample);
    EXPECT_EQ(517.0 / 1024, centroid.cases[1].evaluated.x);
    EXPECT_EQ("the lowest covered mask bit", centroid.coveredSampleRule);  // from the cases
    CentroidMeasurement unavailable = SomeCentroid();
    unavailable.verdict = CentroidVerdict::Unavailable;
    EXPECT_EQ("one sample per pixel", ReadBack(unavailable).unavailableReason);

    const AntialiasOffMeasurement off = ReadBack(SomeAntialiasOff());
    ASSERT_EQ(2u, off.positions.samples.size());
    EXPECT_EQ(0.375, off.positions.samples[1].x.high);
}

TEST(MeasurementReading, ANameNoVerdictHasIsRefused) {
    json centroid = json(SomeCentroid());
    centroid["verdict"] = "sideways";
    EXPECT_THROW(centroid.get<CentroidMeasurement>(), std::invalid_argument);
    json resolve = json(SomeResolve());
    resolve["footprint"].erase("weights");
    EXPECT_THROW(resolve.get<ResolveMeasurement>(), json::exception);
}

}  // namespace
