// The point pattern the probe draws, in the viewer's own terms, and the one it chooses: every
// point edge about half a grid step away from any 1/16 of a pixel, so that a sample on the 1/16
// lattice is never on an edge, whatever the fill rule.
#pragma once

// The pictures hold 2 x 2 tiles of N + 1 pixels each; tile (tx, ty) starts at pixel
// (tx (N+1), ty (N+1)) and holds one complete N x N point grid and one textured quad, so every
// tile is a whole map of one pixel.
struct ProbePattern {
    int gridSize = 32;
    float pointSize = 0.125f;
    float geometryOffsetX = 0.0f;
    float geometryOffsetY = 0.0f;
    float textureOffsetX = 0.0f;
    float textureOffsetY = 0.0f;
    // Where a tile's first pixel begins, in the pattern's world units: a half-integer.
    double tileOriginX = 0.5;
    double tileOriginY = 0.5;
    // How far a runtime's samples sit past where Direct3D 9 puts them, taken out of the
    // positions reported. wined3d's code shifts geometry by 63/128 rather than a half, which
    // would make it 1/128; measured on this platform it is 0, and the probe uses 0.
    double centreBiasCorrection = 0.0;
};

// Grid 32, point size 1/8, with the offsets that put the point edges 1/256 past odd multiples of
// 1/64 once the bias is taken out, and the textured points where the geometric ones are.
ProbePattern ChooseProbePattern(double centreBiasCorrection);

// Pixels of the probe's pictures along each axis: two tiles.
int ProbeImageSide(const ProbePattern& pattern);
