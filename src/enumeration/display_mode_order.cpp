// The order of an adapter's display modes: width, height, format, refresh rate, all ascending.
#include "enumeration/device_enumeration.h"

namespace {

template <typename T>
int ThreeWay(T a, T b) {
    return a < b ? -1 : (b < a ? 1 : 0);
}

}  // namespace

int CompareDisplayModes(const D3DDISPLAYMODE& a, const D3DDISPLAYMODE& b) {
    if (int order = ThreeWay(a.Width, b.Width)) return order;
    if (int order = ThreeWay(a.Height, b.Height)) return order;
    // Signed, as an enum of int width reads; display modes only carry small format numbers anyway.
    if (int order = ThreeWay(static_cast<INT32>(a.Format), static_cast<INT32>(b.Format))) return order;
    return ThreeWay(a.RefreshRate, b.RefreshRate);
}
