// What the per-sample probes share: the states their plain drawing relies on, and the step that
// leaves one sample of every pixel as drawn and blacks out the others, so that the resolve reads
// that one sample.
#pragma once

#include <windows.h>
#include <d3d9.h>

// A pre-transformed vertex in one colour (D3DFVF_XYZRHW | D3DFVF_DIFFUSE), as the per-sample
// probes draw.
struct ColouredVertex {
    float x, y, z, rhw;
    D3DCOLOR colour;
};

// Opaque, unblended, untextured fixed-function drawing of pre-transformed vertices in their
// diffuse colour, every sample enabled, no depth, stencil, fog, scissor or clip planes, no shaders.
void SetPerSampleDrawingStates(IDirect3DDevice9* device);

// Writes opaque black into every sample but sample (mask bit) of a width x height target, with
// the states of SetPerSampleDrawingStates, and enables every sample again.
//
// Why this reads one sample: the resolve of a pixel is the plain average of its S samples (the
// position measurement checks it, "resolve is not a plain average" otherwise). The black quad
// covers every sample of every pixel and the mask lets it into exactly the samples other than
// this one, so afterwards the pixel's average is v(sample) / S. Unlike drawing the measured
// primitive with the mask of this one sample, it leaves the coverage the pipeline computed for
// the primitive untouched (alpha to coverage and centroid both depend on it).
HRESULT KeepOnlySample(IDirect3DDevice9* device, UINT width, UINT height, int sample);
