#include "viewer/front_buffer_copy.h"

#include <algorithm>
#include <vector>

#include "framework/safe_release.h"
#include "viewer/image_capture.h"

namespace {

// Wine draws on a thread of its own: a GDI read of the window before the Present has been carried
// out gets the previous frame. An event query issued now is signalled once everything before it,
// the Present included, is done. Bounded, so that a lost device cannot hang the copy.
void WaitForPresentedFrame(IDirect3DDevice9* device) {
    IDirect3DQuery9* query = nullptr;
    if (FAILED(device->CreateQuery(D3DQUERYTYPE_EVENT, &query)) || !query) return;
    if (SUCCEEDED(query->Issue(D3DISSUE_END))) {
        const DWORD start = GetTickCount();
        while (query->GetData(nullptr, 0, D3DGETDATA_FLUSH) == S_FALSE && GetTickCount() - start < 2000) {
            Sleep(0);
        }
    }
    SafeRelease(query);
}

// The part of r that lies on the surface.
RECT ClipToSurface(const RECT& r, const D3DSURFACE_DESC& desc) {
    RECT clipped = {std::max<LONG>(r.left, 0), std::max<LONG>(r.top, 0),
                    std::min<LONG>(r.right, static_cast<LONG>(desc.Width)),
                    std::min<LONG>(r.bottom, static_cast<LONG>(desc.Height))};
    if (clipped.right < clipped.left) clipped.right = clipped.left;
    if (clipped.bottom < clipped.top) clipped.bottom = clipped.top;
    return clipped;
}

bool ClientAreaCameBackBlack(IDirect3DSurface9* copy, const RECT& onSurface) {
    D3DLOCKED_RECT locked;
    if (FAILED(copy->LockRect(&locked, &onSurface, D3DLOCK_READONLY))) return false;
    const RECT whole = {0, 0, onSurface.right - onSurface.left, onSurface.bottom - onSurface.top};
    const bool black = RectIsAllBlack(static_cast<const BYTE*>(locked.pBits), locked.Pitch, whole);
    static_cast<void>(copy->UnlockRect());
    return black;
}

// Writes the window's own picture of its client area over that rectangle of the copy.
HRESULT FillFromWindow(IDirect3DSurface9* copy, HWND window, const RECT& client, const RECT& onSurface) {
    const UINT width = static_cast<UINT>(client.right - client.left);
    const UINT height = static_cast<UINT>(client.bottom - client.top);
    std::vector<DWORD> pixels;
    HRESULT result = CaptureClientArea(window, width, height, pixels);
    if (FAILED(result)) return result;
    if (pixels.size() < static_cast<size_t>(width) * height) return E_FAIL;
    D3DLOCKED_RECT locked;
    result = copy->LockRect(&locked, &onSurface, 0);
    if (FAILED(result)) return result;
    const LONG columns = onSurface.right - onSurface.left;
    for (LONG y = onSurface.top; y < onSurface.bottom; ++y) {
        const DWORD* source = &pixels[static_cast<size_t>(y - client.top) * width + (onSurface.left - client.left)];
        BYTE* row = static_cast<BYTE*>(locked.pBits) + static_cast<size_t>(y - onSurface.top) * locked.Pitch;
        std::copy(source, source + columns, reinterpret_cast<DWORD*>(row));
    }
    return copy->UnlockRect();
}

}  // namespace

RECT ClientRectOnDesktop(HWND window) {
    RECT client = {};
    static_cast<void>(GetClientRect(window, &client));
    POINT origin = {0, 0};
    static_cast<void>(ClientToScreen(window, &origin));
    OffsetRect(&client, origin.x, origin.y);
    return client;
}

HRESULT CopyFrontBuffer(IDirect3DDevice9* device, IDirect3DSurface9* copy, HWND window,
                        FrontBufferSource source) {
    if (!device || !copy) return E_POINTER;
    HRESULT result = S_OK;
    if (source != FrontBufferSourceWindowOnly) {
        result = device->GetFrontBufferData(0, copy);
        if (source == FrontBufferSourceDeviceOnly) return result;
    }
    if (!window) return result;

    D3DSURFACE_DESC desc;
    if (FAILED(copy->GetDesc(&desc))) return result;
    const RECT client = ClientRectOnDesktop(window);
    const RECT onSurface = ClipToSurface(client, desc);
    if (IsRectEmpty(&onSurface)) return result;
    // The pattern with its bands and text never leaves every pixel black: a black copy is a copy
    // that did not happen.
    if (source == FrontBufferSourceAutomatic && SUCCEEDED(result) && !ClientAreaCameBackBlack(copy, onSurface)) {
        return result;
    }
    WaitForPresentedFrame(device);
    return FillFromWindow(copy, window, client, onSurface);
}
