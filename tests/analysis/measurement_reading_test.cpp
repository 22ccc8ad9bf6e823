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

// Written again the same, every written field came back; what remains to see is that a value comes
// back rounded as written, that what is derived on reading is right, and what is not written is
// at its default.
TEST(MeasurementReading, RoundedValuesComeBackRoundedDerivedOnesDerivedAndTheRestAtTheirDefaults) {
    const SampleMeasurement positions = ReadBack(SomePositions());
    EXPECT_EQ(21.0 / 64, positions.samples[1].x.low);
    EXPECT_EQ(23.0 / 64, positions.samples[1].x.high);

    ResolveMeasurement written = SomeResolve();
    written.milliseconds = 12;
    written.footprint.perSample.resize(4);
    written.transfer.curve.referencesAlike = true;
    const ResolveMeasurement resolve = ReadBack(written);
    EXPECT_EQ(4, resolve.transfer.colourSamples);  // the fully covered rung's count
    EXPECT_EQ(4, resolve.footprint.colourSamples);
    EXPECT_TRUE(resolve.footprint.perSample.empty());
    EXPECT_FALSE(resolve.transfer.curve.referencesAlike);
    EXPECT_EQ(0.0, resolve.milliseconds);

    CentroidMeasurement centroid = SomeCentroid();
    centroid.cases[1].evaluated.x = 0.5 + 1e-5;
    centroid.precision = 10.2 / 1024;
    const CentroidMeasurement read = ReadBack(centroid);
    EXPECT_EQ(0.5, read.cases[1].evaluated.x);
    EXPECT_EQ(11.0 / 1024, read.precision);  // rounded up
    EXPECT_EQ("the lowest covered mask bit", read.coveredSampleRule);  // from the cases
    centroid.verdict = CentroidVerdict::Unavailable;
    EXPECT_EQ("one sample per pixel", ReadBack(centroid).unavailableReason);
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
