// All 256 alphas go into one picture: 16 x 16 blocks of 4 x 4 pixels, block (a % 16, a / 16)
// drawn in white of alpha a. One picture per sample (the others blacked out, see
// per_sample_drawing.h) and one with every sample, per switch, each resolved into its own cell and
// all read back at once.
#include "analysis/alpha_to_coverage/alpha_to_coverage_probe.h"


#include <chrono>
#include <cmath>
#include <vector>

#include "analysis/alpha_to_coverage/alpha_to_coverage_decoder.h"
#include "analysis/probing/per_sample_drawing.h"

namespace {


constexpr int kBlocksPerRow = 16;
constexpr UINT kSide = kBlocksPerRow * kCoverageBlock;  // 64 pixels
constexpr DWORD kAtoc = MAKEFOURCC('A', 'T', 'O', 'C');
constexpr DWORD kA2m1 = MAKEFOURCC('A', '2', 'M', '1');
constexpr DWORD kA2m0 = MAKEFOURCC('A', '2', 'M', '0');
constexpr DWORD kAlphaTestReference = 1;

const CoverageSwitch kSwitches[] = {CoverageSwitch::AtocWithAlphaTest, CoverageSwitch::Atoc,
                                    CoverageSwitch::A2m1};

// What the runtime says of the switch: CheckDeviceFormat for its FOURCC as a surface format,
// the drivers' convention for announcing it.
CapsAnswer FourccAnswer(IDirect3DDevice9* device, CoverageSwitch coverageSwitch) {
    const bool a2m1 = coverageSwitch == CoverageSwitch::A2m1;
    const DWORD fourcc = a2m1 ? kA2m1 : kAtoc;
    const HRESULT hr = CheckDeviceSurfaceFormat(device, 0, static_cast<D3DFORMAT>(fourcc));
    return {std::string("CheckDeviceFormat(0, D3DRTYPE_SURFACE, ") + (a2m1 ? "'A2M1'" : "'ATOC'") + ")",
            HResultName(hr), SUCCEEDED(hr)};
}

void SetSwitch(IDirect3DDevice9* device, CoverageSwitch coverageSwitch, bool on) {
    if (coverageSwitch == CoverageSwitch::A2m1) {
        device->SetRenderState(D3DRS_POINTSIZE, on ? kA2m1 : kA2m0);
    } else {
        device->SetRenderState(D3DRS_ADAPTIVETESS_Y, on ? kAtoc : DWORD{D3DFMT_UNKNOWN});
    }
    const bool alphaTest = on && coverageSwitch == CoverageSwitch::AtocWithAlphaTest;
    device->SetRenderState(D3DRS_ALPHATESTENABLE, alphaTest ? TRUE : FALSE);
    device->SetRenderState(D3DRS_ALPHAREF, kAlphaTestReference);
    device->SetRenderState(D3DRS_ALPHAFUNC, D3DCMP_GREATEREQUAL);
}

std::vector<ColouredVertex> AlphaBlocks() {
    std::vector<ColouredVertex> vertices;
    for (int alpha = 0; alpha < 256; ++alpha) {
        // Block edges on pixel edges: Direct3D 9 puts pixel centres on whole coordinates.
        const float left = static_cast<float>(alpha % kBlocksPerRow * kCoverageBlock + kProbeMargin) - 0.5f;
        const float top = static_cast<float>(alpha / kBlocksPerRow * kCoverageBlock + kProbeMargin) - 0.5f;
        const float right = left + kCoverageBlock;
        const float bottom = top + kCoverageBlock;
        const D3DCOLOR colour = D3DCOLOR_ARGB(alpha, 255, 255, 255);
        const ColouredVertex corners[6] = {
            {left, top, 0.5f, 1.0f, colour},    {right, top, 0.5f, 1.0f, colour},
            {left, bottom, 0.5f, 1.0f, colour}, {right, top, 0.5f, 1.0f, colour},
            {right, bottom, 0.5f, 1.0f, colour}, {left, bottom, 0.5f, 1.0f, colour},
        };
        vertices.insert(vertices.end(), corners, corners + 6);
    }
    return vertices;
}

struct Pass {
    size_t map;  // index into the measurement's switches
    int sample;  // the one kept, -1 for every sample
};

HRESULT DrawPasses(IDirect3DDevice9* device, const ProbeSurfaces& surfaces,
                   const std::vector<AlphaToCoverageMap>& maps, const std::vector<Pass>& passes) {
    SavedDeviceState saved(device);
    HRESULT hr = device->SetRenderTarget(0, surfaces.multisampled.Get());
    if (FAILED(hr)) return hr;
    device->SetDepthStencilSurface(nullptr);
    const std::vector<ColouredVertex> blocks = AlphaBlocks();
    for (size_t k = 0; k < passes.size() && SUCCEEDED(hr); ++k) {
        const CoverageSwitch coverageSwitch = maps[passes[k].map].coverageSwitch;
        SetPerSampleDrawingStates(device);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0);
        // A caller already inside a scene keeps it.
        const bool ownScene = SUCCEEDED(device->BeginScene());
        SetSwitch(device, coverageSwitch, true);
        hr = device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, static_cast<UINT>(blocks.size() / 3),
                                     blocks.data(), sizeof(ColouredVertex));
        // Off before anything else is drawn, and before the saved states come back: a runtime
        // may keep the switch until it sees the value that turns it off.
        SetSwitch(device, coverageSwitch, false);
        if (SUCCEEDED(hr) && passes[k].sample >= 0) {
            hr = KeepOnlySample(device, surfaces.TargetWidth(), surfaces.TargetHeight(), passes[k].sample);
        }
        if (ownScene) device->EndScene();
        if (SUCCEEDED(hr)) hr = ResolveIntoCell(device, surfaces, k);
    }
    return hr;
}

}  // namespace

HRESULT MeasureAlphaToCoverage(IDirect3DDevice9* device, const ProbeTarget& target,
                               const SampleMeasurement& positions, const ResolveCounting& counting,
                               AlphaToCoverageMeasurement* out) {
    if (device == nullptr || out == nullptr) return E_INVALIDARG;
    const auto start = std::chrono::steady_clock::now();
    ChannelLayout green;
    if (!IntensityChannel(target.DrawnFormat(), &green)) return D3DERR_NOTAVAILABLE;

    // Samples a pixel has; a non-maskable mode's only from the positions measured.
    int samples = target.MaskSamples();
    if (samples == 0) {
        for (const SamplePosition& sample : positions.samples) samples += sample.count;
    }
    const bool isolate = target.Maskable();
    // Each sample alone needs single samples read; the union, or the count where samples cannot be
    // isolated, needs counting. Where the mask isolates but the resolve cannot count, the per-sample
    // maps stand and the union goes unchecked.
    std::string declined = isolate ? counting.singleDeclined : counting.countDeclined;

    std::vector<AlphaToCoverageMap> maps;
    std::vector<Pass> passes;
    for (CoverageSwitch coverageSwitch : kSwitches) {
        AlphaToCoverageMap map;
        map.coverageSwitch = coverageSwitch;
        map.caps.answers.push_back(FourccAnswer(device, coverageSwitch));
        map.offered = map.caps.Claimed();
        // Drawn with whatever the answer: some runtimes apply a switch they do not announce. Not
        // drawn where no sample was found, or where the resolve cannot say what was covered.
        map.caps.tried = samples > 0 && declined.empty();
        if (samples == 0) map.caps.tryCall = "no sample found";
        if (samples > 0 && !declined.empty()) {
            map.verdict = AlphaToCoverageVerdict::Declined;
            map.declined = declined;
            map.caps.tryCall = declined;
        }
        if (map.caps.tried) {
            for (int s = 0; isolate && s < samples; ++s) passes.push_back({maps.size(), s});
            passes.push_back({maps.size(), -1});
        }
        maps.push_back(map);
    }

    ProbeSurfaces surfaces;
    ProbeReadBack pictures;
    HRESULT hr = S_OK;
    if (!passes.empty()) {
        hr = CreateProbeSurfaces(device, target, kSide, kSide, static_cast<UINT>(passes.size()), &surfaces);
        if (SUCCEEDED(hr)) hr = DrawPasses(device, surfaces, maps, passes);
        if (SUCCEEDED(hr)) hr = pictures.Read(device, surfaces);
        if (FAILED(hr)) return hr;
    }

    for (size_t m = 0; m < maps.size(); ++m) {
        if (!maps[m].caps.tried) continue;
        AlphaCoverageObservations observations;
        observations.samples = samples;
        observations.perSample = isolate || samples == 1;
        observations.alphaTestReference =
            maps[m].coverageSwitch == CoverageSwitch::AtocWithAlphaTest ? kAlphaTestReference : 0;
        observations.covered.assign(256, BlockCoverage{});
        std::vector<BlockCoverage> counted(256, BlockCoverage{});
        for (size_t k = 0; k < passes.size(); ++k) {
            if (passes[k].map != m) continue;
            const IntensityImage image = pictures.Cell(k, green);
            for (int alpha = 0; alpha < 256; ++alpha) {
                for (int p = 0; p < kCoverageBlock * kCoverageBlock; ++p) {
                    const int x = alpha % kBlocksPerRow * kCoverageBlock + p % kCoverageBlock;
                    const int y = alpha / kBlocksPerRow * kCoverageBlock + p / kCoverageBlock;
                    // Read through what the resolve was measured to make of white samples.
                    const double resolved = image.At(x, y);
                    if (passes[k].sample >= 0) {
                        if (counting.Lit(passes[k].sample, resolved)) {
                            observations.covered[alpha][p] |= 1u << passes[k].sample;
                        }
                    } else if (counting.CanCount()) {
                        counted[alpha][p] = static_cast<unsigned>(counting.Count(resolved));
                    }
                }
            }
        }
        for (int alpha = 0; alpha < 256; ++alpha) {
            for (int p = 0; p < kCoverageBlock * kCoverageBlock; ++p) {
                const unsigned count = counted[alpha][p];
                if (!isolate) {
                    observations.covered[alpha][p] = count >= 32 ? ~0u : (1u << count) - 1u;
                } else if (counting.CanCount()) {
                    unsigned bits = observations.covered[alpha][p];
                    unsigned ones = 0;
                    for (; bits != 0; bits &= bits - 1) ++ones;
                    if (ones != count) observations.unionMatchesSamples = false;
                }
            }
        }
        DecodeAlphaToCoverage(observations, &maps[m]);
        maps[m].caps.works = AlphaToCoverageWorks(maps[m].verdict);
    }
    out->switches = std::move(maps);
    out->milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    return S_OK;
}
