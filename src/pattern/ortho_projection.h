// The left-handed orthographic projection the passes place their pictures with: x = l..r and
// y = t..b map onto the viewport's left..right and top..bottom edges, z = zn..zf onto 0..1.
#pragma once

#include <d3d9.h>

D3DMATRIX OrthoProjection(float l, float r, float b, float t, float zn, float zf);

D3DMATRIX IdentityMatrix();
