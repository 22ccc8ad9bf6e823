// Tile placements of the tiled pattern. The centres stay congruent to N/2 + 1 modulo N+1, so the
// tiles sit one unit up and left of the highlight ring rather than under it.
#include "pattern/tile_layout.h"

namespace {

int FirstCentreBelow(int gridSize, int limit) {
    const int step = gridSize + 1;
    int centre = -gridSize / 2;
    while (centre >= -limit) {
        centre -= step;
    }
    return centre;
}

}  // namespace

TileLayout ComputeTileLayout(int gridSize, float extentX, float extentY) {
    TileLayout layout = {};
    layout.step = gridSize + 1;
    layout.xMax = gridSize + static_cast<int>(extentX) / 2;
    layout.yMax = gridSize + static_cast<int>(extentY) / 2;
    layout.xStart = FirstCentreBelow(gridSize, layout.xMax);
    layout.yStart = FirstCentreBelow(gridSize, layout.yMax);
    return layout;
}
