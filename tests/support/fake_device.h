// A memory-backed Direct3D 9 device for unit tests: it logs every call, mirrors the device state,
// keeps every resource it created readable after the product let go of it, and fails on request.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <deque>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace fakes {

class FakeDevice;

// Reference count and device link shared by the fake resources. The device keeps its own hold on
// every resource it created (not counted in refCount), so a test can read a resource's contents
// after the product released it; the object goes when both the count and that hold are gone.
// Resources never add references to the device unless FakeDevice::resourcesReferenceDevice is set.
class FakeResourceCore {
public:
    virtual ~FakeResourceCore() = default;
    virtual const char* KindName() const = 0;

    ULONG refCount = 1;           // references the product holds
    bool heldByDevice = true;     // the device's list still holds the object
    FakeDevice* device = nullptr;  // null once the device is gone
    int id = -1;                  // index in the device's list of this kind

protected:
    ULONG AddRefCore();
    ULONG ReleaseCore();  // deletes the object at 0 once the device no longer holds it
    // The device is going: the object stays only as long as the product still holds it.
    virtual void Detach();

    friend class FakeDevice;
};

// A new reference to device in *result; D3DERR_INVALIDCALL without either.
HRESULT GiveDevice(FakeDevice* device, IDirect3DDevice9** result);

// The counting and the device of every fake resource.
template <class Interface>
class FakeUnknown : public Interface, public FakeResourceCore {
public:
    ULONG STDMETHODCALLTYPE AddRef() override { return AddRefCore(); }
    ULONG STDMETHODCALLTYPE Release() override { return ReleaseCore(); }
    HRESULT STDMETHODCALLTYPE GetDevice(IDirect3DDevice9** result) override { return GiveDevice(device, result); }
};

// The IDirect3DResource9 methods no test looks into, alike for every fake resource; GetType
// answers Type.
template <class Interface, D3DRESOURCETYPE Type>
class FakeResource : public FakeUnknown<Interface> {
public:
    HRESULT STDMETHODCALLTYPE SetPrivateData(REFGUID, const void*, DWORD, DWORD) override {
        return D3DERR_INVALIDCALL;
    }
    HRESULT STDMETHODCALLTYPE GetPrivateData(REFGUID, void*, DWORD*) override { return D3DERR_NOTFOUND; }
    HRESULT STDMETHODCALLTYPE FreePrivateData(REFGUID) override { return D3DERR_NOTFOUND; }
    DWORD STDMETHODCALLTYPE SetPriority(DWORD) override { return 0; }
    DWORD STDMETHODCALLTYPE GetPriority() override { return 0; }
    void STDMETHODCALLTYPE PreLoad() override {}
    D3DRESOURCETYPE STDMETHODCALLTYPE GetType() override { return Type; }
};

// A surface: off-screen plain surface, back buffer, or one level of a FakeTexture (whose
// references then go to the texture). Rows are tightly packed: pitch = width * bytesPerPixel.
class FakeSurface : public FakeResource<IDirect3DSurface9, D3DRTYPE_SURFACE> {
public:
    FakeSurface(FakeDevice* device, const D3DSURFACE_DESC& desc, bool lockable,
                IDirect3DTexture9* container = nullptr);
    static FakeSurface* From(IUnknown* surface);  // null when not one of ours

    D3DSURFACE_DESC desc{};
    UINT bytesPerPixel = 4;
    UINT pitch = 0;
    std::vector<BYTE> bytes;
    bool lockable = true;
    IDirect3DTexture9* container = nullptr;  // texture owning this level, not counted
    const char* kindName = "Surface";

    bool locked = false;
    int lockCount = 0;
    int unlockCount = 0;
    DWORD lastLockFlags = 0;
    bool lastLockHadRect = false;
    RECT lastLockRect{};

    // Lock without logging; used by FakeTexture::LockRect.
    HRESULT LockInternal(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags);
    HRESULT UnlockInternal();
    DWORD PixelAt(UINT x, UINT y) const;  // 16- or 32-bit texel/pixel at (x, y), 0 outside
    void Resize(const D3DSURFACE_DESC& newDesc);
    const char* KindName() const override { return kindName; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE GetContainer(REFIID riid, void** container) override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect() override;
    HRESULT STDMETHODCALLTYPE GetDC(HDC* dc) override;
    HRESULT STDMETHODCALLTYPE ReleaseDC(HDC dc) override;
};

class FakeVertexBuffer : public FakeResource<IDirect3DVertexBuffer9, D3DRTYPE_VERTEXBUFFER> {
public:
    FakeVertexBuffer(FakeDevice* device, UINT length, DWORD usage, DWORD fvf, D3DPOOL pool);
    static FakeVertexBuffer* From(IUnknown* buffer);

    D3DVERTEXBUFFER_DESC desc{};
    std::vector<BYTE> bytes;
    int lockDepth = 0;  // nested locks are legal on buffers
    int lockCount = 0;
    int unlockCount = 0;
    UINT lastLockOffset = 0;
    UINT lastLockSize = 0;
    DWORD lastLockFlags = 0;
    const char* KindName() const override { return "VertexBuffer"; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE Lock(UINT offset, UINT size, void** data, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE Unlock() override;
    HRESULT STDMETHODCALLTYPE GetDesc(D3DVERTEXBUFFER_DESC* desc) override;
};

// A 2D texture whose levels are FakeSurfaces (levels[0] is the full size).
class FakeTexture : public FakeResource<IDirect3DTexture9, D3DRTYPE_TEXTURE> {
public:
    FakeTexture(FakeDevice* device, UINT width, UINT height, UINT levelCount, DWORD usage,
                D3DFORMAT format, D3DPOOL pool);
    ~FakeTexture() override;
    static FakeTexture* From(IUnknown* texture);

    UINT width = 0;
    UINT height = 0;
    DWORD usage = 0;
    D3DFORMAT format = D3DFMT_UNKNOWN;
    D3DPOOL pool = D3DPOOL_DEFAULT;
    std::vector<FakeSurface*> levels;  // owned
    const char* KindName() const override { return "Texture"; }
    void Detach() override;

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    DWORD STDMETHODCALLTYPE SetLOD(DWORD lod) override;
    DWORD STDMETHODCALLTYPE GetLOD() override;
    DWORD STDMETHODCALLTYPE GetLevelCount() override;
    HRESULT STDMETHODCALLTYPE SetAutoGenFilterType(D3DTEXTUREFILTERTYPE filter) override;
    D3DTEXTUREFILTERTYPE STDMETHODCALLTYPE GetAutoGenFilterType() override;
    void STDMETHODCALLTYPE GenerateMipSubLevels() override;
    HRESULT STDMETHODCALLTYPE GetLevelDesc(UINT level, D3DSURFACE_DESC* desc) override;
    HRESULT STDMETHODCALLTYPE GetSurfaceLevel(UINT level, IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE LockRect(UINT level, D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect(UINT level) override;
    HRESULT STDMETHODCALLTYPE AddDirtyRect(const RECT* rect) override;
};

// Everything the fake mirrors of the device's current state. The device derives from it, so tests
// read e.g. device->renderStates[D3DRS_ZENABLE]; state blocks keep copies of (parts of) it.
struct FakeDeviceState {
    DWORD renderStates[256];
    DWORD samplerStates[16][14];
    DWORD textureStageStates[8][33];
    IDirect3DBaseTexture9* textures[8];  // not counted, as the runtime's own binding is not
    IDirect3DVertexBuffer9* streamSource0;
    UINT streamOffset;
    UINT streamStride;
    DWORD fvf;
    IDirect3DPixelShader9* pixelShader;
    IDirect3DVertexShader9* vertexShader;
    D3DMATRIX worldMatrix;
    D3DMATRIX viewMatrix;
    D3DMATRIX projectionMatrix;
    D3DMATERIAL9 material;
    D3DVIEWPORT9 viewport;

    // The runtime's defaults after creation or Reset (depth test on with an automatic depth buffer).
    void SetDefaults(const D3DPRESENT_PARAMETERS& presentParameters);
    D3DMATRIX* TransformSlot(D3DTRANSFORMSTATETYPE state);  // world, view, projection; else null
};

// A state block: either recorded (BeginStateBlock ... EndStateBlock: the states set meanwhile) or
// created with CreateStateBlock (everything). Capture reads those states from the device, Apply
// writes them back; neither allocates.
class FakeStateBlock : public FakeUnknown<IDirect3DStateBlock9> {
public:
    enum class EntryKind { RenderState, SamplerState, TextureStageState, Texture, Fvf, StreamSource,
                           PixelShader, VertexShader, Transform, Material, Viewport };
    struct Entry {
        EntryKind kind;
        DWORD index;     // state, sampler, stage, stream or transform type
        DWORD subIndex;  // sampler/stage state type
        DWORD value;     // state value, FVF, stream offset
        UINT stride;
        IDirect3DBaseTexture9* texture;
        IDirect3DVertexBuffer9* buffer;
        IDirect3DPixelShader9* pixelShader;
        IDirect3DVertexShader9* vertexShader;
        D3DMATRIX matrix;
        D3DMATERIAL9 material;
        D3DVIEWPORT9 viewport;
    };

    explicit FakeStateBlock(FakeDevice* device);
    static FakeStateBlock* From(IUnknown* block);

    bool everything = false;  // CreateStateBlock: the whole FakeDeviceState
    FakeDeviceState snapshot{};
    std::vector<Entry> entries;  // recorded states, each at most once
    int captureCount = 0;
    int applyCount = 0;

    void Record(const Entry& entry);  // while recording: add or overwrite
    const char* KindName() const override { return "StateBlock"; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    HRESULT STDMETHODCALLTYPE Capture() override;
    HRESULT STDMETHODCALLTYPE Apply() override;
};

class FakeQuery : public FakeUnknown<IDirect3DQuery9> {
public:
    FakeQuery(FakeDevice* device, D3DQUERYTYPE type);
    D3DQUERYTYPE type;
    int issueCount = 0;
    const char* KindName() const override { return "Query"; }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    D3DQUERYTYPE STDMETHODCALLTYPE GetType() override;
    DWORD STDMETHODCALLTYPE GetDataSize() override;
    HRESULT STDMETHODCALLTYPE Issue(DWORD flags) override;
    HRESULT STDMETHODCALLTYPE GetData(void* data, DWORD size, DWORD flags) override;
};

class FakeDevice : public IDirect3DDevice9, public FakeDeviceState {
public:
    FakeDevice();
    explicit FakeDevice(const D3DPRESENT_PARAMETERS& presentParameters);
    virtual ~FakeDevice();
    FakeDevice(const FakeDevice&) = delete;
    FakeDevice& operator=(const FakeDevice&) = delete;

    // --- What the test sets up -------------------------------------------------------------
    // The back buffer follows these (also updated by a successful Reset).
    void SetPresentParameters(const D3DPRESENT_PARAMETERS& presentParameters);
    D3DPRESENT_PARAMETERS presentParameters{};
    D3DCAPS9 caps{};
    D3DDISPLAYMODE displayMode{1280, 1024, 60, D3DFMT_X8R8G8B8};
    D3DDEVICE_CREATION_PARAMETERS creationParameters{};
    IDirect3D9* direct3d = nullptr;  // what GetDirect3D hands out (AddRef'd), if set

    HRESULT beginSceneResult = D3D_OK;
    HRESULT presentResult = D3D_OK;
    HRESULT resetResult = D3D_OK;
    std::deque<HRESULT> testCooperativeLevelResults;  // one popped per call; empty -> D3D_OK
    HRESULT getFrontBufferDataResult = D3D_OK;
    HRESULT setCursorPropertiesResult = D3D_OK;
    HRESULT beginStateBlockResult = D3D_OK;
    // Creation results: a failure code fails every creation of that kind; failXAfter = n lets n
    // more creations succeed and fails the next one with D3DERR_OUTOFVIDEOMEMORY (0: the next).
    HRESULT createVertexBufferResult = D3D_OK;
    HRESULT createTextureResult = D3D_OK;
    HRESULT createOffscreenPlainSurfaceResult = D3D_OK;
    HRESULT createRenderTargetResult = D3D_OK;
    HRESULT getRenderTargetDataResult = D3D_OK;
    HRESULT createStateBlockResult = D3D_OK;  // CreateStateBlock and EndStateBlock
    // What CreateRenderTarget answers per multisample mode before the results above (an
    // implementation that offers a mode it cannot make); empty: every mode can be made.
    std::function<HRESULT(D3DMULTISAMPLE_TYPE type, DWORD quality)> renderTargetModeResult;
    int failCreateVertexBufferAfter = -1;
    int failCreateTextureAfter = -1;
    int failCreateOffscreenPlainSurfaceAfter = -1;
    int failCreateRenderTargetAfter = -1;
    int failCreateStateBlockAfter = -1;

    // Simulates references held elsewhere: AddRef/Release report that many more, and the device
    // is not deleted while it is non-zero (the test deletes it then).
    ULONG extraReferences = 0;
    // When false the device stays alive at count 0, so the test can inspect it and delete it.
    bool deleteOnFinalRelease = true;
    // As in the real runtime: each resource the product still holds counts as a device reference.
    bool resourcesReferenceDevice = false;

    std::function<void(FakeDevice&, D3DPRIMITIVETYPE, UINT start, UINT count)> onDrawPrimitive;
    std::function<void(FakeDevice&, D3DPRIMITIVETYPE, UINT count, const void* data, UINT stride)>
        onDrawPrimitiveUP;
    std::function<void(FakeDevice&, FakeSurface& destination)> onGetFrontBufferData;
    D3DCOLOR frontBufferColour = 0xFF336699;  // what GetFrontBufferData fills a 32-bit surface with

    // --- What the test reads ---------------------------------------------------------------
    bool recordCalls = true;  // false: nothing is logged and the hot paths never allocate
    std::vector<std::string> calls;
    std::vector<std::pair<D3DTRANSFORMSTATETYPE, D3DMATRIX>> transforms;
    std::vector<std::vector<BYTE>> upVertexData;

    int drawPrimitiveCount = 0;
    int drawPrimitiveUPCount = 0;
    int beginSceneCount = 0;
    int endSceneCount = 0;
    int presentCount = 0;
    int resetCount = 0;
    int clearCount = 0;
    D3DCOLOR lastClearColour = 0;
    bool inScene = false;
    // Calls the real runtime rejects (draw outside a scene, nested BeginScene, Reset with default-
    // pool resources alive, double lock, ...): counted, the last one named; never allocates.
    int misuseCount = 0;
    const char* lastMisuse = "";

    std::vector<FakeVertexBuffer*> vertexBuffers;  // every one created, in order
    std::vector<FakeTexture*> textureList;
    std::vector<FakeSurface*> surfaces;  // off-screen plain surfaces and render targets
    std::vector<FakeStateBlock*> stateBlocks;
    std::vector<FakeQuery*> queries;
    FakeSurface* backBuffer = nullptr;  // device-owned; GetBackBuffer/GetRenderTarget AddRef it
    FakeStateBlock* recordingStateBlock = nullptr;  // between BeginStateBlock and EndStateBlock
    IDirect3DSurface9* cursorSurface = nullptr;  // last SetCursorProperties surface, not counted
    UINT cursorHotSpotX = 0;
    UINT cursorHotSpotY = 0;
    BOOL cursorVisible = FALSE;

    static FakeDevice* From(IUnknown* device) { return dynamic_cast<FakeDevice*>(device); }
    ULONG RefCount() const { return refCount; }
    // Resources whose product references are not all released (the device's own hold aside).
    int LiveResourceCount() const;
    std::string LiveResourceReport() const;  // "VertexBuffer 0 refs 1; ..." for failure messages
    int CountCalls(const std::string& prefix) const;  // log lines starting with prefix
    void ClearCalls();  // calls, transforms and upVertexData

#ifdef __MINGW_PRINTF_FORMAT
    __attribute__((format(__MINGW_PRINTF_FORMAT, 2, 3)))
#endif
    void Log(const char* format, ...);  // no-op unless recordCalls
    void Misuse(const char* what);
    void ResourceReleased();  // a resource's count reached 0: maybe the device's final reference

    // --- IDirect3DDevice9 ------------------------------------------------------------------
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID riid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    UINT STDMETHODCALLTYPE GetAvailableTextureMem() override;
    HRESULT STDMETHODCALLTYPE EvictManagedResources() override;
    HRESULT STDMETHODCALLTYPE GetDirect3D(IDirect3D9** direct3d) override;
    HRESULT STDMETHODCALLTYPE GetDeviceCaps(D3DCAPS9* caps) override;
    HRESULT STDMETHODCALLTYPE GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) override;
    HRESULT STDMETHODCALLTYPE GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE SetCursorProperties(UINT hotSpotX, UINT hotSpotY, IDirect3DSurface9* bitmap) override;
    void STDMETHODCALLTYPE SetCursorPosition(int x, int y, DWORD flags) override;
    WINBOOL STDMETHODCALLTYPE ShowCursor(WINBOOL show) override;
    HRESULT STDMETHODCALLTYPE CreateAdditionalSwapChain(D3DPRESENT_PARAMETERS* parameters, IDirect3DSwapChain9** swapChain) override;
    HRESULT STDMETHODCALLTYPE GetSwapChain(UINT swapChain, IDirect3DSwapChain9** result) override;
    UINT STDMETHODCALLTYPE GetNumberOfSwapChains() override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* sourceRect, const RECT* destRect, HWND destWindow, const RGNDATA* dirtyRegion) override;
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type, IDirect3DSurface9** surface) override;
    HRESULT STDMETHODCALLTYPE GetRasterStatus(UINT swapChain, D3DRASTER_STATUS* status) override;
    HRESULT STDMETHODCALLTYPE SetDialogBoxMode(WINBOOL enable) override;
    void STDMETHODCALLTYPE SetGammaRamp(UINT swapChain, DWORD flags, const D3DGAMMARAMP* ramp) override;
    void STDMETHODCALLTYPE GetGammaRamp(UINT swapChain, D3DGAMMARAMP* ramp) override;
    HRESULT STDMETHODCALLTYPE CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateVolumeTexture(UINT width, UINT height, UINT depth, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DVolumeTexture9** texture, HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateCubeTexture(UINT edgeLength, UINT levels, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DCubeTexture9** texture, HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool, IDirect3DVertexBuffer9** buffer, HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool, IDirect3DIndexBuffer9** buffer, HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateRenderTarget(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample, DWORD quality, WINBOOL lockable, IDirect3DSurface9** surface, HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format, D3DMULTISAMPLE_TYPE multiSample, DWORD quality, WINBOOL discard, IDirect3DSurface9** surface, HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* destination, const POINT* destPoint) override;
    HRESULT STDMETHODCALLTYPE UpdateTexture(IDirect3DBaseTexture9* source, IDirect3DBaseTexture9* destination) override;
    HRESULT STDMETHODCALLTYPE GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* destination) override;
    HRESULT STDMETHODCALLTYPE GetFrontBufferData(UINT swapChain, IDirect3DSurface9* destination) override;
    HRESULT STDMETHODCALLTYPE StretchRect(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* destination, const RECT* destRect, D3DTEXTUREFILTERTYPE filter) override;
    HRESULT STDMETHODCALLTYPE ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR colour) override;
    HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool, IDirect3DSurface9** surface, HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE SetRenderTarget(DWORD index, IDirect3DSurface9* renderTarget) override;
    HRESULT STDMETHODCALLTYPE GetRenderTarget(DWORD index, IDirect3DSurface9** renderTarget) override;
    HRESULT STDMETHODCALLTYPE SetDepthStencilSurface(IDirect3DSurface9* depthStencil) override;
    HRESULT STDMETHODCALLTYPE GetDepthStencilSurface(IDirect3DSurface9** depthStencil) override;
    HRESULT STDMETHODCALLTYPE BeginScene() override;
    HRESULT STDMETHODCALLTYPE EndScene() override;
    HRESULT STDMETHODCALLTYPE Clear(DWORD rectCount, const D3DRECT* rects, DWORD flags, D3DCOLOR colour, float z, DWORD stencil) override;
    HRESULT STDMETHODCALLTYPE SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE MultiplyTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT STDMETHODCALLTYPE SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT STDMETHODCALLTYPE GetViewport(D3DVIEWPORT9* viewport) override;
    HRESULT STDMETHODCALLTYPE SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT STDMETHODCALLTYPE GetMaterial(D3DMATERIAL9* material) override;
    HRESULT STDMETHODCALLTYPE SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT STDMETHODCALLTYPE GetLight(DWORD index, D3DLIGHT9* light) override;
    HRESULT STDMETHODCALLTYPE LightEnable(DWORD index, WINBOOL enable) override;
    HRESULT STDMETHODCALLTYPE GetLightEnable(DWORD index, WINBOOL* enable) override;
    HRESULT STDMETHODCALLTYPE SetClipPlane(DWORD index, const float* plane) override;
    HRESULT STDMETHODCALLTYPE GetClipPlane(DWORD index, float* plane) override;
    HRESULT STDMETHODCALLTYPE SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT STDMETHODCALLTYPE GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT STDMETHODCALLTYPE CreateStateBlock(D3DSTATEBLOCKTYPE type, IDirect3DStateBlock9** block) override;
    HRESULT STDMETHODCALLTYPE BeginStateBlock() override;
    HRESULT STDMETHODCALLTYPE EndStateBlock(IDirect3DStateBlock9** block) override;
    HRESULT STDMETHODCALLTYPE SetClipStatus(const D3DCLIPSTATUS9* status) override;
    HRESULT STDMETHODCALLTYPE GetClipStatus(D3DCLIPSTATUS9* status) override;
    HRESULT STDMETHODCALLTYPE GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT STDMETHODCALLTYPE SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT STDMETHODCALLTYPE GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT STDMETHODCALLTYPE SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT STDMETHODCALLTYPE GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT STDMETHODCALLTYPE SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT STDMETHODCALLTYPE ValidateDevice(DWORD* passes) override;
    HRESULT STDMETHODCALLTYPE SetPaletteEntries(UINT palette, const PALETTEENTRY* entries) override;
    HRESULT STDMETHODCALLTYPE GetPaletteEntries(UINT palette, PALETTEENTRY* entries) override;
    HRESULT STDMETHODCALLTYPE SetCurrentTexturePalette(UINT palette) override;
    HRESULT STDMETHODCALLTYPE GetCurrentTexturePalette(UINT* palette) override;
    HRESULT STDMETHODCALLTYPE SetScissorRect(const RECT* rect) override;
    HRESULT STDMETHODCALLTYPE GetScissorRect(RECT* rect) override;
    HRESULT STDMETHODCALLTYPE SetSoftwareVertexProcessing(WINBOOL software) override;
    WINBOOL STDMETHODCALLTYPE GetSoftwareVertexProcessing() override;
    HRESULT STDMETHODCALLTYPE SetNPatchMode(float segments) override;
    float STDMETHODCALLTYPE GetNPatchMode() override;
    HRESULT STDMETHODCALLTYPE DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertex, UINT minIndex, UINT vertexCount, UINT startIndex, UINT primitiveCount) override;
    HRESULT STDMETHODCALLTYPE DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* data, UINT stride) override;
    HRESULT STDMETHODCALLTYPE DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minIndex, UINT vertexCount, UINT primitiveCount, const void* indexData, D3DFORMAT indexFormat, const void* data, UINT stride) override;
    HRESULT STDMETHODCALLTYPE ProcessVertices(UINT sourceStart, UINT destIndex, UINT vertexCount, IDirect3DVertexBuffer9* destBuffer, IDirect3DVertexDeclaration9* declaration, DWORD flags) override;
    HRESULT STDMETHODCALLTYPE CreateVertexDeclaration(const D3DVERTEXELEMENT9* elements, IDirect3DVertexDeclaration9** declaration) override;
    HRESULT STDMETHODCALLTYPE SetVertexDeclaration(IDirect3DVertexDeclaration9* declaration) override;
    HRESULT STDMETHODCALLTYPE GetVertexDeclaration(IDirect3DVertexDeclaration9** declaration) override;
    HRESULT STDMETHODCALLTYPE SetFVF(DWORD fvf) override;
    HRESULT STDMETHODCALLTYPE GetFVF(DWORD* fvf) override;
    HRESULT STDMETHODCALLTYPE CreateVertexShader(const DWORD* byteCode, IDirect3DVertexShader9** shader) override;
    HRESULT STDMETHODCALLTYPE SetVertexShader(IDirect3DVertexShader9* shader) override;
    HRESULT STDMETHODCALLTYPE GetVertexShader(IDirect3DVertexShader9** shader) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantF(UINT reg, const float* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantF(UINT reg, float* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantI(UINT reg, const int* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantI(UINT reg, int* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE SetVertexShaderConstantB(UINT reg, const WINBOOL* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE GetVertexShaderConstantB(UINT reg, WINBOOL* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset, UINT stride) override;
    HRESULT STDMETHODCALLTYPE GetStreamSource(UINT stream, IDirect3DVertexBuffer9** buffer, UINT* offset, UINT* stride) override;
    HRESULT STDMETHODCALLTYPE SetStreamSourceFreq(UINT stream, UINT divider) override;
    HRESULT STDMETHODCALLTYPE GetStreamSourceFreq(UINT stream, UINT* divider) override;
    HRESULT STDMETHODCALLTYPE SetIndices(IDirect3DIndexBuffer9* indices) override;
    HRESULT STDMETHODCALLTYPE GetIndices(IDirect3DIndexBuffer9** indices) override;
    HRESULT STDMETHODCALLTYPE CreatePixelShader(const DWORD* byteCode, IDirect3DPixelShader9** shader) override;
    HRESULT STDMETHODCALLTYPE SetPixelShader(IDirect3DPixelShader9* shader) override;
    HRESULT STDMETHODCALLTYPE GetPixelShader(IDirect3DPixelShader9** shader) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantF(UINT reg, const float* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantF(UINT reg, float* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantI(UINT reg, const int* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantI(UINT reg, int* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE SetPixelShaderConstantB(UINT reg, const WINBOOL* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE GetPixelShaderConstantB(UINT reg, WINBOOL* data, UINT count) override;
    HRESULT STDMETHODCALLTYPE DrawRectPatch(UINT handle, const float* segmentCount, const D3DRECTPATCH_INFO* info) override;
    HRESULT STDMETHODCALLTYPE DrawTriPatch(UINT handle, const float* segmentCount, const D3DTRIPATCH_INFO* info) override;
    HRESULT STDMETHODCALLTYPE DeletePatch(UINT handle) override;
    HRESULT STDMETHODCALLTYPE CreateQuery(D3DQUERYTYPE type, IDirect3DQuery9** query) override;

private:
    void Initialise(const D3DPRESENT_PARAMETERS& presentParameters);
    HRESULT NextCreationResult(HRESULT configured, int& failAfter);
    bool HasLiveDefaultPoolResources() const;
    ULONG ReportedCount() const;
    void RecordState(const FakeStateBlock::Entry& entry);  // into the block being recorded

    ULONG refCount = 1;
};

}  // namespace fakes
