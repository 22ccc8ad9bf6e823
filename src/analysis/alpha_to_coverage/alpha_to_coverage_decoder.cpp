// A sample's threshold is the lowest alpha from which it stays covered. The verdict compares
// the pixels' thresholds: all alike is a threshold map; alike after a shift of W x H pixels (the
// smallest of 1, 2, 4 along each axis) is an ordered dither.
#include "analysis/alpha_to_coverage/alpha_to_coverage_decoder.h"

namespace {

constexpr int kAlphas = 256;

using Thresholds = std::vector<std::vector<std::vector<int>>>;

// Whether every pixel equals the one width and height pixels back (modulo the block).
bool RepeatsOver(const Thresholds& t, int width, int height) {
    for (int y = 0; y < kCoverageBlock; ++y) {
        for (int x = 0; x < kCoverageBlock; ++x) {
            if (t[y][x] != t[y % height][x % width]) return false;
        }
    }
    return true;
}

}  // namespace

void DecodeAlphaToCoverage(const AlphaCoverageObservations& in, AlphaToCoverageMap* map) {
    map->alphaTestReference = in.alphaTestReference;
    map->samples = in.samples;
    map->perSample = in.perSample;
    map->unionMatchesSamples = in.unionMatchesSamples;
    map->monotonic = true;
    map->ditherWidth = map->ditherHeight = 0;
    map->thresholds.assign(kCoverageBlock,
                           std::vector<std::vector<int>>(kCoverageBlock, std::vector<int>(in.samples)));
    const int alphas = static_cast<int>(in.covered.size());
    for (int y = 0; y < kCoverageBlock; ++y) {
        for (int x = 0; x < kCoverageBlock; ++x) {
            for (int s = 0; s < in.samples; ++s) {
                const auto covered = [&](int alpha) {
                    return (in.covered[alpha][y * kCoverageBlock + x] >> s & 1u) != 0;
                };
                int threshold = kNeverCovered;
                for (int alpha = alphas - 1; alpha >= 0 && covered(alpha); --alpha) threshold = alpha;
                for (int alpha = 0; alpha < threshold && alpha < alphas; ++alpha) {
                    if (covered(alpha)) map->monotonic = false;
                }
                map->thresholds[y][x][s] = threshold;
            }
        }
    }

    bool allFromReference = true;
    bool anyCovered = false;
    for (const auto& row : map->thresholds) {
        for (const auto& pixel : row) {
            for (int threshold : pixel) {
                allFromReference = allFromReference && threshold <= in.alphaTestReference;
                anyCovered = anyCovered || threshold != kNeverCovered;
            }
        }
    }
    if (alphas != kAlphas || in.samples <= 0 || !map->monotonic || !in.unionMatchesSamples ||
        !anyCovered) {
        map->verdict = AlphaToCoverageVerdict::Other;
    } else if (allFromReference) {
        map->verdict = AlphaToCoverageVerdict::NotApplied;
    } else if (RepeatsOver(map->thresholds, 1, 1)) {
        map->verdict = AlphaToCoverageVerdict::Thresholds;
    } else {
        // The smallest area first; a 4 x 4 period is the whole block and always fits.
        static const int kPeriods[][2] = {{2, 1}, {1, 2}, {2, 2}, {4, 1}, {1, 4}, {4, 2}, {2, 4}, {4, 4}};
        for (const auto& period : kPeriods) {
            if (RepeatsOver(map->thresholds, period[0], period[1])) {
                map->ditherWidth = period[0];
                map->ditherHeight = period[1];
                break;
            }
        }
        map->verdict = AlphaToCoverageVerdict::Dither;
    }
}
