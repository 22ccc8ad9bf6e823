// Every probe's drawing keeps a pixel from the edges of its target: an implementation that clips
// at the pixel centres of the edge rows and columns (DXVK on lavapipe) loses nothing measured.
#include <gtest/gtest.h>

#include <algorithm>

#include "analysis/probing/per_sample_drawing.h"
#include "analysis/session/measurement_module.h"
#include "support/fake_device.h"
#include "support/fake_direct3d.h"

namespace {

using fakes::FakeDevice;

// The multisampled target the probe draws into: the last one made.
const D3DSURFACE_DESC& Target(const FakeDevice& device) {
    for (auto surface = device.surfaces.rbegin(); surface != device.surfaces.rend(); ++surface) {
        if ((*surface)->desc.MultiSampleType != D3DMULTISAMPLE_NONE) return (*surface)->desc;
    }
    return device.surfaces.back()->desc;
}

TEST(ProbeMargin, NothingAProbeMeasuresIsDrawnIntoTheEdgePixelsOfItsTarget) {
    fakes::FakeDirect3D* direct3d = fakes::MakeTypicalDirect3D();  // offers alpha to coverage
    FakeDevice device;
    device.direct3d = direct3d;
    // The least distance of a measured vertex from the target's edges, in viewport pixels, where
    // pixel p spans [p - 1/2, p + 1/2).
    double margin = 1e9;
    int vertices = 0;
    const auto take = [&](FakeDevice& d, double x, double y) {
        const D3DSURFACE_DESC& target = Target(d);
        margin = std::min({margin, x + 0.5, y + 0.5, target.Width - 0.5 - x, target.Height - 0.5 - y});
        ++vertices;
    };
    // Untransformed vertices through the projection; the textured quad (transparent but for its
    // squares) and the pre-transformed black-out of all samples but one are not measured.
    const auto transformed = [&](FakeDevice& d, const BYTE* data, UINT count, UINT stride) {
        const D3DSURFACE_DESC& target = Target(d);
        const D3DMATRIX& p = d.projectionMatrix;
        for (UINT k = 0; k < count; ++k) {
            const float* v = reinterpret_cast<const float*>(data + k * stride);
            take(d, (v[0] * p._11 + v[1] * p._21 + p._41 + 1.0) / 2.0 * target.Width,
                 (1.0 - (v[0] * p._12 + v[1] * p._22 + p._42)) / 2.0 * target.Height);
        }
    };
    device.onDrawPrimitive = [&](FakeDevice& d, D3DPRIMITIVETYPE, UINT start, UINT count) {
        const auto* buffer = fakes::FakeVertexBuffer::From(d.streamSource0);
        if (d.fvf == D3DFVF_XYZ) transformed(d, buffer->bytes.data() + start * d.streamStride, 3 * count, d.streamStride);
    };
    device.onDrawPrimitiveUP = [&](FakeDevice& d, D3DPRIMITIVETYPE type, UINT count, const void* data, UINT stride) {
        const UINT vertexCount = type == D3DPT_TRIANGLESTRIP ? count + 2 : 3 * count;
        if (d.fvf == D3DFVF_XYZ) transformed(d, static_cast<const BYTE*>(data), vertexCount, stride);
        if (d.fvf != (D3DFVF_XYZRHW | D3DFVF_DIFFUSE)) return;
        const auto* v = static_cast<const ColouredVertex*>(data);
        for (UINT k = 0; k < vertexCount; ++k) {
            if ((v[k].colour & 0xFFFFFF) != 0) take(d, v[k].x, v[k].y);
        }
    };
    ModeMeasurement measurement;
    measurement.mode = {D3DMULTISAMPLE_4_SAMPLES, 0, D3DFMT_X8R8G8B8};
    for (const MeasurementModule& module : MeasurementModules()) {
        if (module.measure != nullptr) module.measure(&device, &measurement);
    }
    EXPECT_GT(vertices, 0);
    EXPECT_GE(margin, 1.0);
    direct3d->Release();
}

}  // namespace
