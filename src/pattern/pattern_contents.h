// What the pattern's vertex buffers and textures hold, written into locked memory: the grid of
// tiny square points with the highlight ring, the textured quad, and the two textures.
#pragma once

#include <windows.h>

struct PositionVertex {
    float x, y, z;
};

struct TexturedVertex {
    float x, y, z;
    float u, v;
};

constexpr UINT kVerticesPerPoint = 6;
constexpr UINT kRingVertices = 10;
constexpr UINT kQuadVertices = 4;
constexpr UINT kPointTextureSize = 256;
constexpr UINT kHalfTextureSize = 32;

// Bytes of the point grid and ring for an N x N grid: N*N*72 + 120.
constexpr UINT PointBufferBytes(int gridSize) {
    return (static_cast<UINT>(gridSize) * static_cast<UINT>(gridSize) * kVerticesPerPoint +
            kRingVertices) *
           static_cast<UINT>(sizeof(PositionVertex));
}

// Writes N*N points (6 vertices each, rows outermost) and then the 10 ring vertices.
void WritePointGrid(PositionVertex* vertices, int gridSize, float pointSize, float geometryOffsetX,
                    float geometryOffsetY);

// Writes the 4 vertices of the triangle strip that repeats pointTexture once per grid cell.
void WriteTexturedQuad(TexturedVertex* vertices, int gridSize, float textureOffsetX,
                       float textureOffsetY);

// A4R4G4B4 texels: transparent black with a centred opaque white square of pointSize's share.
void WritePointTexture(BYTE* bits, INT pitch, float pointSize);

// A4R4G4B4 texels: the left 16 columns opaque white, the right 16 transparent black.
void WriteHalfTexture(BYTE* bits, INT pitch);
