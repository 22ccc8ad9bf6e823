// The probe's pattern: the first point's left edge half a grid step past a 1/N boundary (after
// the runtime's known bias) and a further 1/256 on, and inside its tile's first pixel, so that no
// point reaches the tile before; the textured squares centred on the geometric ones.
#include "analysis/probing/probe_pattern.h"

namespace {

constexpr double kBiasMargin = 1.0 / 256.0;

}  // namespace

ProbePattern ChooseProbePattern(double centreBiasCorrection) {
    ProbePattern pattern;
    pattern.gridSize = 32;
    pattern.pointSize = 0.125f;
    pattern.centreBiasCorrection = centreBiasCorrection;
    const double n = pattern.gridSize;
    // Centre of point 0 from its pixel's left edge: the viewer puts it at 1/32 + offset. A sample
    // on a 1/16 step then lies 3/256 past an edge and 5/256 before the next: inside the same
    // interval whether the runtime moves geometry by a half pixel or, as wined3d's code does, by
    // 63/128 (the sample 1/128 further on).
    const double centre =
        pattern.pointSize / 2.0 + 0.5 / n + kBiasMargin + centreBiasCorrection;
    const float geometryOffset = static_cast<float>(centre - 0.03125);
    pattern.geometryOffsetX = geometryOffset;
    pattern.geometryOffsetY = geometryOffset;
    // The quad maps N + 1 units onto N repeats; the white square is centred in its repeat.
    const float textureOffset = static_cast<float>(0.5 - (centre + pattern.tileOriginX) * n / (n + 1.0));
    pattern.textureOffsetX = textureOffset;
    pattern.textureOffsetY = textureOffset;
    return pattern;
}

int ProbeImageSide(const ProbePattern& pattern) { return 2 * (pattern.gridSize + 1); }
