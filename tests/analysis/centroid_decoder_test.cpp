// The centroid decoder and the triangles it places, on the standard 4-sample pattern: evaluated
// points at the centroid of the covered samples, at a covered sample, at the centre, or mixed.
#include "analysis/centroid/centroid_decoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "analysis/antialias_off/antialias_off_decoder.h"
#include "support/measurement_builders.h"

namespace {

using test_support::ExactSample;

std::vector<SamplePosition> Standard4() { return test_support::StandardFourSamples(); }

int Bits(unsigned mask) {
    int count = 0;
    for (; mask != 0; mask &= mask - 1) ++count;
    return count;
}

// A measurement of the edges ChooseCoveringEdges places, each evaluated where at() says.
// bias moves every evaluation, the plain one too, as an implementation interpolating about a point
// off the centre does.
CentroidMeasurement Evaluated(const std::function<PixelPoint(unsigned covered)>& at, double bias = 0.0,
                              double precision = 0.01) {
    CentroidMeasurement m;
    m.samples = Standard4();
    m.precision = precision;
    m.verdict = CentroidVerdict::Other;
    for (const CoveringEdge& edge : ChooseCoveringEdges(m.samples)) {
        CentroidCase c;
        c.intended = c.covered = edge.covers;
        c.centreCovered = edge.centreInside;
        // Off by most of the tolerance, as a read-back may be.
        c.evaluated = at(edge.covers);
        c.evaluated.x += 0.015 + bias;
        c.evaluated.y += bias;
        c.plain = PixelPoint{0.5 + bias, 0.5 + bias};
        m.cases.push_back(c);
    }
    return m;
}

PixelPoint Mean(unsigned covered) {
    PixelPoint sum;
    for (const SamplePosition& s : Standard4()) {
        if (covered >> s.maskBit & 1u) {
            sum.x += s.x.sixteenths / 16.0 / Bits(covered);
            sum.y += s.y.sixteenths / 16.0 / Bits(covered);
        }
    }
    return sum;
}

PixelPoint LowestCovered(unsigned covered) {
    for (const SamplePosition& s : Standard4()) {
        if (covered >> s.maskBit & 1u) return PixelPoint{s.x.sixteenths / 16.0, s.y.sixteenths / 16.0};
    }
    return PixelPoint{};
}

TEST(CentroidDecoder, EdgesCoverOneTwoAndThreeSamplesWithTheCandidatesApart) {
    const std::vector<CoveringEdge> edges = ChooseCoveringEdges(Standard4());
    ASSERT_EQ(3u, edges.size());
    bool centreOutside = false;
    for (size_t k = 0; k < edges.size(); ++k) {
        const CoveringEdge& e = edges[k];
        EXPECT_EQ(static_cast<int>(k + 1), Bits(e.covers));
        // The covered samples are inside the half-plane by a margin, the others outside.
        for (const SamplePosition& s : Standard4()) {
            const PixelPoint p = SamplePoint(s);
            const double side = e.nx * p.x + e.ny * p.y - e.offset;
            EXPECT_GT(std::fabs(side), 1.0 / 64) << "sample " << s.maskBit;
            EXPECT_EQ((e.covers >> s.maskBit & 1u) != 0, side > 0) << "sample " << s.maskBit;
        }
        // Two covered samples whose centroid is the pixel centre would tell nothing.
        const PixelPoint centroid = Mean(e.covers);
        if (k > 0) {
            EXPECT_GT(std::hypot(centroid.x - 0.5, centroid.y - 0.5), 1.0 / 16);
        }
        centreOutside = centreOutside || !e.centreInside;
    }
    EXPECT_TRUE(centreOutside);
    EXPECT_TRUE(ChooseCoveringEdges({ExactSample(-1, 8, 8, 4)}).empty());
}

TEST(CentroidDecoder, TheVerdictNamesWhereEveryCaseWasEvaluated) {
    struct Case {
        const char* name;
        std::function<PixelPoint(unsigned)> at;
        CentroidVerdict verdict;
        const char* text;
        double bias;
        double precision;
    };
    const Case cases[] = {
        {"centroid", Mean, CentroidVerdict::Centroid, "honoured: at the centroid of the covered samples", 0, 0.01},
        {"lowest", LowestCovered, CentroidVerdict::CoveredSample,
         "honoured: at a covered sample (the lowest covered mask bit)", 0, 0.01},
        {"centre", [](unsigned) { return PixelPoint{0.5, 0.5}; }, CentroidVerdict::Centre,
         "ignored: at the pixel centre", 0, 0.01},
        // The centre where it is covered, the centroid elsewhere: no one rule.
        {"mixed", [](unsigned covered) { return Bits(covered) == 3 ? PixelPoint{0.5, 0.5} : Mean(covered); },
         CentroidVerdict::Other, "elsewhere: not at the centroid, a covered sample or the pixel centre", 0, 0.01},
        // DXVK interpolates about a point 1/128 pixel right of and below the centre, plain and
        // centroid alike: still its lowest covered sample.
        {"lowest, off-centre", LowestCovered, CentroidVerdict::CoveredSample,
         "honoured: at a covered sample (the lowest covered mask bit)", 1.0 / 128, 0.01},
        // A 4-bit channel cannot tell a sample from the centre: no verdict rather than "ignored".
        {"4-bit read-back", LowestCovered, CentroidVerdict::Unavailable,
         "not measured: the read-back is too coarse to tell the sample positions apart (points to within 86/256 pixel)",
         0, 0.167},
    };
    for (const Case& c : cases) {
        CentroidMeasurement m = Evaluated(c.at, c.bias, c.precision);
        DecodeCentroid(&m);
        EXPECT_EQ(c.verdict, m.verdict) << c.name;
        EXPECT_EQ(c.text, CentroidVerdictText(m)) << c.name;
    }
    CentroidMeasurement lowest = Evaluated(LowestCovered);
    DecodeCentroid(&lowest);
    for (const CentroidCase& c : lowest.cases) {
        EXPECT_EQ(c.covered & (0u - c.covered), 1u << c.atSample) << "the lowest covered bit";
    }
}

TEST(CentroidDecoder, ASampleCoveredOtherThanIntendedIsNoVerdict) {
    CentroidMeasurement m = Evaluated(Mean);
    m.cases[1].covered |= 1u;
    DecodeCentroid(&m);
    EXPECT_EQ(CentroidVerdict::Other, m.verdict);
    CentroidMeasurement none;
    none.unavailableReason = "one sample per pixel";
    DecodeCentroid(&none);
    EXPECT_EQ("not measured: one sample per pixel", CentroidVerdictText(none));
}

TEST(AntialiasOffDecoder, CentreUnchangedOrOther) {
    SampleMeasurement usual;
    usual.samples = Standard4();
    struct Case {
        std::vector<SamplePosition> off;
        AntialiasOffVerdict verdict;
    };
    const Case cases[] = {
        {{ExactSample(0, 8, 8, 4), ExactSample(1, 8, 8, 4), ExactSample(2, 8, 8, 4), ExactSample(3, 8, 8, 4)},
         AntialiasOffVerdict::Centre},
        {Standard4(), AntialiasOffVerdict::Unchanged},
        {{ExactSample(0, 8, 8), ExactSample(1, 14, 6)}, AntialiasOffVerdict::Other},
    };
    for (const Case& c : cases) {
        AntialiasOffMeasurement m;
        m.positions.samples = c.off;
        DecodeAntialiasOff(usual, &m);
        EXPECT_EQ(c.verdict, m.verdict) << AntialiasOffVerdictText(m);
    }
    // One sample at the centre with it on: off cannot look different, so no verdict is guessed.
    usual.samples = {ExactSample(-1, 8, 8)};
    AntialiasOffMeasurement alike;
    alike.positions.samples = usual.samples;
    DecodeAntialiasOff(usual, &alike);
    EXPECT_EQ(AntialiasOffVerdict::NotMeasured, alike.verdict);
    EXPECT_NE(AntialiasOffVerdictText(alike).find("look alike"), std::string::npos);
}

}  // namespace
