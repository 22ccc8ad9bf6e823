// Checks the fake Direct3D 9 device itself: reference counts, resource memory, the call log, the
// allocation-free hot paths, state blocks and the runtime rules it enforces.
#include "support/fake_device.h"
#include "support/present_parameters.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

namespace {

// Counts heap allocations while armed, to pin the fake's allocation-free hot paths.
std::atomic<bool> countAllocations{false};
std::atomic<int> allocations{0};

}  // namespace

// GCC flags free() of memory from the replaced operator new once both are inlined; they match.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

void* operator new(std::size_t size) {
    if (countAllocations) ++allocations;
    if (void* memory = std::malloc(size ? size : 1)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }

namespace {

using fakes::FakeDevice;
using fakes::FakeSurface;
using fakes::FakeTexture;
using fakes::FakeVertexBuffer;

D3DPRESENT_PARAMETERS Parameters(UINT width, UINT height) {
    return test_support::WindowedPresentParameters(width, height, D3DMULTISAMPLE_4_SAMPLES);
}

TEST(FakeDeviceReferences, ReleaseReportsRemainingCountAndKeepsDeviceWhenAsked) {
    FakeDevice* device = new FakeDevice();
    device->deleteOnFinalRelease = false;
    IUnknown* unknown = nullptr;
    ASSERT_EQ(S_OK, device->QueryInterface(__uuidof(IUnknown), reinterpret_cast<void**>(&unknown)));
    EXPECT_EQ(static_cast<IUnknown*>(static_cast<IDirect3DDevice9*>(device)), unknown);
    EXPECT_EQ(device, FakeDevice::From(unknown));
    EXPECT_EQ(1u, unknown->Release());
    void* other = reinterpret_cast<void*>(1);
    EXPECT_EQ(E_NOINTERFACE, device->QueryInterface(__uuidof(IDirect3DSurface9), &other));
    EXPECT_EQ(nullptr, other);

    device->extraReferences = 1;  // a leak elsewhere
    EXPECT_EQ(1u, device->Release());
    EXPECT_EQ(0u, device->RefCount());
    delete device;
}

TEST(FakeDeviceReferences, ResourcesOutliveTheProductsReleaseAndAreCountedWhileHeld) {
    FakeDevice device;
    IDirect3DVertexBuffer9* buffer = nullptr;
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3D_OK, device.CreateVertexBuffer(120, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, D3DPOOL_MANAGED, &buffer, nullptr));
    ASSERT_EQ(D3D_OK, device.CreateTexture(32, 32, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture, nullptr));
    IDirect3DSurface9* level = nullptr;
    ASSERT_EQ(D3D_OK, texture->GetSurfaceLevel(0, &level));
    EXPECT_EQ(2u, device.textureList[0]->refCount);  // a level counts on its texture
    level->Release();
    EXPECT_EQ(2, device.LiveResourceCount());

    void* data = nullptr;
    ASSERT_EQ(D3D_OK, buffer->Lock(0, 0, &data, 0));
    static_cast<BYTE*>(data)[119] = 0x5A;
    buffer->Unlock();
    EXPECT_EQ(0u, buffer->Release());
    EXPECT_EQ(0u, texture->Release());

    EXPECT_EQ(0, device.LiveResourceCount()) << device.LiveResourceReport();
    EXPECT_EQ(0x5A, device.vertexBuffers[0]->bytes[119]);
    EXPECT_EQ(1u, device.RefCount());  // resources do not count on the device by default
}

TEST(FakeDeviceResources, LocksGiveTightlyPackedMemoryAndRecordTheirArguments) {
    FakeDevice device;
    IDirect3DTexture9* texture = nullptr;
    ASSERT_EQ(D3D_OK, device.CreateTexture(256, 256, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture, nullptr));
    D3DLOCKED_RECT locked{};
    ASSERT_EQ(D3D_OK, texture->LockRect(0, &locked, nullptr, 0));
    EXPECT_EQ(512, locked.Pitch);
    static_cast<WORD*>(locked.pBits)[3 * 256 + 2] = 0xFFFF;
    EXPECT_EQ(D3DERR_INVALIDCALL, texture->LockRect(0, &locked, nullptr, 0));  // already locked
    EXPECT_EQ(D3D_OK, texture->UnlockRect(0));
    EXPECT_EQ(0xFFFFu, device.textureList[0]->levels[0]->PixelAt(2, 3));
    texture->Release();

    IDirect3DVertexBuffer9* buffer = nullptr;
    ASSERT_EQ(D3D_OK, device.CreateVertexBuffer(9600, D3DUSAGE_WRITEONLY | D3DUSAGE_DYNAMIC, 0, D3DPOOL_DEFAULT,
                                                &buffer, nullptr));
    void* data = nullptr;
    EXPECT_EQ(D3DERR_INVALIDCALL, buffer->Lock(9000, 700, &data, 0));
    ASSERT_EQ(D3D_OK, buffer->Lock(0, 0, &data, D3DLOCK_DISCARD));
    buffer->Unlock();
    const FakeVertexBuffer& fake = *device.vertexBuffers[0];
    EXPECT_EQ(static_cast<DWORD>(D3DLOCK_DISCARD), fake.lastLockFlags);
    EXPECT_EQ(1, fake.lockCount);
    EXPECT_EQ(9600u, fake.desc.Size);
    buffer->Release();
}

TEST(FakeDeviceResources, BackBufferFollowsPresentParametersAndReset) {
    FakeDevice device(Parameters(800, 600));
    IDirect3DSurface9* surface = nullptr;
    ASSERT_EQ(D3D_OK, device.GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &surface));
    D3DSURFACE_DESC desc{};
    surface->GetDesc(&desc);
    EXPECT_EQ(800u, desc.Width);
    EXPECT_EQ(600u, desc.Height);
    EXPECT_EQ(D3DMULTISAMPLE_4_SAMPLES, desc.MultiSampleType);

    D3DPRESENT_PARAMETERS bigger = Parameters(1024, 768);
    EXPECT_EQ(D3DERR_INVALIDCALL, device.Reset(&bigger));  // the back buffer is still held
    surface->Release();
    device.renderStates[D3DRS_LIGHTING] = FALSE;
    ASSERT_EQ(D3D_OK, device.Reset(&bigger));
    EXPECT_EQ(TRUE, device.renderStates[D3DRS_LIGHTING]);  // Reset restores the defaults
    D3DVIEWPORT9 viewport{};
    device.GetViewport(&viewport);
    EXPECT_EQ(1024u, viewport.Width);
    EXPECT_EQ(768u, viewport.Height);
    EXPECT_EQ(1024u, device.backBuffer->desc.Width);
}

TEST(FakeDeviceLog, CallsAreLoggedWithDecimalArgumentsAndStateIsMirrored) {
    FakeDevice device;
    IDirect3DVertexBuffer9* buffer = nullptr;
    device.CreateVertexBuffer(240, 0, D3DFVF_XYZ, D3DPOOL_MANAGED, &buffer, nullptr);
    D3DMATRIX matrix{};
    matrix._11 = 2.0f;
    device.ClearCalls();

    device.BeginScene();
    device.Clear(0, nullptr, D3DCLEAR_TARGET, 0x00FFFFFF, 1.0f, 0);
    device.SetRenderState(D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF);
    device.SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG2);
    device.SetTransform(D3DTS_PROJECTION, &matrix);
    device.SetStreamSource(0, buffer, 0, 12);
    device.SetFVF(D3DFVF_XYZ);
    device.SetTexture(0, nullptr);
    DWORD maskAtDraw = 0;
    device.onDrawPrimitive = [&maskAtDraw](FakeDevice& d, D3DPRIMITIVETYPE, UINT, UINT) {
        maskAtDraw = d.renderStates[D3DRS_MULTISAMPLEMASK];
    };
    device.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 6);
    const float vertices[4][3] = {};
    device.DrawPrimitiveUP(D3DPT_TRIANGLESTRIP, 2, vertices, 12);
    device.EndScene();
    device.Present(nullptr, nullptr, nullptr, nullptr);

    const std::vector<std::string> expected = {
        "BeginScene", "Clear 0 1 0x00FFFFFF 1 0", "SetRenderState 162 4294967295", "SetSamplerState 0 6 1",
        "SetTextureStageState 0 1 3", "SetTransform 3", "SetStreamSource 0 ptr 0 12", "SetFVF 2",
        "SetTexture 0 null", "DrawPrimitive 4 0 6", "DrawPrimitiveUP 5 2 12", "EndScene", "Present",
    };
    EXPECT_EQ(expected, device.calls);
    EXPECT_EQ(0xFFFFFFFFu, maskAtDraw);
    ASSERT_EQ(1u, device.transforms.size());
    EXPECT_EQ(2.0f, device.transforms[0].second._11);
    EXPECT_EQ(2.0f, device.projectionMatrix._11);
    ASSERT_EQ(1u, device.upVertexData.size());
    EXPECT_EQ(48u, device.upVertexData[0].size());
    EXPECT_EQ(nullptr, device.streamSource0);  // a draw from user memory unsets stream 0
    EXPECT_EQ(0, device.misuseCount) << device.lastMisuse;
    buffer->Release();
}

TEST(FakeDeviceLog, WithoutRecordingTheHotPathsCountButNeverAllocate) {
    FakeDevice device;
    IDirect3DVertexBuffer9* buffer = nullptr;
    device.CreateVertexBuffer(1200, D3DUSAGE_WRITEONLY, D3DFVF_XYZ, D3DPOOL_MANAGED, &buffer, nullptr);
    IDirect3DStateBlock9* block = nullptr;
    device.BeginStateBlock();
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device.EndStateBlock(&block);
    int draws = 0;
    device.onDrawPrimitive = [&draws](FakeDevice&, D3DPRIMITIVETYPE, UINT, UINT) { ++draws; };
    device.recordCalls = false;
    device.ClearCalls();
    D3DMATRIX identity{};
    const float vertices[3][3] = {};

    allocations = 0;
    countAllocations = true;
    device.BeginScene();
    device.Clear(0, nullptr, D3DCLEAR_TARGET, 0, 1.0f, 0);
    block->Capture();
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    device.SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_LINEAR);
    device.SetTextureStageState(1, D3DTSS_ALPHAOP, D3DTOP_DISABLE);
    device.SetTransform(D3DTS_VIEW, &identity);
    device.SetStreamSource(0, buffer, 0, 12);
    void* data = nullptr;
    buffer->Lock(0, 0, &data, 0);
    buffer->Unlock();
    device.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1);
    device.DrawPrimitiveUP(D3DPT_TRIANGLELIST, 1, vertices, 12);
    block->Apply();
    device.EndScene();
    device.Present(nullptr, nullptr, nullptr, nullptr);
    countAllocations = false;

    EXPECT_EQ(0, allocations.load());
    EXPECT_TRUE(device.calls.empty());
    EXPECT_EQ(1, device.drawPrimitiveCount);
    EXPECT_EQ(1, device.drawPrimitiveUPCount);
    EXPECT_EQ(1, device.presentCount);
    EXPECT_EQ(1, draws);

    device.recordCalls = true;  // the counter itself works: a logged call allocates
    countAllocations = true;
    device.SetRenderState(D3DRS_ALPHABLENDENABLE, FALSE);
    countAllocations = false;
    EXPECT_GT(allocations.load(), 0);
    block->Release();
    buffer->Release();
}

TEST(FakeDeviceStateBlocks, RecordingLeavesDeviceStateAndApplyRestoresCapturedValues) {
    FakeDevice device;
    device.SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    IDirect3DStateBlock9* saved = nullptr;
    device.BeginStateBlock();
    device.SetRenderState(D3DRS_ALPHATESTENABLE, TRUE);
    device.SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    ASSERT_EQ(D3D_OK, device.EndStateBlock(&saved));
    EXPECT_EQ(static_cast<DWORD>(FALSE), device.renderStates[D3DRS_ALPHATESTENABLE]);

    saved->Apply();
    EXPECT_EQ(static_cast<DWORD>(TRUE), device.renderStates[D3DRS_ALPHATESTENABLE]);
    device.SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device.SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_LINEAR);
    saved->Capture();
    saved->Apply();
    EXPECT_EQ(static_cast<DWORD>(FALSE), device.renderStates[D3DRS_ALPHATESTENABLE]);
    EXPECT_EQ(static_cast<DWORD>(D3DTEXF_LINEAR), device.samplerStates[0][D3DSAMP_MINFILTER]);
    EXPECT_EQ(1, device.CountCalls("StateBlock.Capture 0"));
    EXPECT_EQ(2, device.CountCalls("StateBlock.Apply 0"));
    saved->Release();
}

TEST(FakeDeviceFailures, CreationsFailOnRequestAndMisuseIsCounted) {
    FakeDevice device;
    device.failCreateVertexBufferAfter = 1;
    IDirect3DVertexBuffer9* first = nullptr;
    IDirect3DVertexBuffer9* second = nullptr;
    EXPECT_EQ(D3D_OK, device.CreateVertexBuffer(80, 0, 0, D3DPOOL_MANAGED, &first, nullptr));
    EXPECT_EQ(D3DERR_OUTOFVIDEOMEMORY, device.CreateVertexBuffer(80, 0, 0, D3DPOOL_MANAGED, &second, nullptr));
    EXPECT_EQ(nullptr, second);
    EXPECT_EQ(D3D_OK, device.CreateVertexBuffer(80, 0, 0, D3DPOOL_MANAGED, &second, nullptr));
    device.createTextureResult = E_OUTOFMEMORY;
    IDirect3DTexture9* texture = nullptr;
    EXPECT_EQ(E_OUTOFMEMORY, device.CreateTexture(32, 32, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture, nullptr));

    device.testCooperativeLevelResults = {D3DERR_DEVICELOST, D3DERR_DEVICENOTRESET};
    EXPECT_EQ(D3DERR_DEVICELOST, device.TestCooperativeLevel());
    EXPECT_EQ(D3DERR_DEVICENOTRESET, device.TestCooperativeLevel());
    EXPECT_EQ(D3D_OK, device.TestCooperativeLevel());

    EXPECT_EQ(D3DERR_INVALIDCALL, device.DrawPrimitive(D3DPT_TRIANGLELIST, 0, 1));
    EXPECT_EQ(1, device.misuseCount);
    device.caps.MaxTextureWidth = 1024;
    device.createTextureResult = D3D_OK;
    EXPECT_EQ(D3DERR_INVALIDCALL, device.CreateTexture(2048, 2048, 1, 0, D3DFMT_A4R4G4B4, D3DPOOL_MANAGED, &texture, nullptr));
    EXPECT_EQ(2, device.misuseCount);
    first->Release();
    second->Release();
}

}  // namespace
