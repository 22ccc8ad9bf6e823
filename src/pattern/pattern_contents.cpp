// The contents of the pattern resources. Each grid point sits 1 + 1/N units after the previous
// one, so its position inside its pixel advances by 1/N: a tile maps one pixel's samples.
#include "pattern/pattern_contents.h"

#include <cstring>

namespace {

// The first point sits 1/32 past a pixel boundary, so that no point starts exactly on one.
constexpr float kGridOrigin = 0.53125f;

constexpr WORD kOpaqueWhite = 0xFFFF;

}  // namespace

void WritePointGrid(PositionVertex* vertices, int gridSize, float pointSize, float geometryOffsetX,
                    float geometryOffsetY) {
    const float n = static_cast<float>(gridSize);
    const float originX = geometryOffsetX + kGridOrigin;
    const float originY = geometryOffsetY + kGridOrigin;
    const float half = pointSize * 0.5f;
    PositionVertex* out = vertices;
    for (int j = 0; j < gridSize; ++j) {
        const float row = static_cast<float>(j);
        const float cy = row + row / n + originY;
        for (int i = 0; i < gridSize; ++i) {
            const float column = static_cast<float>(i);
            const float cx = column + column / n + originX;
            const PositionVertex topLeft = {cx - half, cy - half, 0.0f};
            const PositionVertex topRight = {cx + half, cy - half, 0.0f};
            const PositionVertex bottomLeft = {cx - half, cy + half, 0.0f};
            const PositionVertex bottomRight = {cx + half, cy + half, 0.0f};
            out[0] = topLeft;
            out[1] = topRight;
            out[2] = bottomLeft;
            out[3] = bottomRight;
            out[4] = bottomLeft;
            out[5] = topRight;
            out += kVerticesPerPoint;
        }
    }
    // The ring frames the (N+1)-unit square two units wide on every side.
    const float outer = n + 1.0f;
    const float inner = n - 1.0f;
    const PositionVertex ring[kRingVertices] = {
        {0.0f, 0.0f, 0.0f},   {2.0f, 2.0f, 0.0f},   {outer, 0.0f, 0.0f}, {inner, 2.0f, 0.0f},
        {outer, outer, 0.0f}, {inner, inner, 0.0f}, {0.0f, outer, 0.0f}, {2.0f, inner, 0.0f},
        {0.0f, 0.0f, 0.0f},   {2.0f, 2.0f, 0.0f},
    };
    std::memcpy(out, ring, sizeof(ring));
}

void WriteTexturedQuad(TexturedVertex* vertices, int gridSize, float textureOffsetX,
                       float textureOffsetY) {
    const float n = static_cast<float>(gridSize);
    const float side = n + 1.0f;
    const float tu = textureOffsetX;
    const float tv = textureOffsetY;
    vertices[0] = {0.0f, 0.0f, 0.0f, tu, tv};
    vertices[1] = {side, 0.0f, 0.0f, tu + n, tv};
    vertices[2] = {0.0f, side, 0.0f, tu, tv + n};
    vertices[3] = {side, side, 0.0f, tu + n, tv + n};
}

void WritePointTexture(BYTE* bits, INT pitch, float pointSize) {
    constexpr int size = static_cast<int>(kPointTextureSize);
    for (int row = 0; row < size; ++row) {
        std::memset(bits + row * pitch, 0, size * sizeof(WORD));
    }
    const int side = static_cast<int>(pointSize * 256.0f + 0.5f);
    const int first = 128 - side / 2;
    for (int r = first; r < first + side; ++r) {
        WORD* texels = reinterpret_cast<WORD*>(bits + ((r % size + size) % size) * pitch);
        for (int c = first; c < first + side; ++c) {
            texels[(c % size + size) % size] = kOpaqueWhite;
        }
    }
}

void WriteHalfTexture(BYTE* bits, INT pitch) {
    constexpr UINT rowBytes = kHalfTextureSize * sizeof(WORD);
    for (UINT row = 0; row < kHalfTextureSize; ++row) {
        BYTE* texels = bits + row * pitch;
        std::memset(texels, 0, rowBytes);
        std::memset(texels, 0xFF, rowBytes / 2);
    }
}
