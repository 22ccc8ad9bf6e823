// The shaders write the fraction of the interpolated position as red and green and a 1 as blue
// into an R8G8B8 target: blue says which samples a triangle covered, red and green where the
// input was evaluated. Each sample is read alone (per_sample_drawing.h) and its value taken back
// through what the resolve was measured to make of one sample alone: v / S for a box of stored
// values, where each coordinate is within (S + 1) / 2 steps of 1/levels of what the shader wrote
// (half a step when the sample is stored, S halves after the resolve's average is stored and
// multiplied back by S: 0.0098 pixel at 4 samples and 8 bits); wider where it averages linear light.
#include "analysis/centroid/centroid_probe.h"

#include <wrl/client.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "analysis/centroid/centroid_decoder.h"
#include "analysis/probing/per_sample_drawing.h"
#include "enumeration/value_names.h"
#include "pattern/pattern_contents.h"

namespace {

// The point comes back in red and green, and blue says which sample drew it: "blue", "green and
// no blue" for what the format lacks of them, empty where it has all three.
std::string MissingPointChannels(D3DFORMAT format, ChannelLayout* red, ChannelLayout* green, ChannelLayout* blue) {
    const struct {
        Channel channel;
        ChannelLayout* layout;
        const char* name;
    } wanted[] = {{Channel::Red, red, "red"}, {Channel::Green, green, "green"}, {Channel::Blue, blue, "blue"}};
    std::string missing;
    for (const auto& each : wanted) {
        if (!ChannelOf(format, each.channel, each.layout)) missing += (missing.empty() ? "" : " and no ") + std::string(each.name);
    }
    return missing;
}

using Microsoft::WRL::ComPtr;

// The measured pixel is the picture's one pixel, the middle one of its target with the margin.
constexpr UINT kSide = 1;
constexpr int kPixel = 0;

// vs_3_0
// dcl_position v0
// dcl_texcoord0 v1
// dcl_position o0
// dcl_texcoord0 o1
// mov o0, v0
// mov o1, v1
const DWORD kVertexShader[] = {
    0xFFFE0300,
    0x0200001F, 0x80000000, 0x900F0000,
    0x0200001F, 0x80000005, 0x900F0001,
    0x0200001F, 0x80000000, 0xE00F0000,
    0x0200001F, 0x80000005, 0xE00F0001,
    0x02000001, 0xE00F0000, 0x90E40000,
    0x02000001, 0xE00F0001, 0x90E40001,
    0x0000FFFF,
};

// ps_3_0
// def c0, 0, 0, 1, 1
// dcl_texcoord0_centroid v0.xy     (plain: dcl_texcoord0 v0.xy, the 0x00400000 bit clear)
// frc r0.xy, v0
// mov r0.zw, c0
// mov oC0, r0
constexpr DWORD kCentroidModifier = 0x00400000;  // D3DSPDM_MSAMPCENTROID in the dcl's register
const DWORD kPixelShader3[] = {
    0xFFFF0300,
    0x05000051, 0xA00F0000, 0x00000000, 0x00000000, 0x3F800000, 0x3F800000,
    0x0200001F, 0x80000005, 0x90030000,
    0x02000013, 0x80030000, 0x90E40000,
    0x02000001, 0x800C0000, 0xA0E40000,
    0x02000001, 0x800F0800, 0x80E40000,
    0x0000FFFF,
};
constexpr size_t kInputRegisterToken = 9;

// vs_2_0
// dcl_position v0
// dcl_texcoord0 v1
// mov oPos, v0
// mov oT0, v1
const DWORD kVertexShader2[] = {
    0xFFFE0200,
    0x0200001F, 0x80000000, 0x900F0000,
    0x0200001F, 0x80000005, 0x900F0001,
    0x02000001, 0xC00F0000, 0x90E40000,
    0x02000001, 0xE00F0000, 0x90E40001,
    0x0000FFFF,
};

// ps_2_0 declares _centroid on its texture coordinates too.
// ps_2_0
// def c0, 0, 0, 1, 1
// dcl_centroid t0.xy               (plain: dcl t0.xy, the 0x00400000 bit clear)
// frc r0.xy, t0
// mov r0.zw, c0
// mov oC0, r0
const DWORD kPixelShader2[] = {
    0xFFFF0200,
    0x05000051, 0xA00F0000, 0x00000000, 0x00000000, 0x3F800000, 0x3F800000,
    0x0200001F, 0x80000000, 0xB0030000,
    0x02000013, 0x80030000, 0xB0E40000,
    0x02000001, 0x800C0000, 0xA0E40000,
    0x02000001, 0x800F0800, 0x80E40000,
    0x0000FFFF,
};

// Each model the input is declared in, the highest first: the measurement is the first the device
// draws with, and every one is tried for what its _centroid does.
struct ShaderModel {
    const char* name;
    DWORD pixelVersion;
    DWORD vertexVersion;
    const DWORD* vertexShader;
    const DWORD* pixelShader;
    size_t pixelShaderTokens;
};

const ShaderModel kShaderModels[] = {
    {"ps_3_0", D3DPS_VERSION(3, 0), D3DVS_VERSION(3, 0), kVertexShader, kPixelShader3,
     sizeof kPixelShader3 / sizeof(DWORD)},
    {"ps_2_0", D3DPS_VERSION(2, 0), D3DVS_VERSION(2, 0), kVertexShader2, kPixelShader2,
     sizeof kPixelShader2 / sizeof(DWORD)},
};

struct Shaders {
    ComPtr<IDirect3DVertexShader9> vertex;
    ComPtr<IDirect3DPixelShader9> centroid;
    ComPtr<IDirect3DPixelShader9> plain;
};

// Names the call that failed, where one did.
HRESULT CreateShaders(IDirect3DDevice9* device, const ShaderModel& model, Shaders* shaders, std::string* call) {
    std::vector<DWORD> centroid(model.pixelShader, model.pixelShader + model.pixelShaderTokens);
    centroid[kInputRegisterToken] |= kCentroidModifier;
    *call = "CreateVertexShader";
    HRESULT hr = device->CreateVertexShader(model.vertexShader, &shaders->vertex);
    if (SUCCEEDED(hr)) {
        *call = "CreatePixelShader";
        hr = device->CreatePixelShader(centroid.data(), &shaders->centroid);
    }
    if (SUCCEEDED(hr)) hr = device->CreatePixelShader(model.pixelShader, &shaders->plain);
    return hr;
}

std::string VersionText(DWORD version) {
    return std::to_string(D3DSHADER_VERSION_MAJOR(version)) + "." + std::to_string(D3DSHADER_VERSION_MINOR(version));
}

// The caps' shader versions against the model: the claim that its _centroid can be declared.
CapsAnswer ShaderModelAnswer(const D3DCAPS9& caps, const ShaderModel& model) {
    return {"D3DCAPS9 PixelShaderVersion, VertexShaderVersion",
            "ps " + VersionText(caps.PixelShaderVersion) + ", vs " + VersionText(caps.VertexShaderVersion),
            caps.PixelShaderVersion >= model.pixelVersion && caps.VertexShaderVersion >= model.vertexVersion};
}

// A triangle reaching 8 pixels past the measured pixel on the covered side of the edge, in clip
// coordinates of a square target targetSide pixels wide, with the target position as texture
// coordinates: pixel p's top-left corner at p. Direct3D 9 puts pixel centres on whole viewport
// coordinates, so a point f from the corner of pixel p lies at viewport p - 1/2 + f.
void EdgeTriangle(const CoveringEdge& edge, UINT targetSide, TexturedVertex* vertices) {
    const double px = edge.nx * edge.offset;
    const double py = edge.ny * edge.offset;
    const double corners[3][2] = {
        {px - 8.0 * edge.ny, py + 8.0 * edge.nx},
        {px + 8.0 * edge.ny, py - 8.0 * edge.nx},
        {px + 8.0 * edge.nx, py + 8.0 * edge.ny},
    };
    for (int k = 0; k < 3; ++k) {
        const double x = kPixel + kProbeMargin + corners[k][0];
        const double y = kPixel + kProbeMargin + corners[k][1];
        const double side = targetSide;
        vertices[k].x = static_cast<float>(2.0 * (x - 0.5) / side - 1.0);
        vertices[k].y = static_cast<float>(1.0 - 2.0 * (y - 0.5) / side);
        vertices[k].z = 0.5f;
        vertices[k].u = static_cast<float>(x);
        vertices[k].v = static_cast<float>(y);
    }
}

struct Pass {
    size_t edge;
    bool centroid;
    int sample;
};

HRESULT DrawPasses(IDirect3DDevice9* device, const ProbeSurfaces& surfaces, const Shaders& shaders,
                   const std::vector<CoveringEdge>& edges, const std::vector<Pass>& passes) {
    SavedDeviceState saved(device);
    HRESULT hr = device->SetRenderTarget(0, surfaces.multisampled.Get());
    if (FAILED(hr)) return hr;
    device->SetDepthStencilSurface(nullptr);
    for (size_t k = 0; k < passes.size() && SUCCEEDED(hr); ++k) {
        SetPerSampleDrawingStates(device);
        device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
        device->Clear(0, nullptr, D3DCLEAR_TARGET, D3DCOLOR_ARGB(255, 0, 0, 0), 1.0f, 0);
        const bool ownScene = SUCCEEDED(device->BeginScene());
        TexturedVertex triangle[3];
        EdgeTriangle(edges[passes[k].edge], surfaces.TargetWidth(), triangle);
        device->SetFVF(D3DFVF_XYZ | D3DFVF_TEX1);
        device->SetVertexShader(shaders.vertex.Get());
        device->SetPixelShader(passes[k].centroid ? shaders.centroid.Get() : shaders.plain.Get());
        hr = device->DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, triangle, sizeof(TexturedVertex));
        if (SUCCEEDED(hr)) hr = KeepOnlySample(device, surfaces.TargetWidth(), surfaces.TargetHeight(), passes[k].sample);
        if (ownScene) device->EndScene();
        if (SUCCEEDED(hr)) hr = ResolveIntoCell(device, surfaces, k);
    }
    return hr;
}

PixelPoint Mean(const std::vector<PixelPoint>& points) {
    PixelPoint mean;
    for (const PixelPoint& p : points) {
        mean.x += p.x / points.size();
        mean.y += p.y / points.size();
    }
    return mean;
}

// Every edge drawn with and without _centroid, each sample read alone, and the cases decoded into
// result, whose samples are set.
HRESULT MeasureCases(IDirect3DDevice9* device, const ProbeTarget& target, const Shaders& shaders,
                     const std::vector<CoveringEdge>& edges, const ChannelLayout& red, const ChannelLayout& green,
                     const ChannelLayout& blue, const ResolveCounting& counting, CentroidMeasurement* result) {
    const int samples = target.MaskSamples();
    std::vector<Pass> passes;
    for (size_t e = 0; e < edges.size(); ++e) {
        for (bool centroid : {true, false}) {
            for (int s = 0; s < samples; ++s) passes.push_back({e, centroid, s});
        }
    }
    ProbeSurfaces surfaces;
    ProbeReadBack pictures;
    HRESULT hr = CreateProbeSurfaces(device, target, kSide, kSide, static_cast<UINT>(passes.size()), &surfaces);
    if (SUCCEEDED(hr)) hr = DrawPasses(device, surfaces, shaders, edges, passes);
    if (SUCCEEDED(hr)) hr = pictures.Read(device, surfaces);
    if (FAILED(hr)) return hr;

    result->cases.assign(edges.size(), CentroidCase());
    for (size_t e = 0; e < edges.size(); ++e) {
        result->cases[e].intended = edges[e].covers;
        result->cases[e].centreCovered = edges[e].centreInside;
    }
    for (size_t k = 0; k < passes.size(); ++k) {
        const IntensityImage r = pictures.Cell(k, red);
        const IntensityImage g = pictures.Cell(k, green);
        const IntensityImage b = pictures.Cell(k, blue);
        CentroidCase& c = result->cases[passes[k].edge];
        // Blue 1 in this one sample, read through what the resolve makes of it alone.
        const int sample = passes[k].sample;
        if (!counting.Lit(sample, b.At(kPixel, kPixel))) continue;
        const PixelPoint point{counting.SampleValue(sample, r.At(kPixel, kPixel)),
                               counting.SampleValue(sample, g.At(kPixel, kPixel))};
        if (passes[k].centroid) {
            c.covered |= 1u << passes[k].sample;
            c.evaluatedPerSample.push_back(point);
        } else {
            c.plainPerSample.push_back(point);
        }
    }
    for (CentroidCase& c : result->cases) {
        if (!c.evaluatedPerSample.empty()) c.evaluated = Mean(c.evaluatedPerSample);
        if (!c.plainPerSample.empty()) c.plain = Mean(c.plainPerSample);
    }
    // The coarsest sample's: every coordinate is within it.
    result->precision = 0.0;
    for (int s = 0; s < samples; ++s) result->precision = std::max(result->precision, counting.SampleValuePrecision(s));
    result->verdict = CentroidVerdict::Other;
    DecodeCentroid(result);
    return S_OK;
}

}  // namespace

HRESULT MeasureCentroid(IDirect3DDevice9* device, const ProbeTarget& target,
                        const SampleMeasurement& positions, const ResolveCounting& counting,
                        CentroidMeasurement* out) {
    if (device == nullptr || out == nullptr) return E_INVALIDARG;
    const auto start = std::chrono::steady_clock::now();
    CentroidMeasurement result;
    result.samples = positions.samples;
    D3DCAPS9 caps = {};
    HRESULT hr = device->GetDeviceCaps(&caps);
    if (FAILED(hr)) return hr;
    result.pixelShaderVersion = caps.PixelShaderVersion;
    ChannelLayout red, green, blue;
    const std::string missing = MissingPointChannels(target.DrawnFormat(), &red, &green, &blue);
    const std::vector<CoveringEdge> edges = ChooseCoveringEdges(positions.samples);
    if (target.type == D3DMULTISAMPLE_NONE) {
        result.unavailableReason = "one sample per pixel";
    } else if (!target.Maskable()) {
        result.unavailableReason = "non-maskable samples cannot be read one by one";
    } else if (!missing.empty()) {
        result.unavailableReason = std::string("the format ") + FormatText(target.DrawnFormat(), false) + " has no " +
                                   missing + " (the point is read in red and green, the sample that drew it in blue)";
    } else if (edges.empty()) {
        result.unavailableReason = "no sample positions";
    } else if (!counting.CanReadSingle()) {
        result.unavailableReason = counting.singleDeclined;
    } else if (!counting.CanReadValues()) {
        result.unavailableReason = counting.valueDeclined;
    }
    if (!result.unavailableReason.empty()) {
        // Where multisampling and a mask could serve but the read-back cannot, each model's caps
        // answer still stands beside the reason it was not measured.
        const bool readBackAtFault = target.type != D3DMULTISAMPLE_NONE && target.Maskable();
        for (const ShaderModel& model : kShaderModels) {
            if (!readBackAtFault) break;
            CentroidShaderModel entry;
            entry.shaderModel = model.name;
            entry.caps.answers.push_back(ShaderModelAnswer(caps, model));
            entry.caps.tryCall = result.unavailableReason;
            result.shaderModels.push_back(entry);
        }
    } else {
        // Every model is tried whatever the caps claim; the first drawn with is the measurement.
        bool measured = false;
        for (const ShaderModel& model : kShaderModels) {
            CentroidShaderModel entry;
            entry.shaderModel = model.name;
            entry.caps.answers.push_back(ShaderModelAnswer(caps, model));
            Shaders shaders;
            std::string call;
            hr = CreateShaders(device, model, &shaders, &call);
            if (FAILED(hr)) {
                entry.caps.tryCall = call;
                entry.caps.tryResult = hr;
                result.shaderModels.push_back(entry);
                continue;
            }
            CentroidMeasurement run = result;
            hr = MeasureCases(device, target, shaders, edges, red, green, blue, counting, &run);
            if (FAILED(hr)) return hr;
            // Drawn, but where the read-back cannot decide, the switch was not measured.
            entry.caps.tried = run.verdict != CentroidVerdict::Unavailable;
            if (!entry.caps.tried) entry.caps.tryCall = run.unavailableReason;
            entry.verdict = run.verdict;
            entry.coveredSampleRule = run.coveredSampleRule;
            entry.caps.works = CentroidHonoured(run.verdict);
            if (!measured) {
                run.shaderModels = result.shaderModels;
                result = std::move(run);
                measured = true;
            }
            result.shaderModels.push_back(entry);
        }
    }
    if (result.cases.empty()) result.verdict = CentroidVerdict::Unavailable;
    result.milliseconds =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
    *out = std::move(result);
    return S_OK;
}
