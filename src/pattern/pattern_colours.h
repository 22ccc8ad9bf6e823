// The colours and blend factors of one frame, chosen by the background: on white the cyan
// geometric points are multiplied out of the background (red), on black they are added (cyan).
#pragma once

#include <windows.h>
#include <d3d9.h>

struct PatternColours {
    D3DCOLOR clear;
    D3DCOLOR highlightRing;
    D3DCOLOR texturedPoints;
    D3DCOLOR geometricPoints;
    D3DBLEND geometricSourceBlend;
    D3DBLEND geometricDestinationBlend;
    D3DCOLOR geometricEdgeBorder;
    D3DCOLOR textureEdgeBorder;
    D3DCOLOR bandBackground;
    D3DCOLOR bandEdge;
};

const PatternColours& ColoursFor(BOOL whiteBackground);
