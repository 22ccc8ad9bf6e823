// The two colour sets of the pattern, the edge bands and the clear.
#include "pattern/pattern_colours.h"

namespace {

constexpr PatternColours kBlackBackground = {
    0x00000000, 0xFF0000FF, 0xFFFF00FF, 0xFF00FFFF, D3DBLEND_ONE,  D3DBLEND_ONE,
    0xFF00FFFF, 0xFFFF00FF, 0xFF000000, 0xFFFFFFFF,
};

constexpr PatternColours kWhiteBackground = {
    0x00FFFFFF, 0xFFFFFF00, 0xFF00FF00, 0xFF00FFFF, D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR,
    0xFFFF0000, 0xFF00FF00, 0xFFFFFFFF, 0xFF000000,
};

}  // namespace

const PatternColours& ColoursFor(BOOL whiteBackground) {
    return whiteBackground ? kWhiteBackground : kBlackBackground;
}
