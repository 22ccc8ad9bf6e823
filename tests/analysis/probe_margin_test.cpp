// The position probe on a device that draws nothing outside the clip volume, as DXVK on lavapipe
// does: where Direct3D 9 puts the target's edge through the centres of column 0 and row 0, the
// samples left of and above those centres are lost. The probe's pictures keep a pixel from the
// edges, so the standard 4-sample pattern is still found, in the standard mask order.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "analysis/positions/sample_probe.h"
#include "analysis/positions/standard_sample_patterns.h"
#include "support/fake_device.h"

namespace {

using fakes::FakeDevice;
using fakes::FakeSurface;
using fakes::FakeVertexBuffer;

constexpr int kSamples = 4;

// Untextured triangle lists of D3DFVF_XYZ vertices, through the projection (world and view are
// the identity) into the standard 4 samples of each pixel of the multisampled target, under the
// multisample mask; the target's pixels hold their samples' average, as a resolve reads them.
class ClippingRasteriser {
public:
    explicit ClippingRasteriser(FakeDevice* device) {
        device->onDrawPrimitive = [this](FakeDevice& d, D3DPRIMITIVETYPE type, UINT start, UINT count) {
            Draw(d, type, start, count);
        };
    }

private:
    void Draw(FakeDevice& device, D3DPRIMITIVETYPE type, UINT start, UINT count) {
        FakeSurface* target = nullptr;
        for (FakeSurface* surface : device.surfaces) {
            if (surface->desc.MultiSampleType != D3DMULTISAMPLE_NONE) target = surface;
        }
        const FakeVertexBuffer* buffer = FakeVertexBuffer::From(device.streamSource0);
        // The textured points are left undrawn: their picture stays black.
        if (!target || !buffer || type != D3DPT_TRIANGLELIST || device.fvf != D3DFVF_XYZ) return;
        const int width = static_cast<int>(target->desc.Width);
        const int height = static_cast<int>(target->desc.Height);
        if (target != target_ || device.clearCount != clears_) {
            lit_.assign(static_cast<size_t>(width * height * kSamples), 0);
            target_ = target;
            clears_ = device.clearCount;
        }
        const D3DMATRIX& p = device.projectionMatrix;
        const DWORD mask = device.renderStates[D3DRS_MULTISAMPLEMASK];
        const StandardSamplePattern pattern = StandardPatternFor(kSamples);
        for (UINT t = 0; t < count; ++t) {
            double x[3], y[3];  // clip coordinates (w is 1: an orthographic projection)
            for (int k = 0; k < 3; ++k) {
                const size_t at = device.streamOffset + (start + 3 * t + k) * device.streamStride;
                const float* v = reinterpret_cast<const float*>(buffer->bytes.data() + at);
                x[k] = v[0] * p._11 + v[1] * p._21 + v[2] * p._31 + p._41;
                y[k] = v[0] * p._12 + v[1] * p._22 + v[2] * p._32 + p._42;
            }
            // The pixels the triangle's box reaches: pixel px spans viewport [px - 1/2, px + 1/2).
            double left = x[0], right = x[0], bottom = y[0], top = y[0];
            for (int k = 1; k < 3; ++k) {
                left = std::min(left, x[k]);
                right = std::max(right, x[k]);
                bottom = std::min(bottom, y[k]);
                top = std::max(top, y[k]);
            }
            const int firstX = std::max(0, static_cast<int>(std::floor((left + 1.0) / 2.0 * width)));
            const int lastX = std::min(width - 1, static_cast<int>(std::ceil((right + 1.0) / 2.0 * width)));
            const int firstY = std::max(0, static_cast<int>(std::floor((1.0 - top) / 2.0 * height)));
            const int lastY = std::min(height - 1, static_cast<int>(std::ceil((1.0 - bottom) / 2.0 * height)));
            for (int py = firstY; py <= lastY; ++py) {
                for (int px = firstX; px <= lastX; ++px) {
                    for (int s = 0; s < kSamples; ++s) {
                        if (!(mask & (1u << s))) continue;
                        const double sx = (px - 0.5 + pattern.points[s].x / 16.0) / width * 2.0 - 1.0;
                        const double sy = 1.0 - (py - 0.5 + pattern.points[s].y / 16.0) / height * 2.0;
                        if (sx < -1.0 || sy > 1.0) continue;  // outside the clip volume
                        if (Inside(x, y, sx, sy)) lit_[static_cast<size_t>((py * width + px) * kSamples + s)] = 1;
                    }
                }
            }
        }
        for (int pixel = 0; pixel < width * height; ++pixel) {
            int lit = 0;
            for (int s = 0; s < kSamples; ++s) lit += lit_[static_cast<size_t>(pixel * kSamples + s)];
            const DWORD value = static_cast<DWORD>(std::lround(255.0 * lit / kSamples));
            const DWORD colour = 0xFF000000u | value << 16 | value << 8 | value;
            std::memcpy(target->bytes.data() + pixel * 4, &colour, 4);
        }
    }

    // Either winding; no sample of the probe lies on a point's edge.
    static bool Inside(const double* x, const double* y, double sx, double sy) {
        double sign = 0.0;
        for (int k = 0; k < 3; ++k) {
            const int n = (k + 1) % 3;
            const double edge = (x[n] - x[k]) * (sy - y[k]) - (y[n] - y[k]) * (sx - x[k]);
            if (edge * sign < 0.0) return false;
            if (edge != 0.0) sign = edge;
        }
        return true;
    }

    const FakeSurface* target_ = nullptr;
    int clears_ = -1;
    std::vector<unsigned char> lit_;
};

TEST(ProbeMargin, PositionsOnADeviceThatClipsAtColumnAndRowZerosCentresAreTheStandardOnes) {
    FakeDevice device;
    ClippingRasteriser rasteriser(&device);
    ProbeTarget target;
    target.type = D3DMULTISAMPLE_4_SAMPLES;
    target.format = D3DFMT_X8R8G8B8;
    SampleMeasurement measured;
    ASSERT_EQ(MeasureSamplePositions(&device, target, &measured), S_OK);
    EXPECT_EQ(device.misuseCount, 0) << device.lastMisuse;

    const StandardSamplePattern standard = StandardPatternFor(kSamples);
    ASSERT_EQ(measured.samples.size(), static_cast<size_t>(kSamples));
    for (int s = 0; s < kSamples; ++s) {
        SCOPED_TRACE(s);
        EXPECT_EQ(measured.samples[s].maskBit, s);
        EXPECT_TRUE(measured.samples[s].x.exact && measured.samples[s].y.exact);
        EXPECT_EQ(measured.samples[s].x.sixteenths, standard.points[s].x);
        EXPECT_EQ(measured.samples[s].y.sixteenths, standard.points[s].y);
    }
    EXPECT_TRUE(measured.standardPattern);
}

}  // namespace
