// Our own orthographic projection (row-major, as Direct3D 9's fixed-function pipeline takes it).
#include "pattern/ortho_projection.h"

D3DMATRIX OrthoProjection(float l, float r, float b, float t, float zn, float zf) {
    D3DMATRIX m = {};
    m._11 = 2.0f / (r - l);
    m._22 = 2.0f / (t - b);
    m._33 = 1.0f / (zf - zn);
    m._41 = (l + r) / (l - r);
    m._42 = (t + b) / (b - t);
    m._43 = zn / (zn - zf);
    m._44 = 1.0f;
    return m;
}

D3DMATRIX IdentityMatrix() {
    D3DMATRIX m = {};
    m._11 = 1.0f;
    m._22 = 1.0f;
    m._33 = 1.0f;
    m._44 = 1.0f;
    return m;
}
