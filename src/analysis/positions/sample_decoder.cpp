// Decoding works one axis at a time. Along x, the N points of a tile sit 1 + 1/N pixels apart, so
// a sample at s inside its pixel is covered in exactly those tile pixels whose point spans it. As s
// moves across the pixel, that set of lit pixels changes only where s crosses a point edge (taken
// modulo one pixel); between two such edges it is fixed. So every interval between neighbouring
// edges predicts one set of lit columns, and the observed columns name the interval the sample
// lies in. A sample's picture is the product of its column set and its row set; a picture of
// several samples is a sum of such boxes, taken apart by a small exact search.
#include "analysis/positions/sample_decoder.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <tuple>

#include "analysis/positions/standard_sample_patterns.h"

namespace {

// Edges closer than this (in pixels) are one edge: well below any float error that matters.
constexpr double kSameEdge = 1e-7;

// The points of one axis of a tile: point r spans [firstLeft + r pitch, ... + width), in pixels
// from the left (top) edge of the tile's first pixel, as the rasteriser sees them.
struct Lattice {
    double firstLeft = 0.0;
    double width = 0.0;
    double pitch = 1.0;
    int count = 0;
};

// Where the viewer's point grid puts its squares: centre of point i at i + i/N + origin.
Lattice GeometryLattice(const ProbePattern& pattern, bool vertical) {
    const float offset = vertical ? pattern.geometryOffsetY : pattern.geometryOffsetX;
    // The same float sum the grid is written with.
    const float origin = offset + 0.53125f;
    const double tileOrigin = vertical ? pattern.tileOriginY : pattern.tileOriginX;
    const double n = pattern.gridSize;
    Lattice lattice;
    lattice.width = static_cast<double>(pattern.pointSize);
    lattice.firstLeft = static_cast<double>(origin) - lattice.width * 0.5 - tileOrigin;
    lattice.pitch = 1.0 + 1.0 / n;
    lattice.count = pattern.gridSize;
    return lattice;
}

// The textured quad maps N + 1 units onto N repeats of the texture; repeat r is opaque where its
// coordinate lies in the white square's texels [a, a + side) of 256.
Lattice TextureLattice(const ProbePattern& pattern, bool vertical) {
    const double offset = vertical ? pattern.textureOffsetY : pattern.textureOffsetX;
    const double tileOrigin = vertical ? pattern.tileOriginY : pattern.tileOriginX;
    const int side = static_cast<int>(pattern.pointSize * 256.0f + 0.5f);
    const int first = 128 - side / 2;
    const double n = pattern.gridSize;
    const double unitsPerRepeat = (n + 1.0) / n;
    Lattice lattice;
    lattice.firstLeft = (first / 256.0 - offset) * unitsPerRepeat - tileOrigin;
    lattice.width = side / 256.0 * unitsPerRepeat;
    lattice.pitch = unitsPerRepeat;
    lattice.count = pattern.gridSize;
    return lattice;
}

double Fraction(double value) { return value - std::floor(value); }

// One interval of sample positions (raw, as the rasteriser places them) and the tile pixels
// lit along this axis by a sample anywhere inside it.
struct Candidate {
    double low = 0.0;   // in [0, 1)
    double high = 0.0;  // may pass 1: the interval wraps past the pixel's far edge
    std::vector<std::uint8_t> lit;  // tile pixels 0 .. N
    std::vector<int> pixels;        // the lit ones
};

std::vector<std::uint8_t> LitPixels(const Lattice& lattice, int tilePixels, double sample) {
    std::vector<std::uint8_t> lit(static_cast<size_t>(tilePixels), 0);
    for (int r = 0; r < lattice.count; ++r) {
        const double left = lattice.firstLeft + r * lattice.pitch;
        // The one pixel whose sample could lie in [left, left + width): top-left rule.
        const double k = std::ceil(left - sample);
        if (k + sample < left + lattice.width && k >= 0 && k < tilePixels) {
            lit[static_cast<size_t>(k)] = 1;
        }
    }
    return lit;
}

std::vector<Candidate> AxisCandidates(const Lattice& lattice, int tilePixels) {
    std::vector<double> edges;
    for (int r = 0; r < lattice.count; ++r) {
        const double left = lattice.firstLeft + r * lattice.pitch;
        edges.push_back(Fraction(left));
        edges.push_back(Fraction(left + lattice.width));
    }
    std::sort(edges.begin(), edges.end());
    std::vector<double> unique;
    for (double edge : edges) {
        if (unique.empty() || edge - unique.back() > kSameEdge) unique.push_back(edge);
    }
    if (unique.size() > 1 && unique.front() + 1.0 - unique.back() <= kSameEdge) unique.pop_back();
    if (unique.empty()) unique.push_back(0.0);

    std::vector<Candidate> elementary;
    for (size_t m = 0; m < unique.size(); ++m) {
        Candidate candidate;
        candidate.low = unique[m];
        candidate.high = m + 1 < unique.size() ? unique[m + 1] : unique[0] + 1.0;
        candidate.lit = LitPixels(lattice, tilePixels, Fraction((candidate.low + candidate.high) / 2));
        elementary.push_back(std::move(candidate));
    }
    // Neighbours that light the same pixels cannot be told apart: they make one interval. Walk
    // the circle from an interval that differs from the one before it.
    const size_t total = elementary.size();
    size_t start = 0;
    while (start < total && elementary[start].lit == elementary[(start + total - 1) % total].lit) {
        ++start;
    }
    std::vector<Candidate> candidates;
    if (start == total) {
        elementary[0].high = elementary[0].low + 1.0;
        candidates.push_back(elementary[0]);
    } else {
        for (size_t step = 0; step < total; ++step) {
            const Candidate& next = elementary[(start + step) % total];
            const double shift = (start + step) % total < start ? 1.0 : 0.0;
            if (!candidates.empty() && candidates.back().lit == next.lit) {
                candidates.back().high = next.high + shift;
            } else {
                candidates.push_back(next);
                candidates.back().low += shift;
                candidates.back().high += shift;
            }
        }
        for (Candidate& candidate : candidates) {
            const double shift = std::floor(candidate.low);
            candidate.low -= shift;
            candidate.high -= shift;
        }
    }
    std::vector<Candidate> kept;
    for (Candidate& candidate : candidates) {
        for (int k = 0; k < tilePixels; ++k) {
            if (candidate.lit[static_cast<size_t>(k)]) candidate.pixels.push_back(k);
        }
        if (!candidate.pixels.empty()) kept.push_back(std::move(candidate));
    }
    return kept;
}

// A raw interval with the runtime's bias taken out, as the result reports it.
AxisPosition ReportedAxis(const Candidate& candidate, double correction) {
    AxisPosition axis;
    axis.low = candidate.low - correction;
    axis.high = candidate.high - correction;
    const double shift = std::floor(axis.low);
    axis.low -= shift;
    axis.high -= shift;
    if (axis.high > 1.0 + kSameEdge) {
        axis.low -= 1.0;
        axis.high -= 1.0;
    }
    // Exact when the interval holds one 1/16 step and no other.
    const int firstStep = static_cast<int>(std::ceil(axis.low * 16.0 - kSameEdge));
    const int lastStep = static_cast<int>(std::ceil(axis.high * 16.0 - kSameEdge)) - 1;
    if (firstStep == lastStep) {
        axis.exact = true;
        axis.sixteenths = (firstStep % 16 + 16) % 16;
    }
    return axis;
}

// Sample counts of one tile's pixels: a tile-sized map in which each pixel comes from whichever
// of the 2 x 2 tiles puts it at the requested parity within a 2x2 pixel quad.
struct CountMap {
    int side = 0;
    std::vector<int> counts;
    int& At(int x, int y) { return counts[static_cast<size_t>(y) * side + x]; }
};

// A map of one mask bit read where the resolve does not average: lit or not.
constexpr int kLitOnly = -1;

CountMap ParityMap(const IntensityImage& image, int gridSize, int parityX, int parityY,
                   int sampleCount) {
    CountMap map;
    map.side = gridSize + 1;
    map.counts.assign(static_cast<size_t>(map.side) * map.side, 0);
    const bool separable = (map.side % 2) == 1;
    for (int y = 0; y < map.side; ++y) {
        const int tileY = separable ? (parityY + y) & 1 : 0;
        for (int x = 0; x < map.side; ++x) {
            const int tileX = separable ? (parityX + x) & 1 : 0;
            const int px = tileX * map.side + x;
            const int py = tileY * map.side + y;
            if (px >= image.width || py >= image.height) continue;
            const float value = image.At(px, py);
            map.At(x, y) = sampleCount == kLitOnly
                               ? (value > 0.5f / 255.0f ? 1 : 0)
                               : static_cast<int>(std::lround(value * sampleCount));
        }
    }
    return map;
}

struct Box {
    int column = 0;  // x candidate
    int row = 0;     // y candidate
};

class BoxSearch {
public:
    BoxSearch(CountMap map, const std::vector<Candidate>& xs, const std::vector<Candidate>& ys)
        : map_(std::move(map)), xs_(xs), ys_(ys) {
        for (int a = 0; a < static_cast<int>(xs_.size()); ++a) {
            for (int b = 0; b < static_cast<int>(ys_.size()); ++b) {
                if (Fits({a, b})) boxes_.push_back({a, b});
            }
        }
    }

    bool Run(std::vector<Box>* found) {
        found_.clear();
        budget_ = 200000;
        const bool ok = Search(0);
        *found = found_;
        return ok;
    }

private:
    bool Fits(const Box& box) {
        for (int y : ys_[box.row].pixels) {
            for (int x : xs_[box.column].pixels) {
                if (map_.At(x, y) < 1) return false;
            }
        }
        return true;
    }

    void Add(const Box& box, int amount) {
        for (int y : ys_[box.row].pixels) {
            for (int x : xs_[box.column].pixels) map_.At(x, y) += amount;
        }
    }

    bool Search(int depth) {
        if (--budget_ < 0 || depth > 64) return false;
        int first = -1;
        for (size_t k = 0; k < map_.counts.size(); ++k) {
            if (map_.counts[k] < 0) return false;
            if (map_.counts[k] > 0 && first < 0) first = static_cast<int>(k);
        }
        if (first < 0) return true;
        const int x = first % map_.side;
        const int y = first / map_.side;
        // Some box of the answer covers the first lit pixel: try each that can.
        for (const Box& box : boxes_) {
            if (!xs_[box.column].lit[static_cast<size_t>(x)] ||
                !ys_[box.row].lit[static_cast<size_t>(y)] || !Fits(box)) {
                continue;
            }
            Add(box, -1);
            found_.push_back(box);
            if (Search(depth + 1)) return true;
            found_.pop_back();
            Add(box, 1);
        }
        return false;
    }

    CountMap map_;
    const std::vector<Candidate>& xs_;
    const std::vector<Candidate>& ys_;
    std::vector<Box> boxes_;
    std::vector<Box> found_;
    int budget_ = 0;
};

// A sample found in one map: its interval pair, the mask bit that drew the map and how many
// samples sit there.
struct Found {
    int bit = -1;
    int column = 0;
    int row = 0;
    int count = 1;

    bool operator==(const Found& other) const {
        return bit == other.bit && column == other.column && row == other.row &&
               count == other.count;
    }
};

// The samples of one map; false where the map is not a sum of whole point squares.
bool DecodeMap(const CountMap& map, const std::vector<Candidate>& xs,
               const std::vector<Candidate>& ys, int bit, std::vector<Found>* found) {
    BoxSearch search(map, xs, ys);
    std::vector<Box> boxes;
    const bool ok = search.Run(&boxes);
    std::sort(boxes.begin(), boxes.end(), [&](const Box& p, const Box& q) {
        return std::tie(ys[p.row].low, xs[p.column].low) < std::tie(ys[q.row].low, xs[q.column].low);
    });
    for (const Box& box : boxes) {
        if (!found->empty() && found->back().bit == bit && found->back().column == box.column &&
            found->back().row == box.row) {
            ++found->back().count;
        } else {
            found->push_back({bit, box.column, box.row, 1});
        }
    }
    return ok;
}

double Tolerance(const IntensityImage& image) {
    return image.levels > 0 ? 1.0 / image.levels : 1.0 / 1024.0;
}

// Every pixel lies on a multiple of 1/S of full intensity.
bool PlainAverage(const IntensityImage& image, int sampleCount) {
    const double tolerance = Tolerance(image);
    for (float value : image.values) {
        const double scaled = static_cast<double>(value) * sampleCount;
        if (std::fabs(scaled - std::round(scaled)) > tolerance * sampleCount) return false;
    }
    return true;
}

// The fewest samples whose averages explain every pixel, where the mask cannot tell.
int InferSampleCount(const IntensityImage& image, bool* plain) {
    const double tolerance = Tolerance(image);
    for (int count = 1; count <= 16; ++count) {
        if (1.0 / count <= 2.0 * tolerance) break;
        if (PlainAverage(image, count)) {
            *plain = true;
            return count;
        }
    }
    *plain = false;
    return 16;
}

SamplePosition ToPosition(const Found& found, const std::vector<Candidate>& xs,
                          const std::vector<Candidate>& ys, double correctionX,
                          double correctionY) {
    SamplePosition position;
    position.maskBit = found.bit;
    position.x = ReportedAxis(xs[static_cast<size_t>(found.column)], correctionX);
    position.y = ReportedAxis(ys[static_cast<size_t>(found.row)], correctionY);
    position.count = found.count;
    return position;
}

bool ExactAt(const SamplePosition& sample, int x, int y) {
    return sample.x.exact && sample.y.exact && sample.x.sixteenths == x && sample.y.sixteenths == y;
}

void JudgePattern(bool maskable, SampleMeasurement* measurement) {
    const std::vector<SamplePosition>& samples = measurement->samples;
    int count = 0;
    bool allExact = !samples.empty();
    bool allCentre = !samples.empty();
    for (const SamplePosition& sample : samples) {
        count += sample.count;
        allExact = allExact && sample.x.exact && sample.y.exact;
        allCentre = allCentre && ExactAt(sample, 8, 8);
    }
    measurement->allAtCentre = allCentre;
    const StandardSamplePattern standard = StandardPatternFor(count);
    measurement->standardPattern = false;
    measurement->maskOrderStandard.reset();
    if (standard.points == nullptr) return;
    // The mask's order is compared wherever a table and single samples by mask bit are there.
    if (maskable) measurement->maskOrderStandard = false;
    if (!allExact) return;
    // The same set: every table position taken by exactly one sample.
    std::vector<int> taken(static_cast<size_t>(count), 0);
    for (const SamplePosition& sample : samples) {
        for (int k = 0; k < count; ++k) {
            if (ExactAt(sample, standard.points[k].x, standard.points[k].y)) {
                taken[static_cast<size_t>(k)] += sample.count;
            }
        }
    }
    measurement->standardPattern =
        std::all_of(taken.begin(), taken.end(), [](int n) { return n == 1; });
    if (!maskable || !measurement->standardPattern) return;
    bool inOrder = static_cast<int>(samples.size()) == count;
    for (const SamplePosition& sample : samples) {
        inOrder = inOrder && sample.maskBit >= 0 && sample.maskBit < count &&
                  ExactAt(sample, standard.points[sample.maskBit].x,
                          standard.points[sample.maskBit].y);
    }
    measurement->maskOrderStandard = inOrder;
}

}  // namespace

void DecodeSamplePositions(const ProbeImages& images, SampleMeasurement* measurement) {
    const ProbePattern& pattern = images.pattern;
    const int n = pattern.gridSize;
    const int tilePixels = n + 1;
    const double correction = pattern.centreBiasCorrection;
    *measurement = SampleMeasurement();
    const bool maskable = images.maskable && !images.bitMaps.empty();
    measurement->gridSize = n;

    const std::vector<Candidate> xs = AxisCandidates(GeometryLattice(pattern, false), tilePixels);
    const std::vector<Candidate> ys = AxisCandidates(GeometryLattice(pattern, true), tilePixels);

    // How many samples a pixel has, and whether the resolve averages them.
    int sampleCount = images.sampleCount;
    bool plain = true;
    if (maskable && sampleCount > 0) {
        for (const IntensityImage& map : images.bitMaps) plain = plain && PlainAverage(map, sampleCount);
        if (!images.allBits.Empty()) plain = plain && PlainAverage(images.allBits, sampleCount);
    } else if (sampleCount > 0 && !images.allBits.Empty()) {
        plain = PlainAverage(images.allBits, sampleCount);
    } else {
        sampleCount = InferSampleCount(images.allBits, &plain);
    }
    if (!images.texture.Empty()) plain = plain && PlainAverage(images.texture, sampleCount);
    measurement->resolveNotAverage = !plain;

    // The per-bit maps add up to the all-bits map.
    if (maskable && !images.allBits.Empty()) {
        const IntensityImage& all = images.allBits;
        measurement->unionMatchesAllBits = true;
        for (size_t k = 0; k < all.values.size() && *measurement->unionMatchesAllBits; ++k) {
            long sum = 0;
            for (const IntensityImage& map : images.bitMaps) {
                if (k < map.values.size()) sum += std::lround(map.values[k] * sampleCount);
            }
            measurement->unionMatchesAllBits = sum == std::lround(all.values[k] * sampleCount);
        }
    }

    // A bit's map counts its samples where the resolve averages; else each lit pixel is one.
    const int bitCount = plain ? sampleCount : kLitOnly;

    // Each of the four pixels of a 2x2 quad on its own.
    std::vector<Found> byParity[4];
    bool consistent = true;
    for (int parity = 0; parity < 4; ++parity) {
        const int px = parity & 1;
        const int py = parity >> 1;
        if (maskable) {
            for (size_t bit = 0; bit < images.bitMaps.size(); ++bit) {
                consistent &= DecodeMap(ParityMap(images.bitMaps[bit], n, px, py, bitCount), xs,
                                        ys, static_cast<int>(bit), &byParity[parity]);
            }
        } else {
            consistent &= DecodeMap(ParityMap(images.allBits, n, px, py, sampleCount), xs, ys, -1,
                                    &byParity[parity]);
        }
    }
    measurement->picturesConsistent = consistent;

    auto positions = [&](const std::vector<Found>& found) {
        std::vector<SamplePosition> list;
        for (const Found& f : found) list.push_back(ToPosition(f, xs, ys, correction, correction));
        return list;
    };
    measurement->samples = positions(byParity[0]);
    for (int parity = 1; parity < 4; ++parity) {
        if (!(byParity[parity] == byParity[0])) measurement->quadsDiffer = true;
    }
    if (measurement->quadsDiffer) {
        for (int parity = 0; parity < 4; ++parity) {
            measurement->quads.push_back({parity & 1, parity >> 1, positions(byParity[parity])});
        }
    }
    std::vector<std::pair<int, int>> distinct;
    for (const Found& f : byParity[0]) {
        if (std::find(distinct.begin(), distinct.end(), std::make_pair(f.column, f.row)) ==
            distinct.end()) {
            distinct.emplace_back(f.column, f.row);
        }
    }
    measurement->distinctSamples = static_cast<int>(distinct.size());
    JudgePattern(maskable, measurement);

    // The textured points: where in the pixel the texture coordinate was taken.
    if (!images.texture.Empty()) {
        const std::vector<Candidate> us = AxisCandidates(TextureLattice(pattern, false), tilePixels);
        const std::vector<Candidate> vs = AxisCandidates(TextureLattice(pattern, true), tilePixels);
        std::vector<Found> found;
        DecodeMap(ParityMap(images.texture, n, 0, 0, sampleCount), us, vs, -1, &found);
        for (const Found& f : found) {
            measurement->texturePositions.push_back(ToPosition(f, us, vs, correction, correction));
        }
        if (found.size() == 1) {
            measurement->textureSampling = TextureSampling::OncePerPixel;
            measurement->texturePositions[0].count = 1;
        } else if (found.size() > 1) {
            measurement->textureSampling = TextureSampling::PerSample;
        }
    }
}

IntensityImage IntensityFromPixels(const void* pixels, int width, int height, int pitch,
                                   int bytesPerPixel, int shift, int bits) {
    IntensityImage image;
    image.width = width;
    image.height = height;
    image.levels = (1 << bits) - 1;
    image.values.resize(static_cast<size_t>(width) * height);
    const auto* bytes = static_cast<const unsigned char*>(pixels);
    const std::uint32_t mask = static_cast<std::uint32_t>(image.levels);
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = bytes + static_cast<size_t>(y) * pitch;
        for (int x = 0; x < width; ++x) {
            std::uint32_t pixel = 0;
            std::memcpy(&pixel, row + static_cast<size_t>(x) * bytesPerPixel,
                        static_cast<size_t>(bytesPerPixel));
            image.values[static_cast<size_t>(y) * width + x] =
                static_cast<float>((pixel >> shift) & mask) / static_cast<float>(image.levels);
        }
    }
    return image;
}
