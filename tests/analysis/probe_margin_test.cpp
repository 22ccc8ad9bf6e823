// The probes on a device that draws nothing outside the clip volume, as DXVK on lavapipe does:
// where Direct3D 9 puts the target's edge through the centres of column 0 and row 0, the samples
// left of and above those centres are lost. The probes' pictures keep a pixel from the edges, so
// the standard 4-sample pattern is still found, and alpha to coverage gives every pixel of a block
// the same thresholds.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "analysis/alpha_to_coverage/alpha_to_coverage_probe.h"
#include "analysis/positions/sample_probe.h"
#include "analysis/positions/standard_sample_patterns.h"
#include "analysis/probing/per_sample_drawing.h"
#include "support/fake_device.h"
#include "support/fake_direct3d.h"

namespace {

using fakes::FakeDevice;
using fakes::FakeSurface;
using fakes::FakeVertexBuffer;

constexpr int kSamples = 4;
// The alpha from which each sample is covered, under either alpha-to-coverage switch.
constexpr int kCoverageThresholds[kSamples] = {32, 96, 160, 224};

// Triangle lists into the standard 4 samples of each pixel of the multisampled target, under the
// multisample mask: D3DFVF_XYZ through the projection (world and view are the identity) in white,
// untextured; D3DFVF_XYZRHW | D3DFVF_DIFFUSE in their colour, white or black, with alpha to
// coverage and the alpha test where they are on. The target's pixels hold the average of their
// samples' green, as a resolve reads them.
class ClippingRasteriser {
public:
    explicit ClippingRasteriser(FakeDevice* device) {
        device->onDrawPrimitive = [this](FakeDevice& d, D3DPRIMITIVETYPE type, UINT start, UINT count) {
            const FakeVertexBuffer* buffer = FakeVertexBuffer::From(d.streamSource0);
            // The textured points are left undrawn: their picture stays black.
            if (!buffer || type != D3DPT_TRIANGLELIST || d.fvf != D3DFVF_XYZ) return;
            const D3DMATRIX& p = d.projectionMatrix;
            std::vector<ColouredVertex> vertices;
            for (UINT k = 0; k < 3 * count; ++k) {
                const float* v = reinterpret_cast<const float*>(buffer->bytes.data() + d.streamOffset +
                                                                (start + k) * d.streamStride);
                const float x = v[0] * p._11 + v[1] * p._21 + v[2] * p._31 + p._41;
                const float y = v[0] * p._12 + v[1] * p._22 + v[2] * p._32 + p._42;
                vertices.push_back({x, y, 0.5f, 1.0f, 0xFFFFFFFF});
            }
            Draw(d, vertices, true);
        };
        device->onDrawPrimitiveUP = [this](FakeDevice& d, D3DPRIMITIVETYPE type, UINT count, const void* data,
                                           UINT stride) {
            if (d.fvf != (D3DFVF_XYZRHW | D3DFVF_DIFFUSE)) return;
            std::vector<ColouredVertex> vertices;
            for (UINT k = 0; k < (type == D3DPT_TRIANGLESTRIP ? count + 2 : 3 * count); ++k) {
                vertices.push_back(*reinterpret_cast<const ColouredVertex*>(static_cast<const BYTE*>(data) + k * stride));
            }
            if (type == D3DPT_TRIANGLESTRIP) {
                std::vector<ColouredVertex> list;
                for (UINT t = 0; t < count; ++t) list.insert(list.end(), {vertices[t], vertices[t + 1], vertices[t + 2]});
                vertices = list;
            }
            Draw(d, vertices, false);
        };
    }

private:
    // Vertices in clip coordinates (clip true) or in viewport pixels.
    void Draw(FakeDevice& device, const std::vector<ColouredVertex>& vertices, bool clip) {
        FakeSurface* target = nullptr;
        for (FakeSurface* surface : device.surfaces) {
            if (surface->desc.MultiSampleType != D3DMULTISAMPLE_NONE) target = surface;
        }
        if (!target) return;
        const int width = static_cast<int>(target->desc.Width);
        const int height = static_cast<int>(target->desc.Height);
        if (target != target_ || device.clearCount != clears_) {
            white_.assign(static_cast<size_t>(width * height * kSamples), 0);
            target_ = target;
            clears_ = device.clearCount;
        }
        const DWORD* states = device.renderStates;
        const bool coverage = states[D3DRS_ADAPTIVETESS_Y] == MAKEFOURCC('A', 'T', 'O', 'C') ||
                              states[D3DRS_POINTSIZE] == MAKEFOURCC('A', '2', 'M', '1');
        const StandardSamplePattern pattern = StandardPatternFor(kSamples);
        for (size_t t = 0; t + 2 < vertices.size(); t += 3) {
            const int alpha = static_cast<int>(vertices[t].colour >> 24);
            if (states[D3DRS_ALPHATESTENABLE] && alpha < static_cast<int>(states[D3DRS_ALPHAREF])) continue;
            double x[3], y[3];  // viewport pixels: pixel px spans [px - 1/2, px + 1/2)
            for (int k = 0; k < 3; ++k) {
                x[k] = clip ? (vertices[t + k].x + 1.0) / 2.0 * width : vertices[t + k].x;
                y[k] = clip ? (1.0 - vertices[t + k].y) / 2.0 * height : vertices[t + k].y;
            }
            const int firstX = std::max(0, static_cast<int>(std::floor(*std::min_element(x, x + 3))));
            const int lastX = std::min(width - 1, static_cast<int>(std::ceil(*std::max_element(x, x + 3))));
            const int firstY = std::max(0, static_cast<int>(std::floor(*std::min_element(y, y + 3))));
            const int lastY = std::min(height - 1, static_cast<int>(std::ceil(*std::max_element(y, y + 3))));
            for (int py = firstY; py <= lastY; ++py) {
                for (int px = firstX; px <= lastX; ++px) {
                    for (int s = 0; s < kSamples; ++s) {
                        if (!(states[D3DRS_MULTISAMPLEMASK] & (1u << s))) continue;
                        if (coverage && alpha < kCoverageThresholds[s]) continue;
                        const double sx = px - 0.5 + pattern.points[s].x / 16.0;
                        const double sy = py - 0.5 + pattern.points[s].y / 16.0;
                        if (sx < 0.0 || sy < 0.0) continue;  // outside the clip volume
                        if (!Inside(x, y, sx, sy)) continue;
                        white_[static_cast<size_t>((py * width + px) * kSamples + s)] =
                            (vertices[t].colour >> 8 & 0xFF) >= 128 ? 1 : 0;
                    }
                }
            }
        }
        for (int pixel = 0; pixel < width * height; ++pixel) {
            int white = 0;
            for (int s = 0; s < kSamples; ++s) white += white_[static_cast<size_t>(pixel * kSamples + s)];
            const DWORD value = static_cast<DWORD>(std::lround(255.0 * white / kSamples));
            const DWORD colour = 0xFF000000u | value << 16 | value << 8 | value;
            std::memcpy(target->bytes.data() + pixel * 4, &colour, 4);
        }
    }

    // Either winding; no sample of the probes lies on an edge.
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
    std::vector<unsigned char> white_;
};

ProbeTarget FourSamples() {
    ProbeTarget target;
    target.type = D3DMULTISAMPLE_4_SAMPLES;
    target.format = D3DFMT_X8R8G8B8;
    return target;
}

TEST(ProbeMargin, PositionsOnADeviceThatClipsAtColumnAndRowZerosCentresAreTheStandardOnes) {
    FakeDevice device;
    ClippingRasteriser rasteriser(&device);
    SampleMeasurement measured;
    ASSERT_EQ(MeasureSamplePositions(&device, FourSamples(), &measured), S_OK);
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

TEST(ProbeMargin, AlphaToCoverageOnADeviceThatClipsAtColumnAndRowZerosCentresIsTheSameInEveryPixel) {
    fakes::FakeDirect3D* direct3d = fakes::MakeTypicalDirect3D();  // offers both switches
    FakeDevice device;
    device.direct3d = direct3d;
    ClippingRasteriser rasteriser(&device);
    AlphaToCoverageMeasurement measured;
    ASSERT_EQ(MeasureAlphaToCoverage(&device, FourSamples(), SampleMeasurement(), &measured), S_OK);
    EXPECT_EQ(device.misuseCount, 0) << device.lastMisuse;

    ASSERT_EQ(measured.switches.size(), 3u);
    for (const AlphaToCoverageMap& map : measured.switches) {
        SCOPED_TRACE(CoverageSwitchName(map.coverageSwitch));
        EXPECT_EQ(map.verdict, AlphaToCoverageVerdict::Thresholds);
        ASSERT_FALSE(map.thresholds.empty());
        EXPECT_EQ(map.thresholds[0][0], std::vector<int>(kCoverageThresholds, kCoverageThresholds + kSamples));
    }
    direct3d->Release();
}

}  // namespace
