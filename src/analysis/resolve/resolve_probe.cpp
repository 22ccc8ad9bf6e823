// One picture holds every part of the resolve measurement, each on black and far enough from the
// others that a filter reaching two pixels cannot mix them:
//   rows 0, 8, 16, 24   ladder blocks of 4 x 4 pixels, 8 apart: white, grey, and both again with
//                       sRGB writing on; rung k lights k samples of every pixel of its block
//   row 36              one lit sample of one pixel per sample, 8 pixels apart
//   rows 42, 44, 46     the edge sweeps, one pixel per edge offset, every second pixel
// It is drawn once into the multisampled target and resolved, then resolved again after one more
// draw with sRGB writing on (black, into a pixel nothing reads, the state off again before the
// resolve), and both pictures are read back at once: the second says whether the resolve follows
// the samples or the last draw's sRGB state.
#include "analysis/resolve/resolve_probe.h"


#include <chrono>
#include <cmath>
#include <vector>

#include "analysis/probing/probe_target.h"
#include "analysis/resolve/resolve_decoder.h"
#include "analysis/resolve/srgb_write_caps.h"
#include "pattern/ortho_projection.h"
#include "pattern/pass_states.h"
#include "pattern/pattern_contents.h"

namespace {


constexpr UINT kPictureWidth = 320;
constexpr UINT kPictureHeight = 48;
constexpr int kBlockPitch = 8;
constexpr int kBlockInset = 2;
constexpr int kBlockSide = 4;
constexpr int kLadderRowPitch = 8;
constexpr int kFootprintRow = 36;
constexpr int kFootprintPitch = 8;
constexpr int kSweepFirstRow = 42;
// The pixel the sRGB-written last draw lights (in black): right of every ladder, in no block.
constexpr int kLastDrawX = kPictureWidth - 4;
constexpr int kLastDrawY = 28;
constexpr size_t kLastDrawPlainCell = 0;
constexpr size_t kLastDrawSrgbCell = 1;
constexpr int kMaxSamples = 16;
constexpr DWORD kWhite = 0xFFFFFFFF;
constexpr DWORD kGrey = 0xFF808080;  // 128 in every channel, opaque
constexpr int kGreyOf255 = 128;

enum LadderRow { kWhiteRow, kGreyRow, kSrgbWhiteRow, kSrgbGreyRow, kLadderRows };

// Samples of a pixel to light: by mask bits, or (mask can't pick them) by squares on measured
// positions; whole lights the pixel's every sample the mask lets through.
struct SampleChoice {
    int covered = 0;
    DWORD mask = 0xFFFFFFFF;
    bool whole = false;
    std::vector<const SamplePosition*> positions;
};

// The ladder's rungs: k lowest mask bits for k = 0 .. S; without multisampling none or the one
// sample; for the non-maskable type the first j measured positions, j = 0 .. all of them.
std::vector<SampleChoice> LadderChoices(const ProbeTarget& target, const SampleMeasurement& positions) {
    std::vector<SampleChoice> rungs;
    if (target.Maskable()) {
        for (int k = 0; k <= target.MaskSamples() && k <= kMaxSamples; ++k) {
            SampleChoice rung;
            rung.covered = k;
            rung.mask = (1u << k) - 1u;
            rung.whole = k > 0;
            rungs.push_back(rung);
        }
    } else if (target.type == D3DMULTISAMPLE_NONE) {
        rungs.push_back(SampleChoice());
        SampleChoice one;
        one.covered = 1;
        one.whole = true;
        rungs.push_back(one);
    } else {
        SampleChoice rung;
        rungs.push_back(rung);
        for (const SamplePosition& sample : positions.samples) {
            if (rungs.size() > static_cast<size_t>(kMaxSamples)) break;
            rung.covered += sample.count;
            rung.positions.push_back(&sample);
            rungs.push_back(rung);
        }
    }
    return rungs;
}

// One lit sample per sample of the pixel: by its mask bit, the one sample, or a measured position.
std::vector<SampleChoice> FootprintChoices(const ProbeTarget& target, const SampleMeasurement& positions) {
    std::vector<SampleChoice> lit;
    if (target.Maskable()) {
        for (int bit = 0; bit < target.MaskSamples() && bit < kMaxSamples; ++bit) {
            SampleChoice one;
            one.covered = 1;
            one.mask = 1u << bit;
            one.whole = true;
            lit.push_back(one);
        }
    } else if (target.type == D3DMULTISAMPLE_NONE) {
        SampleChoice one;
        one.covered = 1;
        one.whole = true;
        lit.push_back(one);
    } else {
        for (const SamplePosition& sample : positions.samples) {
            if (lit.size() >= static_cast<size_t>(kMaxSamples)) break;
            SampleChoice one;
            one.covered = sample.count;
            one.positions.push_back(&sample);
            lit.push_back(one);
        }
    }
    return lit;
}

struct Point {
    double x, y;
};

// Pixel (px, py) spans [px, px + 1) x [py, py + 1) here; Direct3D 9 puts pixel centres on whole
// world coordinates under the probe's projection, so world = pixel space - 1/2.
void AddTriangle(std::vector<PositionVertex>* vertices, Point a, Point b, Point c) {
    for (const Point& p : {a, b, c}) {
        vertices->push_back({static_cast<float>(p.x - 0.5), static_cast<float>(p.y - 0.5), 0.5f});
    }
}

void AddRectangle(std::vector<PositionVertex>* vertices, double left, double top, double right,
                  double bottom) {
    AddTriangle(vertices, {left, top}, {right, top}, {left, bottom});
    AddTriangle(vertices, {right, top}, {right, bottom}, {left, bottom});
}

// A square on a measured position's interval in pixel (px, py), which the top-left rule makes
// cover exactly [low, high) on each axis. An interval that wraps past the pixel's left or top edge
// (low < 0) is drawn at both ends; the scissor keeps what falls into a neighbour out.
void AddSampleSquares(std::vector<PositionVertex>* vertices, int px, int py, const SamplePosition& s) {
    for (int wrapY = 0; wrapY < (s.y.low < 0.0 ? 2 : 1); ++wrapY) {
        for (int wrapX = 0; wrapX < (s.x.low < 0.0 ? 2 : 1); ++wrapX) {
            AddRectangle(vertices, px + wrapX + s.x.low, py + wrapY + s.y.low, px + wrapX + s.x.high,
                         py + wrapY + s.y.high);
        }
    }
}

// Lights the chosen samples of every pixel of [left, left + width) x [top, top + height).
HRESULT DrawChoice(IDirect3DDevice9* device, const SampleChoice& choice, int left, int top, int width,
                   int height) {
    if (choice.covered == 0) return S_OK;
    std::vector<PositionVertex> vertices;
    if (choice.whole) {
        AddRectangle(&vertices, left, top, left + width, top + height);
    } else {
        for (int y = top; y < top + height; ++y) {
            for (int x = left; x < left + width; ++x) {
                for (const SamplePosition* s : choice.positions) AddSampleSquares(&vertices, x, y, *s);
            }
        }
    }
    const RECT scissor = {left + kProbeMargin, top + kProbeMargin, left + width + kProbeMargin,
                          top + height + kProbeMargin};
    device->SetScissorRect(&scissor);
    device->SetRenderState(D3DRS_MULTISAMPLEMASK, choice.mask);
    return device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(vertices.size() / 3),
                                   vertices.data(), sizeof(PositionVertex));
}

// The pixel square cut by the half-plane normal . p < offset (p from the pixel's top-left).
std::vector<Point> ClippedPixel(double nx, double ny, double offset) {
    const Point corners[4] = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};
    std::vector<Point> kept;
    for (int k = 0; k < 4; ++k) {
        const Point a = corners[k];
        const Point b = corners[(k + 1) % 4];
        const double da = nx * a.x + ny * a.y - offset;
        const double db = nx * b.x + ny * b.y - offset;
        if (da <= 0.0) kept.push_back(a);
        if ((da < 0.0 && db > 0.0) || (da > 0.0 && db < 0.0)) {
            const double t = da / (da - db);
            kept.push_back({a.x + t * (b.x - a.x), a.y + t * (b.y - a.y)});
        }
    }
    return kept;
}

struct SweepAngle {
    const char* edge;
    double nx, ny;
};

// Vertical and horizontal edges, and an edge of slope 1/4 (normal (1, 4) / sqrt 17).
const SweepAngle kSweepAngles[] = {
    {"vertical", 1.0, 0.0},
    {"horizontal", 0.0, 1.0},
    {"shallow", 0.24253562503633297, 0.97014250014533188},
};

// Offsets 0, step, 2 step, ... up to the first that covers the whole pixel.
int SweepPositions(const SweepAngle& angle) {
    return static_cast<int>(std::ceil((angle.nx + angle.ny) / kEdgeStep - 1e-9)) + 1;
}

std::vector<PositionVertex> SweepTriangles(const SweepAngle& angle, int row) {
    std::vector<PositionVertex> vertices;
    for (int k = 0; k < SweepPositions(angle); ++k) {
        const std::vector<Point> polygon = ClippedPixel(angle.nx, angle.ny, k * kEdgeStep);
        const Point origin = {1.0 + 2.0 * k, static_cast<double>(row)};
        for (size_t v = 1; v + 1 < polygon.size(); ++v) {
            AddTriangle(&vertices, {origin.x + polygon[0].x, origin.y + polygon[0].y},
                        {origin.x + polygon[v].x, origin.y + polygon[v].y},
                        {origin.x + polygon[v + 1].x, origin.y + polygon[v + 1].y});
        }
    }
    return vertices;
}

// After the picture has been resolved as drawn: one black pixel drawn with sRGB writing on, the
// state off again, and the same samples resolved into the second cell.
HRESULT ResolveAfterSrgbDraw(IDirect3DDevice9* device, const ProbeSurfaces& surfaces, bool* drawn) {
    const bool ownScene = SUCCEEDED(device->BeginScene());
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    device->SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, 0xFF000000);
    const HRESULT srgb = device->SetRenderState(D3DRS_SRGBWRITEENABLE, TRUE);
    std::vector<PositionVertex> pixel;
    AddRectangle(&pixel, kLastDrawX, kLastDrawY, kLastDrawX + 1, kLastDrawY + 1);
    HRESULT hr = device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(pixel.size() / 3), pixel.data(),
                                         sizeof(PositionVertex));
    device->SetRenderState(D3DRS_SRGBWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, kWhite);
    if (ownScene) device->EndScene();
    if (SUCCEEDED(hr)) hr = ResolveIntoCell(device, surfaces, kLastDrawSrgbCell);
    *drawn = SUCCEEDED(srgb) && SUCCEEDED(hr);
    return hr;
}

HRESULT DrawPicture(IDirect3DDevice9* device, const ProbeSurfaces& surfaces,
                    const std::vector<SampleChoice>& rungs, const std::vector<SampleChoice>& lit,
                    bool* srgbTried, bool* afterSrgbDrawn) {
    SavedDeviceState saved(device);
    HRESULT hr = device->SetRenderTarget(0, surfaces.multisampled.Get());
    if (FAILED(hr)) return hr;
    device->SetDepthStencilSurface(nullptr);
    SetProbeStates(device);
    SelectTextureFactor(device);
    device->SetTexture(0, nullptr);
    device->SetFVF(D3DFVF_XYZ);
    // One world unit a pixel over the target with its margin: the picture starts kProbeMargin in.
    const float margin = static_cast<float>(kProbeMargin);
    const D3DMATRIX projection =
        OrthoProjection(-margin, static_cast<float>(kPictureWidth) + margin,
                        static_cast<float>(kPictureHeight) + margin, -margin, 0.0f, 1.0f);
    device->SetTransform(D3DTS_PROJECTION, &projection);
    device->SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);
    device->Clear(0, nullptr, D3DCLEAR_TARGET, 0x00000000, 1.0f, 0);
    // A caller already inside a scene keeps it.
    const bool ownScene = SUCCEEDED(device->BeginScene());
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, TRUE);

    // Both sRGB rows must be drawn with the state taken: a row drawn without it would pass for one.
    bool srgbTaken = true;
    for (int row = 0; row < kLadderRows && SUCCEEDED(hr); ++row) {
        const bool srgb = row == kSrgbWhiteRow || row == kSrgbGreyRow;
        const HRESULT srgbState = device->SetRenderState(D3DRS_SRGBWRITEENABLE, srgb ? TRUE : FALSE);
        if (srgb && FAILED(srgbState)) srgbTaken = false;
        const bool grey = row == kGreyRow || row == kSrgbGreyRow;
        device->SetRenderState(D3DRS_TEXTUREFACTOR, grey ? kGrey : kWhite);
        for (size_t r = 0; r < rungs.size() && SUCCEEDED(hr); ++r) {
            hr = DrawChoice(device, rungs[r], static_cast<int>(r) * kBlockPitch + kBlockInset,
                            row * kLadderRowPitch + kBlockInset, kBlockSide, kBlockSide);
        }
    }
    device->SetRenderState(D3DRS_SRGBWRITEENABLE, FALSE);
    device->SetRenderState(D3DRS_TEXTUREFACTOR, kWhite);
    for (size_t s = 0; s < lit.size() && SUCCEEDED(hr); ++s) {
        hr = DrawChoice(device, lit[s], kFootprintPitch / 2 + static_cast<int>(s) * kFootprintPitch,
                        kFootprintRow, 1, 1);
    }

    // The sweeps light whole pixels' worth of samples each: one draw, no scissor.
    device->SetRenderState(D3DRS_SCISSORTESTENABLE, FALSE);
    device->SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);
    std::vector<PositionVertex> sweeps;
    for (int a = 0; a < 3; ++a) {
        const std::vector<PositionVertex> one = SweepTriangles(kSweepAngles[a], kSweepFirstRow + 2 * a);
        sweeps.insert(sweeps.end(), one.begin(), one.end());
    }
    if (SUCCEEDED(hr)) {
        hr = device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(sweeps.size() / 3), sweeps.data(),
                                     sizeof(PositionVertex));
    }
    if (ownScene) device->EndScene();
    if (SUCCEEDED(hr)) hr = ResolveIntoCell(device, surfaces, kLastDrawPlainCell);
    *srgbTried = srgbTaken && SUCCEEDED(hr);
    if (SUCCEEDED(hr)) hr = ResolveAfterSrgbDraw(device, surfaces, afterSrgbDrawn);
    return hr;
}

// What D3DUSAGE_QUERY_SRGBWRITE says of the format, on the device's adapter and display format.
std::vector<LadderStep> ReadLadder(const IntensityImage& image, const std::vector<SampleChoice>& rungs,
                                   int row) {
    std::vector<LadderStep> ladder;
    const int y = row * kLadderRowPitch + kBlockInset + kBlockSide / 2;
    for (size_t r = 0; r < rungs.size(); ++r) {
        const int x = static_cast<int>(r) * kBlockPitch + kBlockInset + kBlockSide / 2;
        ladder.push_back({rungs[r].covered, StepsOf(image.At(x, y), image.levels)});
    }
    return ladder;
}

}  // namespace

HRESULT MeasureResolve(IDirect3DDevice9* device, const ProbeTarget& target,
                       const SampleMeasurement& positions, ResolveMeasurement* out) {
    if (device == nullptr || out == nullptr) return E_INVALIDARG;
    const auto start = std::chrono::steady_clock::now();
    ChannelLayout green;
    if (!IntensityChannel(target.DrawnFormat(), &green)) return D3DERR_NOTAVAILABLE;
    ChannelLayout alpha;
    const bool hasAlpha = ChannelOf(target.DrawnFormat(), Channel::Alpha, &alpha);

    const std::vector<SampleChoice> rungs = LadderChoices(target, positions);
    const std::vector<SampleChoice> lit = FootprintChoices(target, positions);
    ProbeSurfaces surfaces;
    HRESULT hr = CreateProbeSurfaces(device, target, kPictureWidth, kPictureHeight, 2, &surfaces);
    bool srgbTried = false;
    bool afterSrgbDrawn = false;
    if (SUCCEEDED(hr)) hr = DrawPicture(device, surfaces, rungs, lit, &srgbTried, &afterSrgbDrawn);
    ProbeReadBack picture;
    if (SUCCEEDED(hr)) hr = picture.Read(device, surfaces);
    if (FAILED(hr)) return hr;

    const IntensityImage image = picture.Cell(kLastDrawPlainCell, green);
    ResolveReadings readings;
    readings.colourSamples = rungs.back().covered;
    readings.valueScale = image.levels;
    readings.greyDrawn = StepsOf(kGreyOf255 / 255.0f, image.levels);
    readings.white = ReadLadder(image, rungs, kWhiteRow);
    readings.grey = ReadLadder(image, rungs, kGreyRow);
    readings.srgbTried = srgbTried;
    readings.srgbCapsAnswer = CheckDeviceSurfaceFormat(device, D3DUSAGE_QUERY_SRGBWRITE, target.DrawnFormat());
    readings.srgbCaps = AskSrgbWriteCaps(device, target.DrawnFormat());
    if (srgbTried) {
        readings.srgbWhite = ReadLadder(image, rungs, kSrgbWhiteRow);
        readings.srgbGrey = ReadLadder(image, rungs, kSrgbGreyRow);
    }
    readings.afterSrgbDrawTried = afterSrgbDrawn;
    if (afterSrgbDrawn) {
        const IntensityImage after = picture.Cell(kLastDrawSrgbCell, green);
        readings.afterSrgbDraw.white = ReadLadder(after, rungs, kWhiteRow);
        readings.afterSrgbDraw.grey = ReadLadder(after, rungs, kGreyRow);
        if (srgbTried) {
            readings.afterSrgbDraw.srgbWhite = ReadLadder(after, rungs, kSrgbWhiteRow);
            readings.afterSrgbDraw.srgbGrey = ReadLadder(after, rungs, kSrgbGreyRow);
        }
    }
    if (hasAlpha) {
        const IntensityImage alphaImage = picture.Cell(kLastDrawPlainCell, alpha);
        readings.alphaScale = alphaImage.levels;
        readings.alpha = ReadLadder(alphaImage, rungs, kWhiteRow);
    }
    for (size_t s = 0; s < lit.size(); ++s) {
        FootprintMap map;
        const int cx = kFootprintPitch / 2 + static_cast<int>(s) * kFootprintPitch;
        for (int dy = 0; dy < kFootprintSide; ++dy) {
            for (int dx = 0; dx < kFootprintSide; ++dx) {
                map.values[dy][dx] = StepsOf(image.At(cx + dx - kFootprintSide / 2,
                                                      kFootprintRow + dy - kFootprintSide / 2),
                                             image.levels);
            }
        }
        readings.footprints.push_back(map);
    }
    for (int a = 0; a < 3; ++a) {
        EdgeSweep sweep;
        sweep.edge = kSweepAngles[a].edge;
        sweep.normalX = kSweepAngles[a].nx;
        sweep.normalY = kSweepAngles[a].ny;
        for (int k = 0; k < SweepPositions(kSweepAngles[a]); ++k) {
            sweep.offsets.push_back(k * kEdgeStep);
            sweep.values.push_back(StepsOf(image.At(1 + 2 * k, kSweepFirstRow + 2 * a), image.levels));
        }
        readings.sweeps.push_back(sweep);
    }

    DecodeResolve(readings, out);
    out->milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return S_OK;
}
