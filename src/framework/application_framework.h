// The application framework: owns the main window, the Direct3D object and device, the current
// DeviceSettings and the message and render loop, and calls the program through sixteen
// overridable operations (declared below in their slot order).
#pragma once

#include <windows.h>
#include <d3d9.h>

#include "enumeration/device_enumeration.h"

class ApplicationFramework {
public:
    ApplicationFramework();

    // Overridable operations, in slot order.
    virtual HRESULT ApplyWindowStyleForMode();                                            // 0
    virtual void RefreshFrameStats();                                                      // 1
    virtual HRESULT CheckDeviceAcceptable(D3DCAPS9* caps, DWORD behaviorFlags,
                                          D3DFORMAT backBufferFormat);                     // 2
    virtual HRESULT InitScene() { return S_OK; }                                           // 3
    virtual HRESULT CreateDeviceResources() { return S_OK; }                               // 4
    virtual HRESULT RestoreDeviceResources() { return S_OK; }                              // 5
    virtual HRESULT UpdateFrame() { return S_OK; }                                         // 6
    virtual HRESULT RenderFrame() { return S_OK; }                                         // 7
    virtual HRESULT ReleaseDeviceResources() { return S_OK; }                              // 8
    virtual HRESULT DestroyDeviceResources() { return S_OK; }                              // 9
    virtual HRESULT CleanupScene() { return S_OK; }                                        // 10
    virtual HRESULT Initialize(HINSTANCE instance);                                        // 11
    virtual int RunLoop();                                                                 // 12
    virtual LRESULT HandleWindowMessage(HWND window, UINT message, WPARAM wParam,
                                        LPARAM lParam);                                    // 13
    virtual void Pause(bool pause);                                                        // 14
    virtual ~ApplicationFramework();                                                       // 15

    HRESULT StepFrame();

    // Device life cycle.
    HRESULT ChooseInitialSettings();
    bool FindBestWindowedSettings(bool requireHal, bool requireReference);
    bool FindBestFullscreenSettings(bool requireHal, bool requireReference);
    void BuildPresentParameters();
    HRESULT CreateDeviceFromSettings();
    HRESULT ResetDevice();
    void ReleaseDevice();
    HRESULT ToggleFullscreen();
    HRESULT HandleSizeChange();
    HRESULT ChangeDeviceFromDialog();
    // A dialog is always shown over a windowed device: from fullscreen, the switch to the window
    // first (a failed one is reported as fatal, and the result is a failure).
    HRESULT LeaveFullscreenForDialog();
    // Before a switch to candidate: a multisample mode the implementation offers but cannot create
    // is refused with a message (the result is the failure); the device and settings stay.
    HRESULT RefuseModeItCannotCreate(const DeviceSettings& candidate);
    HRESULT SetDeviceCursor(IDirect3DDevice9* targetDevice, HCURSOR cursor, bool watermark);

    // Fields, in declaration order.
    DeviceEnumeration enumeration;
    DeviceSettings settings;
    bool windowed;
    bool active;
    bool deviceLost;
    bool minimized;
    bool maximized;
    bool suppressSizeHandling;
    bool deviceResourcesCreated;
    bool deviceResourcesRestored;
    bool updateContinuously;
    bool stepPending;
    D3DPRESENT_PARAMETERS presentParams = {};
    HWND mainWindow;
    HWND focusWindow;
    HMENU detachedMenu;
    IDirect3D9* direct3d;
    IDirect3DDevice9* device;
    D3DCAPS9 deviceCaps = {};
    D3DSURFACE_DESC backBufferDesc = {};
    DWORD behaviorFlags;
    DWORD windowedStyle = 0;
    RECT windowedBounds = {};
    RECT clientRect = {};
    float appTime;
    float frameElapsed;
    float framesPerSecond;
    char deviceDescription[90];
    char frameStatistics[90];
    const char* windowTitle;
    int initialClientWidth;
    int initialClientHeight;
    bool showCursorInFullscreen;
    bool clipCursorInFullscreen;
    bool preferFullscreen;
    // Set by Alt+Enter: the Alt release that ends it must not open the menu bar (the accelerator
    // took the Enter, so the system sees Alt pressed and released alone).
    bool swallowNextAltRelease = false;
    // The window's client area has no pixels (zero width or height): nothing is drawn, and the
    // device keeps the back buffer of clientRect, the last client area that had pixels.
    bool clientAreaEmpty = false;
    // Between WM_ENTERSIZEMOVE and WM_EXITSIZEMOVE: a drag resize is handled once, at its end.
    bool inSizeMoveLoop = false;
    // After fullscreen the window's rectangle as a window is held for a while (HoldWindowedBounds).
    static constexpr UINT_PTR kHoldBoundsTimer = 0x51;
    static constexpr DWORD kHoldBoundsMilliseconds = 15000;
    bool holdingBounds = false;
    RECT heldBounds = {};
    DWORD holdUntil = 0;
    void HoldWindowedBounds();
    void CheckHeldBounds();  // on the hold's timer
    bool AtLateFullscreenRectangle() const;
    // True while RenderFrame draws the frame just shown once more (single-frame mode, first frame
    // at a new window size): the same picture, so no frame is counted.
    bool repeatingFrame = false;

private:
    friend struct FrameworkMessageRules;  // the window-message table (window_messages.cpp)

    void SetUpDeviceCursor();
    void RequestFrameInSingleFrameMode();
    bool PresentingAtNewSize();
    void WriteStatisticsLine();
    SIZE presentedClientSize = {-1, -1};  // none presented yet
    void ReturnToWindowedBounds();
    // One step of ToggleFullscreen: into the windowed or fullscreen half, by Reset on the same
    // adapter and device type, else on a new device.
    HRESULT SwitchToMode(bool toWindowed, bool sameDevice);
    // A switch neither made nor undone: back to a window, and the fatal report.
    HRESULT EndAfterFailedSwitch(HRESULT result);
    void ReleaseDirect3D();
    void BuildDeviceDescription(const AdapterInfo& adapterInfo, D3DDEVTYPE deviceType, DWORD flags);
    // The WM_CLOSE sequence; runs once even when a report made while closing closes again.
    void Shutdown();
    bool shutdownStarted = false;
};

// The one application object of the process (set by the constructor).
extern ApplicationFramework* application;

LRESULT CALLBACK FrameworkWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool ConfirmDeviceThunk(D3DCAPS9* caps, VertexProcessingType vertexProcessing, D3DFORMAT backBufferFormat);

// Bounded, always-terminated copy.
HRESULT CopyStringBounded(char* destination, const char* source, int size);
