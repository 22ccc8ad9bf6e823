// The memory-backed Direct3D 9 device of the unit tests: call log, state mirrors, resources and
// the runtime's rules that catch misuse (draws outside a scene, Reset with live default-pool objects).
#include "fake_device.h"
#include "present_parameters.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstring>

namespace fakes {

namespace {

const char* PointerText(const void* pointer) { return pointer ? "ptr" : "null"; }

struct FormatSize {
    D3DFORMAT format;
    UINT bytes;
};

constexpr FormatSize kFormatSizes[] = {
    {D3DFMT_A8R8G8B8, 4}, {D3DFMT_X8R8G8B8, 4}, {D3DFMT_A8B8G8R8, 4}, {D3DFMT_X8B8G8R8, 4},
    {D3DFMT_A2R10G10B10, 4}, {D3DFMT_A2B10G10R10, 4}, {D3DFMT_R8G8B8, 3}, {D3DFMT_R5G6B5, 2},
    {D3DFMT_X1R5G5B5, 2}, {D3DFMT_A1R5G5B5, 2}, {D3DFMT_A4R4G4B4, 2}, {D3DFMT_X4R4G4B4, 2},
    {D3DFMT_A8, 1}, {D3DFMT_L8, 1}, {D3DFMT_D16, 2}, {D3DFMT_D24S8, 4}, {D3DFMT_D24X8, 4},
    {D3DFMT_D32, 4}, {D3DFMT_G16R16, 4}, {D3DFMT_A16B16G16R16, 8}, {D3DFMT_R16F, 2}, {D3DFMT_G16R16F, 4},
    {D3DFMT_A16B16G16R16F, 8}, {D3DFMT_R32F, 4}, {D3DFMT_G32R32F, 8}, {D3DFMT_A32B32G32R32F, 16},
};

UINT BytesPerPixel(D3DFORMAT format) {
    for (const FormatSize& entry : kFormatSizes) {
        if (entry.format == format) return entry.bytes;
    }
    return 4;
}

DWORD FloatBits(float value) {
    DWORD bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

struct StateValue {
    DWORD state;
    DWORD value;
};

// The runtime's render-state defaults; states not listed start at 0.
const StateValue kRenderStateDefaults[] = {
    {D3DRS_FILLMODE, D3DFILL_SOLID}, {D3DRS_SHADEMODE, D3DSHADE_GOURAUD},
    {D3DRS_ZWRITEENABLE, TRUE}, {D3DRS_LASTPIXEL, TRUE}, {D3DRS_SRCBLEND, D3DBLEND_ONE},
    {D3DRS_DESTBLEND, D3DBLEND_ZERO}, {D3DRS_CULLMODE, D3DCULL_CCW},
    {D3DRS_ZFUNC, D3DCMP_LESSEQUAL}, {D3DRS_ALPHAFUNC, D3DCMP_ALWAYS},
    {D3DRS_FOGEND, FloatBits(1.0f)}, {D3DRS_FOGDENSITY, FloatBits(1.0f)},
    {D3DRS_STENCILFAIL, D3DSTENCILOP_KEEP}, {D3DRS_STENCILZFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_STENCILPASS, D3DSTENCILOP_KEEP}, {D3DRS_STENCILFUNC, D3DCMP_ALWAYS},
    {D3DRS_STENCILMASK, 0xFFFFFFFF}, {D3DRS_STENCILWRITEMASK, 0xFFFFFFFF},
    {D3DRS_TEXTUREFACTOR, 0xFFFFFFFF}, {D3DRS_CLIPPING, TRUE}, {D3DRS_LIGHTING, TRUE},
    {D3DRS_COLORVERTEX, TRUE}, {D3DRS_LOCALVIEWER, TRUE},
    {D3DRS_DIFFUSEMATERIALSOURCE, D3DMCS_COLOR1}, {D3DRS_SPECULARMATERIALSOURCE, D3DMCS_COLOR2},
    {D3DRS_POINTSIZE, FloatBits(1.0f)}, {D3DRS_POINTSIZE_MIN, FloatBits(1.0f)},
    {D3DRS_POINTSCALE_A, FloatBits(1.0f)}, {D3DRS_MULTISAMPLEANTIALIAS, TRUE},
    {D3DRS_MULTISAMPLEMASK, 0xFFFFFFFF}, {D3DRS_DEBUGMONITORTOKEN, 0xBAADCAFE},
    {D3DRS_POINTSIZE_MAX, FloatBits(64.0f)}, {D3DRS_COLORWRITEENABLE, 0xF},
    {D3DRS_BLENDOP, D3DBLENDOP_ADD}, {D3DRS_POSITIONDEGREE, D3DDEGREE_CUBIC},
    {D3DRS_NORMALDEGREE, D3DDEGREE_LINEAR}, {D3DRS_MINTESSELLATIONLEVEL, FloatBits(1.0f)},
    {D3DRS_MAXTESSELLATIONLEVEL, FloatBits(1.0f)}, {D3DRS_ADAPTIVETESS_Z, FloatBits(1.0f)},
    {D3DRS_CCW_STENCILFAIL, D3DSTENCILOP_KEEP}, {D3DRS_CCW_STENCILZFAIL, D3DSTENCILOP_KEEP},
    {D3DRS_CCW_STENCILPASS, D3DSTENCILOP_KEEP}, {D3DRS_CCW_STENCILFUNC, D3DCMP_ALWAYS},
    {D3DRS_COLORWRITEENABLE1, 0xF}, {D3DRS_COLORWRITEENABLE2, 0xF},
    {D3DRS_COLORWRITEENABLE3, 0xF}, {D3DRS_BLENDFACTOR, 0xFFFFFFFF},
    {D3DRS_SRCBLENDALPHA, D3DBLEND_ONE}, {D3DRS_DESTBLENDALPHA, D3DBLEND_ZERO},
    {D3DRS_BLENDOPALPHA, D3DBLENDOP_ADD},
};

const StateValue kSamplerStateDefaults[] = {
    {D3DSAMP_ADDRESSU, D3DTADDRESS_WRAP}, {D3DSAMP_ADDRESSV, D3DTADDRESS_WRAP},
    {D3DSAMP_ADDRESSW, D3DTADDRESS_WRAP}, {D3DSAMP_MAGFILTER, D3DTEXF_POINT},
    {D3DSAMP_MINFILTER, D3DTEXF_POINT}, {D3DSAMP_MIPFILTER, D3DTEXF_NONE},
    {D3DSAMP_MAXANISOTROPY, 1},
};

// Stage-independent texture-stage defaults; the ops and the coordinate index depend on the stage.
const StateValue kTextureStageDefaults[] = {
    {D3DTSS_COLORARG1, D3DTA_TEXTURE}, {D3DTSS_COLORARG2, D3DTA_CURRENT},
    {D3DTSS_ALPHAARG1, D3DTA_TEXTURE}, {D3DTSS_ALPHAARG2, D3DTA_CURRENT},
    {D3DTSS_COLORARG0, D3DTA_CURRENT}, {D3DTSS_ALPHAARG0, D3DTA_CURRENT},
    {D3DTSS_RESULTARG, D3DTA_CURRENT},
};

D3DMATRIX Identity() {
    D3DMATRIX matrix{};
    matrix._11 = matrix._22 = matrix._33 = matrix._44 = 1.0f;
    return matrix;
}

D3DMATRIX Multiply(const D3DMATRIX& a, const D3DMATRIX& b) {
    D3DMATRIX product{};
    for (int row = 0; row < 4; ++row) {
        for (int column = 0; column < 4; ++column) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += a.m[row][k] * b.m[k][column];
            product.m[row][column] = sum;
        }
    }
    return product;
}

UINT VertexCount(D3DPRIMITIVETYPE type, UINT primitiveCount) {
    switch (type) {
    case D3DPT_POINTLIST: return primitiveCount;
    case D3DPT_LINELIST: return primitiveCount * 2;
    case D3DPT_LINESTRIP: return primitiveCount + 1;
    case D3DPT_TRIANGLELIST: return primitiveCount * 3;
    case D3DPT_TRIANGLESTRIP:
    case D3DPT_TRIANGLEFAN: return primitiveCount + 2;
    default: return 0;
    }
}

bool IsPixelSampler(DWORD sampler) { return sampler < 16; }
bool IsOtherSampler(DWORD sampler) {
    return sampler == D3DDMAPSAMPLER || (sampler >= D3DVERTEXTEXTURESAMPLER0 && sampler <= D3DVERTEXTEXTURESAMPLER3);
}

bool SameSlot(const FakeStateBlock::Entry& a, const FakeStateBlock::Entry& b) {
    return a.kind == b.kind && a.index == b.index && a.subIndex == b.subIndex;
}

void ReadEntry(FakeDeviceState& state, FakeStateBlock::Entry& entry) {
    using Kind = FakeStateBlock::EntryKind;
    switch (entry.kind) {
    case Kind::RenderState: entry.value = state.renderStates[entry.index]; break;
    case Kind::SamplerState: entry.value = state.samplerStates[entry.index][entry.subIndex]; break;
    case Kind::TextureStageState: entry.value = state.textureStageStates[entry.index][entry.subIndex]; break;
    case Kind::Texture: entry.texture = state.textures[entry.index]; break;
    case Kind::Fvf: entry.value = state.fvf; break;
    case Kind::StreamSource:
        entry.buffer = state.streamSource0;
        entry.value = state.streamOffset;
        entry.stride = state.streamStride;
        break;
    case Kind::PixelShader: entry.pixelShader = state.pixelShader; break;
    case Kind::VertexShader: entry.vertexShader = state.vertexShader; break;
    case Kind::Transform:
        if (D3DMATRIX* slot = state.TransformSlot(static_cast<D3DTRANSFORMSTATETYPE>(entry.index))) entry.matrix = *slot;
        break;
    case Kind::Material: entry.material = state.material; break;
    case Kind::Viewport: entry.viewport = state.viewport; break;
    }
}

void WriteEntry(FakeDeviceState& state, const FakeStateBlock::Entry& entry) {
    using Kind = FakeStateBlock::EntryKind;
    switch (entry.kind) {
    case Kind::RenderState: state.renderStates[entry.index] = entry.value; break;
    case Kind::SamplerState: state.samplerStates[entry.index][entry.subIndex] = entry.value; break;
    case Kind::TextureStageState: state.textureStageStates[entry.index][entry.subIndex] = entry.value; break;
    case Kind::Texture: state.textures[entry.index] = entry.texture; break;
    case Kind::Fvf: state.fvf = entry.value; break;
    case Kind::StreamSource:
        state.streamSource0 = entry.buffer;
        state.streamOffset = entry.value;
        state.streamStride = entry.stride;
        break;
    case Kind::PixelShader: state.pixelShader = entry.pixelShader; break;
    case Kind::VertexShader: state.vertexShader = entry.vertexShader; break;
    case Kind::Transform:
        if (D3DMATRIX* slot = state.TransformSlot(static_cast<D3DTRANSFORMSTATETYPE>(entry.index))) *slot = entry.matrix;
        break;
    case Kind::Material: state.material = entry.material; break;
    case Kind::Viewport: state.viewport = entry.viewport; break;
    }
}

FakeStateBlock::Entry MakeEntry(FakeStateBlock::EntryKind kind, DWORD index = 0, DWORD subIndex = 0) {
    FakeStateBlock::Entry entry{};
    entry.kind = kind;
    entry.index = index;
    entry.subIndex = subIndex;
    return entry;
}

bool Is(REFIID riid, REFIID other) { return IsEqualGUID(riid, other) != 0; }

template <class Interface>
HRESULT GiveOut(Interface* self, void** object) {
    self->AddRef();
    *object = self;
    return S_OK;
}

}  // namespace

HRESULT GiveDevice(FakeDevice* device, IDirect3DDevice9** result) {
    if (!result) return D3DERR_INVALIDCALL;
    if (!device) return D3DERR_INVALIDCALL;
    device->AddRef();
    *result = device;
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// FakeResourceCore

ULONG FakeResourceCore::AddRefCore() {
    ++refCount;
    if (device) device->Log("%s.AddRef %d %lu", KindName(), id, refCount);
    return refCount;
}

ULONG FakeResourceCore::ReleaseCore() {
    if (refCount == 0) {
        if (device) device->Misuse("Release of a resource already released");
        return 0;
    }
    const ULONG remaining = --refCount;
    FakeDevice* owner = device;
    if (owner) owner->Log("%s.Release %d %lu", KindName(), id, remaining);
    if (remaining == 0) {
        if (!heldByDevice) {
            delete this;
        } else if (owner) {
            owner->ResourceReleased();  // may delete the device, and with it this object
        }
    }
    return remaining;
}

void FakeResourceCore::Detach() {
    device = nullptr;
    heldByDevice = false;
}

// ---------------------------------------------------------------------------------------------
// FakeSurface

FakeSurface::FakeSurface(FakeDevice* owner, const D3DSURFACE_DESC& surfaceDesc, bool canLock,
                         IDirect3DTexture9* texture)
    : lockable(canLock), container(texture) {
    device = owner;
    Resize(surfaceDesc);
}

FakeSurface* FakeSurface::From(IUnknown* surface) { return dynamic_cast<FakeSurface*>(surface); }

void FakeSurface::Resize(const D3DSURFACE_DESC& newDesc) {
    desc = newDesc;
    bytesPerPixel = BytesPerPixel(desc.Format);
    pitch = desc.Width * bytesPerPixel;
    bytes.assign(static_cast<size_t>(pitch) * desc.Height, 0);
}

HRESULT FakeSurface::LockInternal(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) {
    if (!lockedRect) return D3DERR_INVALIDCALL;
    if (!lockable) {
        if (device) device->Misuse("LockRect of a surface that cannot be locked");
        return D3DERR_INVALIDCALL;
    }
    if (locked) {
        if (device) device->Misuse("LockRect of a surface already locked");
        return D3DERR_INVALIDCALL;
    }
    LONG left = 0;
    LONG top = 0;
    if (rect) {
        if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
            static_cast<UINT>(rect->right) > desc.Width || static_cast<UINT>(rect->bottom) > desc.Height) {
            if (device) device->Misuse("LockRect with a rectangle outside the surface");
            return D3DERR_INVALIDCALL;
        }
        left = rect->left;
        top = rect->top;
        lastLockRect = *rect;
    }
    locked = true;
    ++lockCount;
    lastLockFlags = flags;
    lastLockHadRect = rect != nullptr;
    lockedRect->Pitch = static_cast<INT>(pitch);
    lockedRect->pBits = bytes.data() + static_cast<size_t>(top) * pitch + static_cast<size_t>(left) * bytesPerPixel;
    return D3D_OK;
}

HRESULT FakeSurface::UnlockInternal() {
    if (!locked) {
        if (device) device->Misuse("UnlockRect of a surface not locked");
        return D3DERR_INVALIDCALL;
    }
    locked = false;
    ++unlockCount;
    return D3D_OK;
}

DWORD FakeSurface::PixelAt(UINT x, UINT y) const {
    if (x >= desc.Width || y >= desc.Height) return 0;
    const BYTE* p = bytes.data() + static_cast<size_t>(y) * pitch + static_cast<size_t>(x) * bytesPerPixel;
    DWORD value = 0;
    std::memcpy(&value, p, bytesPerPixel < sizeof value ? bytesPerPixel : sizeof value);
    return value;
}

HRESULT FakeSurface::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (Is(riid, __uuidof(IUnknown)) || Is(riid, __uuidof(IDirect3DResource9)) ||
        Is(riid, __uuidof(IDirect3DSurface9))) {
        return GiveOut<IDirect3DSurface9>(this, object);
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeSurface::AddRef() { return container ? container->AddRef() : AddRefCore(); }
ULONG FakeSurface::Release() { return container ? container->Release() : ReleaseCore(); }

HRESULT FakeSurface::GetContainer(REFIID riid, void** result) {
    if (!result) return D3DERR_INVALIDCALL;
    if (container) return container->QueryInterface(riid, result);
    if (device) return device->QueryInterface(riid, result);
    return E_NOINTERFACE;
}

HRESULT FakeSurface::GetDesc(D3DSURFACE_DESC* result) {
    if (!result) return D3DERR_INVALIDCALL;
    *result = desc;
    return D3D_OK;
}

HRESULT FakeSurface::LockRect(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) {
    if (device) device->Log("%s.LockRect %d %s %lu", kindName, id, PointerText(rect), flags);
    return LockInternal(lockedRect, rect, flags);
}

HRESULT FakeSurface::UnlockRect() {
    if (device) device->Log("%s.UnlockRect %d", kindName, id);
    return UnlockInternal();
}

HRESULT FakeSurface::GetDC(HDC*) { return D3DERR_INVALIDCALL; }
HRESULT FakeSurface::ReleaseDC(HDC) { return D3DERR_INVALIDCALL; }

// ---------------------------------------------------------------------------------------------
// FakeVertexBuffer

FakeVertexBuffer::FakeVertexBuffer(FakeDevice* owner, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool)
    : bytes(length, 0) {
    device = owner;
    desc.Format = D3DFMT_VERTEXDATA;
    desc.Type = D3DRTYPE_VERTEXBUFFER;
    desc.Usage = usage;
    desc.Pool = pool;
    desc.Size = length;
    desc.FVF = fvf;
}

FakeVertexBuffer* FakeVertexBuffer::From(IUnknown* buffer) { return dynamic_cast<FakeVertexBuffer*>(buffer); }

HRESULT FakeVertexBuffer::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (Is(riid, __uuidof(IUnknown)) || Is(riid, __uuidof(IDirect3DResource9)) ||
        Is(riid, __uuidof(IDirect3DVertexBuffer9))) {
        return GiveOut<IDirect3DVertexBuffer9>(this, object);
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeVertexBuffer::Lock(UINT offset, UINT size, void** data, DWORD flags) {
    if (device) device->Log("VertexBuffer.Lock %d %u %u %lu", id, offset, size, flags);
    if (!data) return D3DERR_INVALIDCALL;
    if (offset > desc.Size || size > desc.Size - offset) {
        if (device) device->Misuse("VertexBuffer.Lock beyond the end of the buffer");
        return D3DERR_INVALIDCALL;
    }
    ++lockDepth;
    ++lockCount;
    lastLockOffset = offset;
    lastLockSize = size;
    lastLockFlags = flags;
    *data = bytes.data() + offset;
    return D3D_OK;
}

HRESULT FakeVertexBuffer::Unlock() {
    if (device) device->Log("VertexBuffer.Unlock %d", id);
    if (lockDepth == 0) {
        // The runtime only warns here.
        if (device) device->Misuse("VertexBuffer.Unlock without a lock");
        return D3D_OK;
    }
    --lockDepth;
    ++unlockCount;
    return D3D_OK;
}

HRESULT FakeVertexBuffer::GetDesc(D3DVERTEXBUFFER_DESC* result) {
    if (!result) return D3DERR_INVALIDCALL;
    *result = desc;
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// FakeTexture

FakeTexture::FakeTexture(FakeDevice* owner, UINT textureWidth, UINT textureHeight, UINT levelCount,
                         DWORD textureUsage, D3DFORMAT textureFormat, D3DPOOL texturePool)
    : width(textureWidth), height(textureHeight), usage(textureUsage), format(textureFormat), pool(texturePool) {
    device = owner;
    if (levelCount == 0) {
        levelCount = 1;
        for (UINT size = std::max(width, height); size > 1; size /= 2) ++levelCount;
    }
    // Default-pool textures can only be locked when dynamic.
    const bool lockable = pool != D3DPOOL_DEFAULT || (usage & D3DUSAGE_DYNAMIC) != 0;
    for (UINT level = 0; level < levelCount; ++level) {
        D3DSURFACE_DESC levelDesc{};
        levelDesc.Format = format;
        levelDesc.Type = D3DRTYPE_SURFACE;
        levelDesc.Usage = usage;
        levelDesc.Pool = pool;
        levelDesc.MultiSampleType = D3DMULTISAMPLE_NONE;
        levelDesc.Width = std::max(1u, width >> level);
        levelDesc.Height = std::max(1u, height >> level);
        FakeSurface* surface = new FakeSurface(owner, levelDesc, lockable, this);
        surface->kindName = "TextureLevel";
        surface->heldByDevice = false;
        levels.push_back(surface);
    }
}

FakeTexture::~FakeTexture() {
    for (FakeSurface* level : levels) delete level;
}

void FakeTexture::Detach() {
    FakeResourceCore::Detach();
    for (FakeSurface* level : levels) level->device = nullptr;
}

FakeTexture* FakeTexture::From(IUnknown* texture) { return dynamic_cast<FakeTexture*>(texture); }

HRESULT FakeTexture::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (Is(riid, __uuidof(IUnknown)) || Is(riid, __uuidof(IDirect3DResource9)) ||
        Is(riid, __uuidof(IDirect3DBaseTexture9)) || Is(riid, __uuidof(IDirect3DTexture9))) {
        return GiveOut<IDirect3DTexture9>(this, object);
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

DWORD FakeTexture::SetLOD(DWORD) { return 0; }
DWORD FakeTexture::GetLOD() { return 0; }
DWORD FakeTexture::GetLevelCount() { return static_cast<DWORD>(levels.size()); }
HRESULT FakeTexture::SetAutoGenFilterType(D3DTEXTUREFILTERTYPE) { return D3D_OK; }
D3DTEXTUREFILTERTYPE FakeTexture::GetAutoGenFilterType() { return D3DTEXF_LINEAR; }
void FakeTexture::GenerateMipSubLevels() {}
HRESULT FakeTexture::AddDirtyRect(const RECT*) { return D3D_OK; }

HRESULT FakeTexture::GetLevelDesc(UINT level, D3DSURFACE_DESC* result) {
    if (!result || level >= levels.size()) return D3DERR_INVALIDCALL;
    *result = levels[level]->desc;
    return D3D_OK;
}

HRESULT FakeTexture::GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) {
    if (!surface || level >= levels.size()) return D3DERR_INVALIDCALL;
    levels[level]->AddRef();  // counts on the texture, as the runtime does
    *surface = levels[level];
    return D3D_OK;
}

HRESULT FakeTexture::LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) {
    if (device) device->Log("Texture.LockRect %d %u %s %lu", id, level, PointerText(rect), flags);
    if (level >= levels.size()) return D3DERR_INVALIDCALL;
    return levels[level]->LockInternal(lockedRect, rect, flags);
}

HRESULT FakeTexture::UnlockRect(UINT level) {
    if (device) device->Log("Texture.UnlockRect %d %u", id, level);
    if (level >= levels.size()) return D3DERR_INVALIDCALL;
    return levels[level]->UnlockInternal();
}

// ---------------------------------------------------------------------------------------------
// FakeDeviceState

void FakeDeviceState::SetDefaults(const D3DPRESENT_PARAMETERS& presentParameters) {
    *this = FakeDeviceState{};
    for (const StateValue& entry : kRenderStateDefaults) renderStates[entry.state] = entry.value;
    renderStates[D3DRS_ZENABLE] = presentParameters.EnableAutoDepthStencil ? D3DZB_TRUE : D3DZB_FALSE;
    for (auto& sampler : samplerStates) {
        for (const StateValue& entry : kSamplerStateDefaults) sampler[entry.state] = entry.value;
    }
    for (DWORD stage = 0; stage < 8; ++stage) {
        DWORD* states = textureStageStates[stage];
        for (const StateValue& entry : kTextureStageDefaults) states[entry.state] = entry.value;
        states[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        states[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        states[D3DTSS_TEXCOORDINDEX] = stage;
    }
    worldMatrix = viewMatrix = projectionMatrix = Identity();
    viewport.Width = presentParameters.BackBufferWidth;
    viewport.Height = presentParameters.BackBufferHeight;
    viewport.MaxZ = 1.0f;
}

D3DMATRIX* FakeDeviceState::TransformSlot(D3DTRANSFORMSTATETYPE state) {
    // D3DTS_WORLD (256) lies outside the enumeration's declared values, so no switch here.
    if (state == D3DTS_WORLD) return &worldMatrix;
    if (state == D3DTS_VIEW) return &viewMatrix;
    if (state == D3DTS_PROJECTION) return &projectionMatrix;
    return nullptr;
}

// ---------------------------------------------------------------------------------------------
// FakeStateBlock

FakeStateBlock::FakeStateBlock(FakeDevice* owner) { device = owner; }

FakeStateBlock* FakeStateBlock::From(IUnknown* block) { return dynamic_cast<FakeStateBlock*>(block); }

void FakeStateBlock::Record(const Entry& entry) {
    for (Entry& existing : entries) {
        if (SameSlot(existing, entry)) {
            existing = entry;
            return;
        }
    }
    entries.push_back(entry);
}

HRESULT FakeStateBlock::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (Is(riid, __uuidof(IUnknown)) || Is(riid, __uuidof(IDirect3DStateBlock9))) {
        return GiveOut<IDirect3DStateBlock9>(this, object);
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

HRESULT FakeStateBlock::Capture() {
    if (!device) return D3DERR_INVALIDCALL;
    device->Log("StateBlock.Capture %d", id);
    if (device->recordingStateBlock) {
        device->Misuse("StateBlock.Capture while recording a state block");
        return D3DERR_INVALIDCALL;
    }
    ++captureCount;
    FakeDeviceState& state = *device;
    if (everything) {
        snapshot = state;
    } else {
        for (Entry& entry : entries) ReadEntry(state, entry);
    }
    return D3D_OK;
}

HRESULT FakeStateBlock::Apply() {
    if (!device) return D3DERR_INVALIDCALL;
    device->Log("StateBlock.Apply %d", id);
    if (device->recordingStateBlock) {
        device->Misuse("StateBlock.Apply while recording a state block");
        return D3DERR_INVALIDCALL;
    }
    ++applyCount;
    FakeDeviceState& state = *device;
    if (everything) {
        state = snapshot;
    } else {
        for (const Entry& entry : entries) WriteEntry(state, entry);
    }
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// FakeQuery

FakeQuery::FakeQuery(FakeDevice* owner, D3DQUERYTYPE queryType) : type(queryType) { device = owner; }

HRESULT FakeQuery::QueryInterface(REFIID riid, void** object) {
    if (!object) return E_POINTER;
    if (Is(riid, __uuidof(IUnknown)) || Is(riid, __uuidof(IDirect3DQuery9))) return GiveOut<IDirect3DQuery9>(this, object);
    *object = nullptr;
    return E_NOINTERFACE;
}

D3DQUERYTYPE FakeQuery::GetType() { return type; }
DWORD FakeQuery::GetDataSize() { return sizeof(BOOL); }

HRESULT FakeQuery::Issue(DWORD flags) {
    if (device) device->Log("Query.Issue %d %lu", id, flags);
    ++issueCount;
    return D3D_OK;
}

HRESULT FakeQuery::GetData(void* data, DWORD size, DWORD flags) {
    if (device) device->Log("Query.GetData %d %lu", id, flags);
    if (data && size >= sizeof(BOOL)) *static_cast<BOOL*>(data) = TRUE;
    return S_OK;
}

// ---------------------------------------------------------------------------------------------
// FakeDevice: set-up, bookkeeping and the test helpers

FakeDevice::FakeDevice() {
    D3DPRESENT_PARAMETERS defaults = test_support::WindowedPresentParameters(640, 480);
    defaults.PresentationInterval = D3DPRESENT_INTERVAL_IMMEDIATE;
    Initialise(defaults);
}

FakeDevice::FakeDevice(const D3DPRESENT_PARAMETERS& parameters) { Initialise(parameters); }

void FakeDevice::Initialise(const D3DPRESENT_PARAMETERS& parameters) {
    caps.DeviceType = D3DDEVTYPE_HAL;
    caps.AdapterOrdinal = 0;
    caps.PresentationIntervals = D3DPRESENT_INTERVAL_IMMEDIATE | D3DPRESENT_INTERVAL_ONE;
    caps.CursorCaps = D3DCURSORCAPS_COLOR;
    caps.DevCaps = D3DDEVCAPS_HWTRANSFORMANDLIGHT | D3DDEVCAPS_HWRASTERIZATION | D3DDEVCAPS_PUREDEVICE |
                   D3DDEVCAPS_DRAWPRIMITIVES2EX | D3DDEVCAPS_TEXTUREVIDEOMEMORY;
    caps.PrimitiveMiscCaps = D3DPMISCCAPS_CULLCCW | D3DPMISCCAPS_CULLCW | D3DPMISCCAPS_CULLNONE |
                             D3DPMISCCAPS_COLORWRITEENABLE | D3DPMISCCAPS_BLENDOP;
    caps.RasterCaps = D3DPRASTERCAPS_DITHER | D3DPRASTERCAPS_ZTEST | D3DPRASTERCAPS_SCISSORTEST;
    caps.ZCmpCaps = caps.AlphaCmpCaps = 0xFF;
    caps.SrcBlendCaps = caps.DestBlendCaps = 0x1FFF;
    caps.TextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_MIPMAP;
    caps.TextureFilterCaps = D3DPTFILTERCAPS_MINFPOINT | D3DPTFILTERCAPS_MINFLINEAR |
                             D3DPTFILTERCAPS_MAGFPOINT | D3DPTFILTERCAPS_MAGFLINEAR | D3DPTFILTERCAPS_MIPFPOINT;
    caps.TextureAddressCaps = D3DPTADDRESSCAPS_WRAP | D3DPTADDRESSCAPS_CLAMP | D3DPTADDRESSCAPS_MIRROR;
    caps.MaxTextureWidth = caps.MaxTextureHeight = 4096;
    caps.MaxTextureRepeat = 8192;
    caps.MaxTextureAspectRatio = 4096;
    caps.MaxTextureBlendStages = 8;
    caps.MaxSimultaneousTextures = 8;
    caps.MaxPrimitiveCount = 0xFFFFFF;
    caps.MaxVertexIndex = 0xFFFFFF;
    caps.MaxStreams = 16;
    caps.MaxStreamStride = 255;
    caps.MaxPointSize = 64.0f;
    caps.NumSimultaneousRTs = 1;
    caps.VertexShaderVersion = D3DVS_VERSION(3, 0);
    caps.PixelShaderVersion = D3DPS_VERSION(3, 0);
    creationParameters.AdapterOrdinal = 0;
    creationParameters.DeviceType = D3DDEVTYPE_HAL;
    creationParameters.hFocusWindow = parameters.hDeviceWindow;
    creationParameters.BehaviorFlags = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    SetPresentParameters(parameters);
}

FakeDevice::~FakeDevice() {
    // Objects the product still holds stay alive (detached); the rest go with the device.
    auto drop = [](FakeResourceCore* resource) {
        const bool unused = resource->refCount == 0;
        resource->Detach();
        if (unused) delete resource;
    };
    for (FakeVertexBuffer* buffer : vertexBuffers) drop(buffer);
    for (FakeTexture* texture : textureList) drop(texture);
    for (FakeSurface* surface : surfaces) drop(surface);
    for (FakeStateBlock* block : stateBlocks) drop(block);
    for (FakeQuery* query : queries) drop(query);
    if (backBuffer) drop(backBuffer);
    delete recordingStateBlock;
}

void FakeDevice::SetPresentParameters(const D3DPRESENT_PARAMETERS& parameters) {
    presentParameters = parameters;
    D3DSURFACE_DESC desc{};
    desc.Format = parameters.BackBufferFormat == D3DFMT_UNKNOWN ? displayMode.Format : parameters.BackBufferFormat;
    desc.Type = D3DRTYPE_SURFACE;
    desc.Usage = D3DUSAGE_RENDERTARGET;
    desc.Pool = D3DPOOL_DEFAULT;
    desc.MultiSampleType = parameters.MultiSampleType;
    desc.MultiSampleQuality = parameters.MultiSampleQuality;
    desc.Width = parameters.BackBufferWidth;
    desc.Height = parameters.BackBufferHeight;
    const bool lockable = (parameters.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0;
    if (backBuffer) {
        backBuffer->Resize(desc);
        backBuffer->lockable = lockable;
    } else {
        backBuffer = new FakeSurface(this, desc, lockable);
        backBuffer->kindName = "BackBuffer";
        backBuffer->id = 0;
        backBuffer->refCount = 0;  // only the device holds it until the product asks for it
    }
    SetDefaults(parameters);
}

int FakeDevice::LiveResourceCount() const {
    int live = 0;
    auto count = [&live](const FakeResourceCore* resource) {
        if (resource->refCount > 0) ++live;
    };
    for (const FakeVertexBuffer* buffer : vertexBuffers) count(buffer);
    for (const FakeTexture* texture : textureList) count(texture);
    for (const FakeSurface* surface : surfaces) count(surface);
    for (const FakeStateBlock* block : stateBlocks) count(block);
    for (const FakeQuery* query : queries) count(query);
    if (backBuffer) count(backBuffer);
    return live;
}

std::string FakeDevice::LiveResourceReport() const {
    std::string report;
    auto add = [&report](const FakeResourceCore* resource) {
        if (resource->refCount == 0) return;
        char line[96];
        std::snprintf(line, sizeof line, "%s %d refs %lu; ", resource->KindName(), resource->id, resource->refCount);
        report += line;
    };
    for (const FakeVertexBuffer* buffer : vertexBuffers) add(buffer);
    for (const FakeTexture* texture : textureList) add(texture);
    for (const FakeSurface* surface : surfaces) add(surface);
    for (const FakeStateBlock* block : stateBlocks) add(block);
    for (const FakeQuery* query : queries) add(query);
    if (backBuffer) add(backBuffer);
    return report;
}

int FakeDevice::CountCalls(const std::string& prefix) const {
    return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&prefix](const std::string& line) {
        return line.compare(0, prefix.size(), prefix) == 0;
    }));
}

void FakeDevice::ClearCalls() {
    calls.clear();
    transforms.clear();
    upVertexData.clear();
}

void FakeDevice::Log(const char* format, ...) {
    if (!recordCalls) return;
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof line, format, arguments);
    va_end(arguments);
    calls.emplace_back(line);
}

void FakeDevice::Misuse(const char* what) {
    ++misuseCount;
    lastMisuse = what;
    Log("MISUSE %s", what);
}

ULONG FakeDevice::ReportedCount() const {
    const ULONG resources = resourcesReferenceDevice ? static_cast<ULONG>(LiveResourceCount()) : 0;
    return refCount + extraReferences + resources;
}

void FakeDevice::ResourceReleased() {
    if (resourcesReferenceDevice && refCount == 0 && deleteOnFinalRelease && ReportedCount() == 0) delete this;
}

HRESULT FakeDevice::NextCreationResult(HRESULT configured, int& failAfter) {
    if (FAILED(configured)) return configured;
    if (failAfter == 0) {
        failAfter = -1;
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    if (failAfter > 0) --failAfter;
    return D3D_OK;
}

bool FakeDevice::HasLiveDefaultPoolResources() const {
    for (const FakeVertexBuffer* buffer : vertexBuffers) {
        if (buffer->refCount > 0 && buffer->desc.Pool == D3DPOOL_DEFAULT) return true;
    }
    for (const FakeTexture* texture : textureList) {
        if (texture->refCount > 0 && texture->pool == D3DPOOL_DEFAULT) return true;
    }
    for (const FakeSurface* surface : surfaces) {
        if (surface->refCount > 0 && surface->desc.Pool == D3DPOOL_DEFAULT) return true;
    }
    for (const FakeStateBlock* block : stateBlocks) {
        if (block->refCount > 0) return true;
    }
    return (backBuffer && backBuffer->refCount > 0) || recordingStateBlock != nullptr;
}

void FakeDevice::RecordState(const FakeStateBlock::Entry& entry) { recordingStateBlock->Record(entry); }

// ---------------------------------------------------------------------------------------------
// FakeDevice: IUnknown and the device life cycle

HRESULT FakeDevice::QueryInterface(REFIID riid, void** object) {
    Log("QueryInterface");
    if (!object) return E_POINTER;
    if (Is(riid, __uuidof(IUnknown)) || Is(riid, __uuidof(IDirect3DDevice9))) {
        return GiveOut<IDirect3DDevice9>(this, object);
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG FakeDevice::AddRef() {
    ++refCount;
    const ULONG reported = ReportedCount();
    Log("AddRef %lu", reported);
    return reported;
}

ULONG FakeDevice::Release() {
    if (refCount == 0) {
        Misuse("Release of a device already released");
        return ReportedCount();
    }
    --refCount;
    const ULONG reported = ReportedCount();
    Log("Release %lu", reported);
    if (reported == 0 && deleteOnFinalRelease) delete this;
    return reported;
}

HRESULT FakeDevice::TestCooperativeLevel() {
    Log("TestCooperativeLevel");
    if (testCooperativeLevelResults.empty()) return D3D_OK;
    const HRESULT result = testCooperativeLevelResults.front();
    testCooperativeLevelResults.pop_front();
    return result;
}

HRESULT FakeDevice::Reset(D3DPRESENT_PARAMETERS* parameters) {
    Log("Reset");
    ++resetCount;
    if (!parameters) return D3DERR_INVALIDCALL;
    if (FAILED(resetResult)) return resetResult;
    if (inScene) Misuse("Reset inside BeginScene/EndScene");
    if (HasLiveDefaultPoolResources()) {
        Misuse("Reset while default-pool resources, state blocks or the back buffer are held");
        return D3DERR_INVALIDCALL;
    }
    inScene = false;
    SetPresentParameters(*parameters);  // also puts every state back to its default, as Reset does
    return D3D_OK;
}

HRESULT FakeDevice::Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow, const RGNDATA* dirtyRegion) {
    Log("Present");
    ++presentCount;
    if (inScene) Misuse("Present inside BeginScene/EndScene");
    return presentResult;
}

HRESULT FakeDevice::BeginScene() {
    Log("BeginScene");
    ++beginSceneCount;
    if (FAILED(beginSceneResult)) return beginSceneResult;
    if (inScene) {
        Misuse("BeginScene inside a scene");
        return D3DERR_INVALIDCALL;
    }
    inScene = true;
    return D3D_OK;
}

HRESULT FakeDevice::EndScene() {
    Log("EndScene");
    ++endSceneCount;
    if (!inScene) {
        Misuse("EndScene without BeginScene");
        return D3DERR_INVALIDCALL;
    }
    inScene = false;
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// FakeDevice: queries

UINT FakeDevice::GetAvailableTextureMem() {
    Log("GetAvailableTextureMem");
    return 256u << 20;
}

HRESULT FakeDevice::EvictManagedResources() {
    Log("EvictManagedResources");
    return D3D_OK;
}

HRESULT FakeDevice::GetDirect3D(IDirect3D9** result) {
    Log("GetDirect3D");
    if (!result || !direct3d) return D3DERR_INVALIDCALL;
    direct3d->AddRef();
    *result = direct3d;
    return D3D_OK;
}

HRESULT FakeDevice::GetDeviceCaps(D3DCAPS9* result) {
    Log("GetDeviceCaps");
    if (!result) return D3DERR_INVALIDCALL;
    *result = caps;
    return D3D_OK;
}

HRESULT FakeDevice::GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) {
    Log("GetDisplayMode %u", swapChain);
    if (!mode || swapChain != 0) return D3DERR_INVALIDCALL;
    *mode = displayMode;
    return D3D_OK;
}

HRESULT FakeDevice::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    Log("GetCreationParameters");
    if (!parameters) return D3DERR_INVALIDCALL;
    *parameters = creationParameters;
    return D3D_OK;
}

HRESULT FakeDevice::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) {
    Log("GetBackBuffer %u %u %d", swapChain, index, static_cast<int>(type));
    if (!surface || swapChain != 0 || index != 0) return D3DERR_INVALIDCALL;
    backBuffer->AddRef();
    *surface = backBuffer;
    return D3D_OK;
}

HRESULT FakeDevice::GetRenderTarget(DWORD index, IDirect3DSurface9** renderTarget) {
    Log("GetRenderTarget %lu", index);
    if (!renderTarget) return D3DERR_INVALIDCALL;
    if (index != 0) return D3DERR_NOTFOUND;
    backBuffer->AddRef();
    *renderTarget = backBuffer;
    return D3D_OK;
}

HRESULT FakeDevice::GetViewport(D3DVIEWPORT9* result) {
    Log("GetViewport");
    if (!result) return D3DERR_INVALIDCALL;
    *result = viewport;
    return D3D_OK;
}

HRESULT FakeDevice::GetRasterStatus(UINT swapChain, D3DRASTER_STATUS* status) {
    Log("GetRasterStatus %u", swapChain);
    if (!status || swapChain != 0) return D3DERR_INVALIDCALL;
    *status = D3DRASTER_STATUS{};
    return D3D_OK;
}

HRESULT FakeDevice::GetSwapChain(UINT swapChain, IDirect3DSwapChain9** result) {
    Log("GetSwapChain %u", swapChain);
    return D3DERR_INVALIDCALL;
}

UINT FakeDevice::GetNumberOfSwapChains() {
    Log("GetNumberOfSwapChains");
    return 1;
}

HRESULT FakeDevice::GetFrontBufferData(UINT swapChain, IDirect3DSurface9* destination) {
    Log("GetFrontBufferData %u %s", swapChain, PointerText(destination));
    if (!destination || swapChain != 0) return D3DERR_INVALIDCALL;
    if (FAILED(getFrontBufferDataResult)) return getFrontBufferDataResult;
    FakeSurface* surface = FakeSurface::From(destination);
    if (!surface) return D3DERR_INVALIDCALL;
    if (surface->locked) {
        Misuse("GetFrontBufferData into a locked surface");
        return D3DERR_INVALIDCALL;
    }
    if (surface->bytesPerPixel == 4) {
        for (size_t offset = 0; offset + 4 <= surface->bytes.size(); offset += 4) {
            std::memcpy(surface->bytes.data() + offset, &frontBufferColour, 4);
        }
    }
    if (onGetFrontBufferData) onGetFrontBufferData(*this, *surface);
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// FakeDevice: resource creation

HRESULT FakeDevice::CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                                  IDirect3DTexture9** texture, HANDLE* sharedHandle) {
    Log("CreateTexture %u %u %u %lu %d %d", width, height, levels, usage, static_cast<int>(format),
        static_cast<int>(pool));
    if (!texture || width == 0 || height == 0) return D3DERR_INVALIDCALL;
    if (width > caps.MaxTextureWidth || height > caps.MaxTextureHeight) {
        Misuse("CreateTexture larger than MaxTextureWidth/MaxTextureHeight");
        return D3DERR_INVALIDCALL;
    }
    if (pool == D3DPOOL_MANAGED && (usage & D3DUSAGE_DYNAMIC)) {
        Misuse("CreateTexture dynamic in the managed pool");
        return D3DERR_INVALIDCALL;
    }
    const HRESULT result = NextCreationResult(createTextureResult, failCreateTextureAfter);
    if (FAILED(result)) return result;
    FakeTexture* created = new FakeTexture(this, width, height, levels, usage, format, pool);
    created->id = static_cast<int>(textureList.size());
    for (FakeSurface* level : created->levels) level->id = created->id;
    textureList.push_back(created);
    *texture = created;
    return D3D_OK;
}

HRESULT FakeDevice::CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                                       IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) {
    Log("CreateVertexBuffer %u %lu %lu %d", length, usage, fvf, static_cast<int>(pool));
    if (!buffer || length == 0) return D3DERR_INVALIDCALL;
    if (pool == D3DPOOL_MANAGED && (usage & D3DUSAGE_DYNAMIC)) {
        Misuse("CreateVertexBuffer dynamic in the managed pool");
        return D3DERR_INVALIDCALL;
    }
    const HRESULT result = NextCreationResult(createVertexBufferResult, failCreateVertexBufferAfter);
    if (FAILED(result)) return result;
    FakeVertexBuffer* created = new FakeVertexBuffer(this, length, usage, fvf, pool);
    created->id = static_cast<int>(vertexBuffers.size());
    vertexBuffers.push_back(created);
    *buffer = created;
    return D3D_OK;
}

HRESULT FakeDevice::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                                IDirect3DSurface9** surface, HANDLE* sharedHandle) {
    Log("CreateOffscreenPlainSurface %u %u %d %d", width, height, static_cast<int>(format), static_cast<int>(pool));
    if (!surface || width == 0 || height == 0) return D3DERR_INVALIDCALL;
    if (pool == D3DPOOL_MANAGED) {
        Misuse("CreateOffscreenPlainSurface in the managed pool");
        return D3DERR_INVALIDCALL;
    }
    const HRESULT result = NextCreationResult(createOffscreenPlainSurfaceResult, failCreateOffscreenPlainSurfaceAfter);
    if (FAILED(result)) return result;
    D3DSURFACE_DESC desc{};
    desc.Format = format;
    desc.Type = D3DRTYPE_SURFACE;
    desc.Pool = pool;
    desc.Width = width;
    desc.Height = height;
    FakeSurface* created = new FakeSurface(this, desc, true);
    created->id = static_cast<int>(surfaces.size());
    surfaces.push_back(created);
    *surface = created;
    return D3D_OK;
}

HRESULT FakeDevice::CreateStateBlock(D3DSTATEBLOCKTYPE type, IDirect3DStateBlock9** block) {
    Log("CreateStateBlock %d", static_cast<int>(type));
    if (!block) return D3DERR_INVALIDCALL;
    if (recordingStateBlock) {
        Misuse("CreateStateBlock while recording a state block");
        return D3DERR_INVALIDCALL;
    }
    const HRESULT result = NextCreationResult(createStateBlockResult, failCreateStateBlockAfter);
    if (FAILED(result)) return result;
    FakeStateBlock* created = new FakeStateBlock(this);
    created->everything = true;  // all three types keep everything the fake mirrors
    created->snapshot = *this;
    created->id = static_cast<int>(stateBlocks.size());
    stateBlocks.push_back(created);
    *block = created;
    return D3D_OK;
}

HRESULT FakeDevice::BeginStateBlock() {
    Log("BeginStateBlock");
    if (FAILED(beginStateBlockResult)) return beginStateBlockResult;
    if (recordingStateBlock) {
        Misuse("BeginStateBlock while recording");
        return D3DERR_INVALIDCALL;
    }
    recordingStateBlock = new FakeStateBlock(this);
    return D3D_OK;
}

HRESULT FakeDevice::EndStateBlock(IDirect3DStateBlock9** block) {
    Log("EndStateBlock");
    if (!block) return D3DERR_INVALIDCALL;
    if (!recordingStateBlock) {
        Misuse("EndStateBlock without BeginStateBlock");
        return D3DERR_INVALIDCALL;
    }
    FakeStateBlock* recorded = recordingStateBlock;
    recordingStateBlock = nullptr;
    const HRESULT result = NextCreationResult(createStateBlockResult, failCreateStateBlockAfter);
    if (FAILED(result)) {
        delete recorded;
        return result;
    }
    recorded->id = static_cast<int>(stateBlocks.size());
    stateBlocks.push_back(recorded);
    *block = recorded;
    return D3D_OK;
}

HRESULT FakeDevice::CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9** query) {
    Log("CreateQuery %d", static_cast<int>(type));
    if (type != D3DQUERYTYPE_EVENT) return D3DERR_NOTAVAILABLE;
    if (!query) return D3D_OK;  // a support check
    FakeQuery* created = new FakeQuery(this, type);
    created->id = static_cast<int>(queries.size());
    queries.push_back(created);
    *query = created;
    return D3D_OK;
}

HRESULT FakeDevice::CreateVolumeTexture(UINT, UINT, UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DVolumeTexture9**, HANDLE*) {
    Log("CreateVolumeTexture");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreateCubeTexture(UINT, UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DCubeTexture9**, HANDLE*) {
    Log("CreateCubeTexture");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreateIndexBuffer(UINT, DWORD, D3DFORMAT, D3DPOOL, IDirect3DIndexBuffer9**, HANDLE*) {
    Log("CreateIndexBuffer");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreateRenderTarget(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample,
                                       DWORD quality, WINBOOL lockable, IDirect3DSurface9** surface, HANDLE*) {
    Log("CreateRenderTarget %u %u %d %d", width, height, static_cast<int>(format), static_cast<int>(multiSample));
    if (!surface || width == 0 || height == 0) return D3DERR_INVALIDCALL;
    if (renderTargetModeResult) {
        const HRESULT modeResult = renderTargetModeResult(multiSample, quality);
        if (FAILED(modeResult)) return modeResult;
    }
    const HRESULT result = NextCreationResult(createRenderTargetResult, failCreateRenderTargetAfter);
    if (FAILED(result)) return result;
    D3DSURFACE_DESC desc{};
    desc.Format = format;
    desc.Type = D3DRTYPE_SURFACE;
    desc.Usage = D3DUSAGE_RENDERTARGET;
    desc.Pool = D3DPOOL_DEFAULT;
    desc.MultiSampleType = multiSample;
    desc.MultiSampleQuality = quality;
    desc.Width = width;
    desc.Height = height;
    FakeSurface* created = new FakeSurface(this, desc, lockable != FALSE);
    created->kindName = "RenderTarget";
    created->id = static_cast<int>(surfaces.size());
    surfaces.push_back(created);
    *surface = created;
    return D3D_OK;
}

HRESULT FakeDevice::CreateDepthStencilSurface(UINT, UINT, D3DFORMAT, D3DMULTISAMPLE_TYPE, DWORD, WINBOOL, IDirect3DSurface9**, HANDLE*) {
    Log("CreateDepthStencilSurface");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS*, IDirect3DSwapChain9**) {
    Log("CreateAdditionalSwapChain");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreateVertexDeclaration(const D3DVERTEXELEMENT9*, IDirect3DVertexDeclaration9**) {
    Log("CreateVertexDeclaration");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreateVertexShader(const DWORD*, IDirect3DVertexShader9**) {
    Log("CreateVertexShader");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::CreatePixelShader(const DWORD*, IDirect3DPixelShader9**) {
    Log("CreatePixelShader");
    return D3DERR_INVALIDCALL;
}

// ---------------------------------------------------------------------------------------------
// FakeDevice: cursor

HRESULT FakeDevice::SetCursorProperties(UINT hotSpotX, UINT hotSpotY, IDirect3DSurface9* bitmap) {
    Log("SetCursorProperties %u %u %s", hotSpotX, hotSpotY, PointerText(bitmap));
    if (!bitmap) return D3DERR_INVALIDCALL;
    FakeSurface* surface = FakeSurface::From(bitmap);
    if (surface && surface->desc.Format != D3DFMT_A8R8G8B8) {
        Misuse("SetCursorProperties with a surface not in D3DFMT_A8R8G8B8");
        return D3DERR_INVALIDCALL;
    }
    if (FAILED(setCursorPropertiesResult)) return setCursorPropertiesResult;
    cursorSurface = bitmap;
    cursorHotSpotX = hotSpotX;
    cursorHotSpotY = hotSpotY;
    return D3D_OK;
}

void FakeDevice::SetCursorPosition(int x, int y, DWORD flags) { Log("SetCursorPosition %d %d %lu", x, y, flags); }

WINBOOL FakeDevice::ShowCursor(WINBOOL show) {
    Log("ShowCursor %d", show);
    const BOOL previous = cursorVisible;
    cursorVisible = show;
    return previous;
}

HRESULT FakeDevice::SetDialogBoxMode(WINBOOL enable) {
    Log("SetDialogBoxMode %d", enable);
    return D3D_OK;
}

void FakeDevice::SetGammaRamp(UINT swapChain, DWORD flags, const D3DGAMMARAMP*) { Log("SetGammaRamp %u %lu", swapChain, flags); }

void FakeDevice::GetGammaRamp(UINT swapChain, D3DGAMMARAMP* ramp) {
    Log("GetGammaRamp %u", swapChain);
    if (ramp) *ramp = D3DGAMMARAMP{};
}

// ---------------------------------------------------------------------------------------------
// FakeDevice: surface copies the product does not use

HRESULT FakeDevice::UpdateSurface(IDirect3DSurface9*, const RECT*, IDirect3DSurface9*, const POINT*) {
    Log("UpdateSurface");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::UpdateTexture(IDirect3DBaseTexture9*, IDirect3DBaseTexture9*) {
    Log("UpdateTexture");
    return D3DERR_INVALIDCALL;
}

namespace {

bool SameSizeAndFormat(const FakeSurface& a, const FakeSurface& b) {
    return a.desc.Width == b.desc.Width && a.desc.Height == b.desc.Height && a.desc.Format == b.desc.Format;
}

}  // namespace

// As the runtime requires: a non-multisampled render target into a system-memory surface of the
// same size and format.
HRESULT FakeDevice::GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* destination) {
    Log("GetRenderTargetData");
    FakeSurface* source = FakeSurface::From(renderTarget);
    FakeSurface* target = FakeSurface::From(destination);
    if (!source || !target || !(source->desc.Usage & D3DUSAGE_RENDERTARGET) ||
        source->desc.MultiSampleType != D3DMULTISAMPLE_NONE || target->desc.Pool != D3DPOOL_SYSTEMMEM ||
        !SameSizeAndFormat(*source, *target)) {
        Misuse("GetRenderTargetData between unsuitable surfaces");
        return D3DERR_INVALIDCALL;
    }
    if (FAILED(getRenderTargetDataResult)) return getRenderTargetDataResult;
    target->bytes = source->bytes;
    return D3D_OK;
}

// A whole surface into a render target of the same format, outside a scene: onto the whole of one
// of the same size, or into a rectangle of the destination as large as the source: a plain copy
// (which is what a multisample resolve gives for the fake's one-sample pixels).
HRESULT FakeDevice::StretchRect(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* destination,
                                const RECT* destRect, D3DTEXTUREFILTERTYPE) {
    Log("StretchRect");
    FakeSurface* from = FakeSurface::From(source);
    FakeSurface* to = FakeSurface::From(destination);
    const bool rectFits =
        from && to && destRect && destRect->left >= 0 && destRect->top >= 0 &&
        destRect->right - destRect->left == static_cast<LONG>(from->desc.Width) &&
        destRect->bottom - destRect->top == static_cast<LONG>(from->desc.Height) &&
        destRect->right <= static_cast<LONG>(to->desc.Width) && destRect->bottom <= static_cast<LONG>(to->desc.Height);
    if (!from || !to || sourceRect || !(to->desc.Usage & D3DUSAGE_RENDERTARGET) ||
        to->desc.MultiSampleType != D3DMULTISAMPLE_NONE || from->desc.Format != to->desc.Format ||
        (destRect ? !rectFits : !SameSizeAndFormat(*from, *to))) {
        Misuse("StretchRect this fake does not do");
        return D3DERR_INVALIDCALL;
    }
    if (inScene) {
        Misuse("StretchRect inside a scene");
        return D3DERR_INVALIDCALL;
    }
    if (!destRect) {
        to->bytes = from->bytes;
        return D3D_OK;
    }
    for (UINT row = 0; row < from->desc.Height; ++row) {
        const BYTE* first = from->bytes.data() + row * from->pitch;
        std::copy(first, first + from->pitch,
                  to->bytes.data() + (destRect->top + row) * to->pitch + destRect->left * to->bytesPerPixel);
    }
    return D3D_OK;
}

HRESULT FakeDevice::ColorFill(IDirect3DSurface9*, const RECT*, D3DCOLOR) {
    Log("ColorFill");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetRenderTarget(DWORD index, IDirect3DSurface9* renderTarget) {
    Log("SetRenderTarget %lu %s", index, PointerText(renderTarget));
    return D3D_OK;
}

HRESULT FakeDevice::SetDepthStencilSurface(IDirect3DSurface9* depthStencil) {
    Log("SetDepthStencilSurface %s", PointerText(depthStencil));
    return D3D_OK;
}

HRESULT FakeDevice::GetDepthStencilSurface(IDirect3DSurface9** depthStencil) {
    Log("GetDepthStencilSurface");
    if (depthStencil) *depthStencil = nullptr;
    return D3DERR_NOTFOUND;
}

// ---------------------------------------------------------------------------------------------
// FakeDevice: state (mirrored, or recorded while a state block is being recorded)

HRESULT FakeDevice::Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) {
    Log("Clear %lu %lu 0x%08lX %g %lu", rectCount, flags, colour, static_cast<double>(z), stencil);
    ++clearCount;
    if (rectCount > 0 && !rects) return D3DERR_INVALIDCALL;
    lastClearColour = colour;
    return D3D_OK;
}

HRESULT FakeDevice::SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    Log("SetTransform %d", static_cast<int>(state));
    if (!matrix) return D3DERR_INVALIDCALL;
    if (recordCalls) transforms.emplace_back(state, *matrix);
    if (recordingStateBlock) {
        if (TransformSlot(state)) {
            FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::Transform, static_cast<DWORD>(state));
            entry.matrix = *matrix;
            RecordState(entry);
        }
        return D3D_OK;
    }
    if (D3DMATRIX* slot = TransformSlot(state)) *slot = *matrix;
    return D3D_OK;
}

HRESULT FakeDevice::GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) {
    Log("GetTransform %d", static_cast<int>(state));
    if (!matrix) return D3DERR_INVALIDCALL;
    const D3DMATRIX* slot = TransformSlot(state);
    *matrix = slot ? *slot : Identity();
    return D3D_OK;
}

HRESULT FakeDevice::MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) {
    Log("MultiplyTransform %d", static_cast<int>(state));
    if (!matrix) return D3DERR_INVALIDCALL;
    if (D3DMATRIX* slot = TransformSlot(state)) *slot = Multiply(*matrix, *slot);
    return D3D_OK;
}

HRESULT FakeDevice::SetViewport(const D3DVIEWPORT9* newViewport) {
    if (!newViewport) {
        Log("SetViewport null");
        return D3DERR_INVALIDCALL;
    }
    Log("SetViewport %lu %lu %lu %lu %g %g", newViewport->X, newViewport->Y, newViewport->Width, newViewport->Height,
        static_cast<double>(newViewport->MinZ), static_cast<double>(newViewport->MaxZ));
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::Viewport);
        entry.viewport = *newViewport;
        RecordState(entry);
        return D3D_OK;
    }
    viewport = *newViewport;
    return D3D_OK;
}

HRESULT FakeDevice::SetMaterial(const D3DMATERIAL9* newMaterial) {
    Log("SetMaterial");
    if (!newMaterial) return D3DERR_INVALIDCALL;
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::Material);
        entry.material = *newMaterial;
        RecordState(entry);
        return D3D_OK;
    }
    material = *newMaterial;
    return D3D_OK;
}

HRESULT FakeDevice::GetMaterial(D3DMATERIAL9* result) {
    Log("GetMaterial");
    if (!result) return D3DERR_INVALIDCALL;
    *result = material;
    return D3D_OK;
}

HRESULT FakeDevice::SetLight(DWORD index, const D3DLIGHT9*) {
    Log("SetLight %lu", index);
    return D3D_OK;
}

HRESULT FakeDevice::GetLight(DWORD index, D3DLIGHT9*) {
    Log("GetLight %lu", index);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::LightEnable(DWORD index, WINBOOL enable) {
    Log("LightEnable %lu %d", index, enable);
    return D3D_OK;
}

HRESULT FakeDevice::GetLightEnable(DWORD index, WINBOOL*) {
    Log("GetLightEnable %lu", index);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetClipPlane(DWORD index, const float*) {
    Log("SetClipPlane %lu", index);
    return D3D_OK;
}

HRESULT FakeDevice::GetClipPlane(DWORD index, float*) {
    Log("GetClipPlane %lu", index);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
    Log("SetRenderState %d %lu", static_cast<int>(state), value);
    if (state < 0 || state >= 256) {
        Misuse("SetRenderState with an unknown state");
        return D3DERR_INVALIDCALL;
    }
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::RenderState, static_cast<DWORD>(state));
        entry.value = value;
        RecordState(entry);
        return D3D_OK;
    }
    renderStates[state] = value;
    return D3D_OK;
}

HRESULT FakeDevice::GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) {
    Log("GetRenderState %d", static_cast<int>(state));
    if (!value || state < 0 || state >= 256) return D3DERR_INVALIDCALL;
    *value = renderStates[state];
    return D3D_OK;
}

HRESULT FakeDevice::SetClipStatus(const D3DCLIPSTATUS9*) {
    Log("SetClipStatus");
    return D3D_OK;
}

HRESULT FakeDevice::GetClipStatus(D3DCLIPSTATUS9*) {
    Log("GetClipStatus");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) {
    Log("GetTexture %lu", stage);
    if (!texture) return D3DERR_INVALIDCALL;
    *texture = stage < 8 ? textures[stage] : nullptr;
    if (*texture) (*texture)->AddRef();
    return D3D_OK;
}

HRESULT FakeDevice::SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) {
    Log("SetTexture %lu %s", stage, PointerText(texture));
    if (!IsPixelSampler(stage) && !IsOtherSampler(stage)) {
        Misuse("SetTexture with an unknown stage");
        return D3DERR_INVALIDCALL;
    }
    if (stage >= 8) return D3D_OK;  // accepted, not mirrored
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::Texture, stage);
        entry.texture = texture;
        RecordState(entry);
        return D3D_OK;
    }
    textures[stage] = texture;
    return D3D_OK;
}

HRESULT FakeDevice::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) {
    Log("GetTextureStageState %lu %d", stage, static_cast<int>(type));
    if (!value || stage >= 8 || type < 0 || type >= 33) return D3DERR_INVALIDCALL;
    *value = textureStageStates[stage][type];
    return D3D_OK;
}

HRESULT FakeDevice::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) {
    Log("SetTextureStageState %lu %d %lu", stage, static_cast<int>(type), value);
    if (stage >= 8 || type < 0 || type >= 33) {
        Misuse("SetTextureStageState with an unknown stage or state");
        return D3DERR_INVALIDCALL;
    }
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry =
            MakeEntry(FakeStateBlock::EntryKind::TextureStageState, stage, static_cast<DWORD>(type));
        entry.value = value;
        RecordState(entry);
        return D3D_OK;
    }
    textureStageStates[stage][type] = value;
    return D3D_OK;
}

HRESULT FakeDevice::GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) {
    Log("GetSamplerState %lu %d", sampler, static_cast<int>(type));
    if (!value || sampler >= 16 || type < 0 || type >= 14) return D3DERR_INVALIDCALL;
    *value = samplerStates[sampler][type];
    return D3D_OK;
}

HRESULT FakeDevice::SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) {
    Log("SetSamplerState %lu %d %lu", sampler, static_cast<int>(type), value);
    if ((!IsPixelSampler(sampler) && !IsOtherSampler(sampler)) || type < 1 || type >= 14) {
        Misuse("SetSamplerState with an unknown sampler or state");
        return D3DERR_INVALIDCALL;
    }
    if (!IsPixelSampler(sampler)) return D3D_OK;  // accepted, not mirrored
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::SamplerState, sampler, static_cast<DWORD>(type));
        entry.value = value;
        RecordState(entry);
        return D3D_OK;
    }
    samplerStates[sampler][type] = value;
    return D3D_OK;
}

HRESULT FakeDevice::ValidateDevice(DWORD* passes) {
    Log("ValidateDevice");
    if (passes) *passes = 1;
    return D3D_OK;
}

HRESULT FakeDevice::SetPaletteEntries(UINT palette, const PALETTEENTRY*) {
    Log("SetPaletteEntries %u", palette);
    return D3D_OK;
}

HRESULT FakeDevice::GetPaletteEntries(UINT palette, PALETTEENTRY*) {
    Log("GetPaletteEntries %u", palette);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetCurrentTexturePalette(UINT palette) {
    Log("SetCurrentTexturePalette %u", palette);
    return D3D_OK;
}

HRESULT FakeDevice::GetCurrentTexturePalette(UINT*) {
    Log("GetCurrentTexturePalette");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetScissorRect(const RECT*) {
    Log("SetScissorRect");
    return D3D_OK;
}

HRESULT FakeDevice::GetScissorRect(RECT*) {
    Log("GetScissorRect");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetSoftwareVertexProcessing(WINBOOL software) {
    Log("SetSoftwareVertexProcessing %d", software);
    return D3D_OK;
}

WINBOOL FakeDevice::GetSoftwareVertexProcessing() {
    Log("GetSoftwareVertexProcessing");
    return FALSE;
}

HRESULT FakeDevice::SetNPatchMode(float segments) {
    Log("SetNPatchMode %g", static_cast<double>(segments));
    return D3D_OK;
}

float FakeDevice::GetNPatchMode() {
    Log("GetNPatchMode");
    return 0.0f;
}

HRESULT FakeDevice::SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) {
    Log("SetVertexDeclaration %s", PointerText(declaration));
    return D3D_OK;
}

HRESULT FakeDevice::GetVertexDeclaration(IDirect3DVertexDeclaration9** declaration) {
    Log("GetVertexDeclaration");
    if (!declaration) return D3DERR_INVALIDCALL;
    *declaration = nullptr;
    return D3D_OK;
}

HRESULT FakeDevice::SetFVF(DWORD newFvf) {
    Log("SetFVF %lu", newFvf);
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::Fvf);
        entry.value = newFvf;
        RecordState(entry);
        return D3D_OK;
    }
    fvf = newFvf;
    return D3D_OK;
}

HRESULT FakeDevice::GetFVF(DWORD* result) {
    Log("GetFVF");
    if (!result) return D3DERR_INVALIDCALL;
    *result = fvf;
    return D3D_OK;
}

HRESULT FakeDevice::SetVertexShader(IDirect3DVertexShader9* shader) {
    Log("SetVertexShader %s", PointerText(shader));
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::VertexShader);
        entry.vertexShader = shader;
        RecordState(entry);
        return D3D_OK;
    }
    vertexShader = shader;
    return D3D_OK;
}

HRESULT FakeDevice::GetVertexShader(IDirect3DVertexShader9** shader) {
    Log("GetVertexShader");
    if (!shader) return D3DERR_INVALIDCALL;
    *shader = vertexShader;
    if (vertexShader) vertexShader->AddRef();
    return D3D_OK;
}

HRESULT FakeDevice::SetPixelShader(IDirect3DPixelShader9* shader) {
    Log("SetPixelShader %s", PointerText(shader));
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::PixelShader);
        entry.pixelShader = shader;
        RecordState(entry);
        return D3D_OK;
    }
    pixelShader = shader;
    return D3D_OK;
}

HRESULT FakeDevice::GetPixelShader(IDirect3DPixelShader9** shader) {
    Log("GetPixelShader");
    if (!shader) return D3DERR_INVALIDCALL;
    *shader = pixelShader;
    if (pixelShader) pixelShader->AddRef();
    return D3D_OK;
}

HRESULT FakeDevice::SetVertexShaderConstantF(UINT reg, const float*, UINT count) {
    Log("SetVertexShaderConstantF %u %u", reg, count);
    return D3D_OK;
}

HRESULT FakeDevice::GetVertexShaderConstantF(UINT reg, float*, UINT count) {
    Log("GetVertexShaderConstantF %u %u", reg, count);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetVertexShaderConstantI(UINT reg, const int*, UINT count) {
    Log("SetVertexShaderConstantI %u %u", reg, count);
    return D3D_OK;
}

HRESULT FakeDevice::GetVertexShaderConstantI(UINT reg, int*, UINT count) {
    Log("GetVertexShaderConstantI %u %u", reg, count);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetVertexShaderConstantB(UINT reg, const WINBOOL*, UINT count) {
    Log("SetVertexShaderConstantB %u %u", reg, count);
    return D3D_OK;
}

HRESULT FakeDevice::GetVertexShaderConstantB(UINT reg, WINBOOL*, UINT count) {
    Log("GetVertexShaderConstantB %u %u", reg, count);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetPixelShaderConstantF(UINT reg, const float*, UINT count) {
    Log("SetPixelShaderConstantF %u %u", reg, count);
    return D3D_OK;
}

HRESULT FakeDevice::GetPixelShaderConstantF(UINT reg, float*, UINT count) {
    Log("GetPixelShaderConstantF %u %u", reg, count);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetPixelShaderConstantI(UINT reg, const int*, UINT count) {
    Log("SetPixelShaderConstantI %u %u", reg, count);
    return D3D_OK;
}

HRESULT FakeDevice::GetPixelShaderConstantI(UINT reg, int*, UINT count) {
    Log("GetPixelShaderConstantI %u %u", reg, count);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetPixelShaderConstantB(UINT reg, const WINBOOL*, UINT count) {
    Log("SetPixelShaderConstantB %u %u", reg, count);
    return D3D_OK;
}

HRESULT FakeDevice::GetPixelShaderConstantB(UINT reg, WINBOOL*, UINT count) {
    Log("GetPixelShaderConstantB %u %u", reg, count);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) {
    Log("SetStreamSource %u %s %u %u", stream, PointerText(buffer), offset, stride);
    if (stream >= 16) {
        Misuse("SetStreamSource with an unknown stream");
        return D3DERR_INVALIDCALL;
    }
    if (stream != 0) return D3D_OK;  // accepted, not mirrored
    if (recordingStateBlock) {
        FakeStateBlock::Entry entry = MakeEntry(FakeStateBlock::EntryKind::StreamSource);
        entry.buffer = buffer;
        entry.value = offset;
        entry.stride = stride;
        RecordState(entry);
        return D3D_OK;
    }
    streamSource0 = buffer;
    streamOffset = offset;
    streamStride = stride;
    return D3D_OK;
}

HRESULT FakeDevice::GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) {
    Log("GetStreamSource %u", stream);
    if (!buffer || !offset || !stride || stream >= 16) return D3DERR_INVALIDCALL;
    *buffer = stream == 0 ? streamSource0 : nullptr;
    *offset = stream == 0 ? streamOffset : 0;
    *stride = stream == 0 ? streamStride : 0;
    if (*buffer) (*buffer)->AddRef();
    return D3D_OK;
}

HRESULT FakeDevice::SetStreamSourceFreq(UINT stream, UINT divider) {
    Log("SetStreamSourceFreq %u %u", stream, divider);
    return D3D_OK;
}

HRESULT FakeDevice::GetStreamSourceFreq(UINT stream, UINT* divider) {
    Log("GetStreamSourceFreq %u", stream);
    if (!divider) return D3DERR_INVALIDCALL;
    *divider = 1;
    return D3D_OK;
}

HRESULT FakeDevice::SetIndices(IDirect3DIndexBuffer9* indices) {
    Log("SetIndices %s", PointerText(indices));
    return D3D_OK;
}

HRESULT FakeDevice::GetIndices(IDirect3DIndexBuffer9** indices) {
    Log("GetIndices");
    if (!indices) return D3DERR_INVALIDCALL;
    *indices = nullptr;
    return D3D_OK;
}

// ---------------------------------------------------------------------------------------------
// FakeDevice: drawing

HRESULT FakeDevice::DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) {
    Log("DrawPrimitive %d %u %u", static_cast<int>(type), startVertex, primitiveCount);
    ++drawPrimitiveCount;
    if (!inScene) {
        Misuse("DrawPrimitive outside BeginScene/EndScene");
        return D3DERR_INVALIDCALL;
    }
    if (primitiveCount > caps.MaxPrimitiveCount) {
        Misuse("DrawPrimitive with more than MaxPrimitiveCount primitives");
        return D3DERR_INVALIDCALL;
    }
    if (const FakeVertexBuffer* buffer = FakeVertexBuffer::From(streamSource0)) {
        const unsigned long long vertices =
            static_cast<unsigned long long>(startVertex) + VertexCount(type, primitiveCount);
        const unsigned long long end = vertices * streamStride + streamOffset;
        if (end > buffer->desc.Size) Misuse("DrawPrimitive reads past the end of the vertex buffer");
        if (buffer->lockDepth > 0) Misuse("DrawPrimitive from a locked vertex buffer");
    } else {
        Misuse("DrawPrimitive without a vertex buffer on stream 0");
    }
    if (onDrawPrimitive) onDrawPrimitive(*this, type, startVertex, primitiveCount);
    return D3D_OK;
}

HRESULT FakeDevice::DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* data, UINT stride) {
    Log("DrawPrimitiveUP %d %u %u", static_cast<int>(type), primitiveCount, stride);
    ++drawPrimitiveUPCount;
    if (!inScene) {
        Misuse("DrawPrimitiveUP outside BeginScene/EndScene");
        return D3DERR_INVALIDCALL;
    }
    if (!data) return D3DERR_INVALIDCALL;
    if (recordCalls) {
        const BYTE* first = static_cast<const BYTE*>(data);
        upVertexData.emplace_back(first, first + static_cast<size_t>(VertexCount(type, primitiveCount)) * stride);
    }
    if (onDrawPrimitiveUP) onDrawPrimitiveUP(*this, type, primitiveCount, data, stride);
    // The runtime leaves stream 0 unset after a draw from user memory.
    streamSource0 = nullptr;
    streamOffset = 0;
    streamStride = 0;
    return D3D_OK;
}

HRESULT FakeDevice::DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT vertexCount,
                                         UINT startIndex, UINT primitiveCount) {
    Log("DrawIndexedPrimitive %d %d %u %u %u %u", static_cast<int>(type), baseVertex, minIndex, vertexCount,
        startIndex, primitiveCount);
    if (!inScene) {
        Misuse("DrawIndexedPrimitive outside BeginScene/EndScene");
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT FakeDevice::DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT primitiveCount,
                                           const void*, D3DFORMAT indexFormat, const void*, UINT stride) {
    Log("DrawIndexedPrimitiveUP %d %u %u %u %d %u", static_cast<int>(type), minIndex, vertexCount, primitiveCount,
        static_cast<int>(indexFormat), stride);
    if (!inScene) {
        Misuse("DrawIndexedPrimitiveUP outside BeginScene/EndScene");
        return D3DERR_INVALIDCALL;
    }
    streamSource0 = nullptr;
    streamOffset = 0;
    streamStride = 0;
    return D3D_OK;
}

HRESULT FakeDevice::ProcessVertices(UINT, UINT, UINT, IDirect3DVertexBuffer9*, IDirect3DVertexDeclaration9*, DWORD) {
    Log("ProcessVertices");
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::DrawRectPatch(UINT handle, const float*, const D3DRECTPATCH_INFO*) {
    Log("DrawRectPatch %u", handle);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::DrawTriPatch(UINT handle, const float*, const D3DTRIPATCH_INFO*) {
    Log("DrawTriPatch %u", handle);
    return D3DERR_INVALIDCALL;
}

HRESULT FakeDevice::DeletePatch(UINT handle) {
    Log("DeletePatch %u", handle);
    return D3DERR_INVALIDCALL;
}

}  // namespace fakes
