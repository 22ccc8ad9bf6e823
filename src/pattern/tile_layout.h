// Where the tiled pattern places its (N+1)-unit squares: window centres every N+1 units, from
// the first one left of (above) the projection window's edge to past its far edge.
#pragma once

struct TileLayout {
    int xStart;
    int yStart;
    int xMax;
    int yMax;
    int step;
};

// extentX and extentY are the projection window's size in pattern units (A and B).
TileLayout ComputeTileLayout(int gridSize, float extentX, float extentY);
