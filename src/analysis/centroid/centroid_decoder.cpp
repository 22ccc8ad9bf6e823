// An edge is picked by trying directions every 1/128 of a turn: along each, the samples sorted by
// their projection split into the k farthest and the rest, and the edge runs midway through the
// gap. The verdict holds only where every case agrees; a case whose candidates coincide (one
// covered sample is its own centroid) matches each of them.
#include "analysis/centroid/centroid_decoder.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kDirections = 128;

double Distance(const PixelPoint& a, const PixelPoint& b) { return std::hypot(a.x - b.x, a.y - b.y); }

PixelPoint Centroid(const std::vector<SamplePosition>& samples, unsigned mask) {
    PixelPoint sum;
    int count = 0;
    for (const SamplePosition& sample : samples) {
        if (sample.maskBit < 0 || !(mask >> sample.maskBit & 1u)) continue;
        const PixelPoint p = SamplePoint(sample);
        sum.x += p.x;
        sum.y += p.y;
        ++count;
    }
    if (count > 0) {
        sum.x /= count;
        sum.y /= count;
    }
    return sum;
}

// The smallest distance between the points a verdict must tell apart for this edge: the
// centroid, the centre and each covered sample (the centroid of one sample is that sample).
double Separation(const std::vector<SamplePosition>& samples, unsigned covers, int count) {
    std::vector<PixelPoint> points = {PixelPoint{0.5, 0.5}};
    if (count > 1) points.push_back(Centroid(samples, covers));
    for (const SamplePosition& sample : samples) {
        if (covers >> sample.maskBit & 1u) points.push_back(SamplePoint(sample));
    }
    double smallest = 1.0;
    for (size_t i = 0; i < points.size(); ++i) {
        for (size_t j = i + 1; j < points.size(); ++j) {
            smallest = std::min(smallest, Distance(points[i], points[j]));
        }
    }
    return smallest;
}

CoveringEdge BestEdge(const std::vector<SamplePosition>& samples, int count) {
    CoveringEdge best;
    double bestScore = -1.0;
    for (int d = 0; d < kDirections; ++d) {
        // Half a step off the axes, so that no direction is exactly parallel to a lattice row.
        const double angle = 2.0 * kPi * (d + 0.5) / kDirections;
        CoveringEdge edge;
        edge.nx = std::cos(angle);
        edge.ny = std::sin(angle);
        std::vector<std::pair<double, int>> projected;
        for (const SamplePosition& sample : samples) {
            const PixelPoint p = SamplePoint(sample);
            projected.push_back({p.x * edge.nx + p.y * edge.ny, sample.maskBit});
        }
        std::sort(projected.rbegin(), projected.rend());
        const double gap = projected[count - 1].first - projected[count].first;
        edge.offset = (projected[count - 1].first + projected[count].first) / 2.0;
        for (int k = 0; k < count; ++k) edge.covers |= 1u << projected[k].second;
        const double centre = 0.5 * edge.nx + 0.5 * edge.ny - edge.offset;
        edge.centreInside = centre > 0.0;
        // The edge's margin to the nearest sample and to the centre (so that whether the centre
        // is inside is not in doubt), and how far apart the candidates lie.
        const double score = std::min({gap / 2.0, std::fabs(centre), Separation(samples, edge.covers, count)});
        if (score > bestScore + 1e-9) {
            bestScore = score;
            best = edge;
        }
    }
    return best;
}

}  // namespace

PixelPoint SamplePoint(const SamplePosition& sample) {
    const auto axis = [](const AxisPosition& a) {
        return a.exact ? a.sixteenths / 16.0 : (a.low + a.high) / 2.0;
    };
    return PixelPoint{axis(sample.x), axis(sample.y)};
}

std::vector<CoveringEdge> ChooseCoveringEdges(const std::vector<SamplePosition>& samples) {
    std::vector<CoveringEdge> edges;
    const int total = static_cast<int>(samples.size());
    for (const SamplePosition& sample : samples) {
        if (sample.maskBit < 0 || sample.maskBit >= 32) return edges;
    }
    std::vector<int> counts;
    for (int count : {1, 2, 3, total - 1}) {
        if (count >= 1 && count < total && std::find(counts.begin(), counts.end(), count) == counts.end()) {
            counts.push_back(count);
        }
    }
    for (int count : counts) edges.push_back(BestEdge(samples, count));
    return edges;
}

void DecodeCentroid(CentroidMeasurement* m) {
    if (m->verdict == CentroidVerdict::Unavailable && !m->unavailableReason.empty()) return;
    if (m->cases.empty()) {
        m->verdict = CentroidVerdict::Unavailable;
        return;
    }
    // Twice the read-back's precision: the sample positions the candidates are made of are exact
    // to well under that, and a candidate closer than 1/16 to another is not a case (see above).
    const double tolerance = std::max(2.0 * m->precision, 1.0 / 128.0);
    const PixelPoint centre{0.5, 0.5};
    // A read-back too coarse to tell the candidates of a case apart decides nothing: a 4-bit
    // channel would put every point at the centre.
    for (const CentroidCase& c : m->cases) {
        std::vector<PixelPoint> candidates = {centre, Centroid(m->samples, c.covered)};
        for (const SamplePosition& sample : m->samples) {
            if (c.covered >> sample.maskBit & 1u) candidates.push_back(SamplePoint(sample));
        }
        for (size_t i = 0; i < candidates.size(); ++i) {
            for (size_t j = i + 1; j < candidates.size(); ++j) {
                const double apart = Distance(candidates[i], candidates[j]);
                if (apart > 1e-9 && apart <= 2.0 * tolerance) {
                    m->verdict = CentroidVerdict::Unavailable;
                    m->unavailableReason = "the read-back is too coarse to tell the sample positions apart (points "
                                           "to within " + std::to_string(static_cast<int>(std::ceil(tolerance * 256))) +
                                           "/256 pixel)";
                    return;
                }
            }
        }
    }
    bool allCentroid = true;
    bool allCentre = true;
    bool allSample = true;
    for (CentroidCase& c : m->cases) {
        // Some implementations interpolate about a point a little off the pixel's centre (DXVK:
        // 1/128 pixel right and down, the same bias that places its pixels): where the plain
        // evaluation lies that near the centre, every point is taken relative to it.
        PixelPoint evaluated = c.evaluated;
        if (Distance(c.plain, centre) <= 1.0 / 32.0) {
            evaluated.x -= c.plain.x - centre.x;
            evaluated.y -= c.plain.y - centre.y;
        }
        c.atCentroid = Distance(evaluated, Centroid(m->samples, c.covered)) <= tolerance;
        c.atCentre = Distance(evaluated, centre) <= tolerance;
        c.atSample = -1;
        for (const SamplePosition& sample : m->samples) {
            if ((c.covered >> sample.maskBit & 1u) &&
                Distance(evaluated, SamplePoint(sample)) <= tolerance) {
                c.atSample = sample.maskBit;
            }
        }
        const bool agree = c.covered != 0 && c.covered == c.intended;
        allCentroid = allCentroid && agree && c.atCentroid;
        allCentre = allCentre && agree && c.atCentre;
        allSample = allSample && agree && c.atSample >= 0;
    }
    m->coveredSampleRule.clear();
    if (allCentre) {
        m->verdict = CentroidVerdict::Centre;
    } else if (allCentroid) {
        m->verdict = CentroidVerdict::Centroid;
    } else if (allSample) {
        m->verdict = CentroidVerdict::CoveredSample;
        m->coveredSampleRule = CoveredSampleRule(m->cases);
    } else {
        m->verdict = CentroidVerdict::Other;
    }
}
