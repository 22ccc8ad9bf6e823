// The "Sample Positions" dialog: the heading over a tab per measurement page (its text in a
// fixed-pitch box, its picture beside it), Copy and Save; and F3, which measures and shows it.
#include "viewer/sample_positions_dialog.h"

#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "analysis/session/implementation_json.h"
#include "analysis/session/measurement_json.h"
#include "analysis/session/measurement_session.h"
#include "image/file_replacing.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "viewer/page_text.h"
#include "viewer/save_file_choice.h"
#include "viewer/view_page.h"
#include "viewer/viewer_application.h"

namespace {

// Room between the tab's page area and what lies in it, and between the text and the picture.
constexpr int kPageMargin = 6;

struct DialogState {
    const SampleDialogContents* contents;
    const char* caption;
    size_t current = 0;
    int pictureWidth = 0;  // the template's, kept for pages that have a picture
    HFONT fixedFont = nullptr;
};

DialogState* StateOf(HWND window) {
    return reinterpret_cast<DialogState*>(GetWindowLongPtrA(window, DWLP_USER));
}

RECT ChildRect(HWND window, int id) {
    RECT rect = {};
    GetWindowRect(GetDlgItem(window, id), &rect);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A fixed-pitch face as tall as the dialog's own, so that aligned columns stay aligned.
HFONT CreateFixedFont(HWND window) {
    LOGFONTA font = {};
    HFONT dialogFont = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    if (dialogFont == nullptr || GetObjectA(dialogFont, sizeof(font), &font) == 0) font.lfHeight = -11;
    font.lfWidth = 0;
    font.lfWeight = FW_NORMAL;
    font.lfItalic = FALSE;
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynA(font.lfFaceName, "Courier New", LF_FACESIZE);
    return CreateFontIndirectA(&font);
}

// The page's text and, where it has one, its picture at the right of the tab's page area.
void ShowPage(HWND window, DialogState& state, size_t index) {
    const std::vector<MeasurementPage>& pages = state.contents->pages;
    if (index >= pages.size()) return;
    state.current = index;
    const MeasurementPage& page = pages[index];

    HWND tab = GetDlgItem(window, IDC_SAMPLE_PAGES);
    RECT area = ChildRect(window, IDC_SAMPLE_PAGES);
    SendMessageA(tab, TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&area));
    InflateRect(&area, -kPageMargin, -kPageMargin);
    const bool picture = static_cast<bool>(page.paint);
    RECT text = area;
    if (picture) text.right = std::max(text.left, area.right - state.pictureWidth - kPageMargin);
    HWND textBox = GetDlgItem(window, IDC_SAMPLE_PAGE_TEXT);
    MoveWindow(textBox, text.left, text.top, text.right - text.left, text.bottom - text.top, TRUE);
    SetWindowTextA(textBox, AlignedColumns(page.text).c_str());

    HWND pictureBox = GetDlgItem(window, IDC_SAMPLE_PICTURE);
    if (picture) {
        MoveWindow(pictureBox, area.right - state.pictureWidth, area.top, state.pictureWidth,
                   area.bottom - area.top, FALSE);
        InvalidateRect(pictureBox, nullptr, TRUE);
    }
    ShowWindow(pictureBox, picture ? SW_SHOW : SW_HIDE);
}

// The dialog whose pages Ctrl+Tab steps through, and the filter that sees its keys: the dialog
// box's own loop shows every message to a message filter before the dialog manager takes it.
HWND pagedDialog = nullptr;
HHOOK pageKeys = nullptr;

void StepPage(HWND window, DialogState& state, int step) {
    const int count = static_cast<int>(state.contents->pages.size());
    const int next = (static_cast<int>(state.current) + step + count) % count;
    SendDlgItemMessageA(window, IDC_SAMPLE_PAGES, TCM_SETCURSEL, static_cast<WPARAM>(next), 0);
    ShowPage(window, state, static_cast<size_t>(next));
}

// Ctrl+Tab and Ctrl+Page Down to the next page, with Shift or Page Up to the one before, wherever
// the focus is, as in a property sheet.
LRESULT CALLBACK FilterPageKeys(int code, WPARAM wParam, LPARAM lParam) {
    const MSG* message = reinterpret_cast<const MSG*>(lParam);
    if (code == MSGF_DIALOGBOX && message->message == WM_KEYDOWN && GetKeyState(VK_CONTROL) < 0 &&
        pagedDialog != nullptr && (message->hwnd == pagedDialog || IsChild(pagedDialog, message->hwnd))) {
        int step = 0;
        if (message->wParam == VK_TAB) step = GetKeyState(VK_SHIFT) < 0 ? -1 : 1;
        if (message->wParam == VK_NEXT) step = 1;
        if (message->wParam == VK_PRIOR) step = -1;
        DialogState* state = StateOf(pagedDialog);
        if (step != 0 && state != nullptr) {
            StepPage(pagedDialog, *state, step);
            return TRUE;
        }
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

void OnInitDialog(HWND window, DialogState& state) {
    const SampleDialogContents& contents = *state.contents;
    const int headingControls[] = {IDC_SAMPLE_DEVICE, IDC_SAMPLE_MODE, IDC_SAMPLE_VERDICT};
    for (size_t i = 0; i < sizeof(headingControls) / sizeof(headingControls[0]); ++i) {
        const char* line = i < contents.heading.size() ? contents.heading[i].c_str() : "";
        SetDlgItemTextA(window, headingControls[i], line);
    }
    HWND tab = GetDlgItem(window, IDC_SAMPLE_PAGES);
    for (size_t i = 0; i < contents.pages.size(); ++i) {
        TCITEMA item = {};
        item.mask = TCIF_TEXT;
        item.pszText = const_cast<char*>(contents.pages[i].title.c_str());
        SendMessageA(tab, TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
    }
    const RECT picture = ChildRect(window, IDC_SAMPLE_PICTURE);
    state.pictureWidth = picture.right - picture.left;
    state.fixedFont = CreateFixedFont(window);
    if (state.fixedFont != nullptr) {
        SendDlgItemMessageA(window, IDC_SAMPLE_PAGE_TEXT, WM_SETFONT,
                            reinterpret_cast<WPARAM>(state.fixedFont), FALSE);
    }
    ShowPage(window, state, 0);
    // The tab control takes the keys: Left and Right switch pages.
    SetFocus(tab);
    pagedDialog = window;
    pageKeys = SetWindowsHookExA(WH_MSGFILTER, FilterPageKeys, nullptr, GetCurrentThreadId());
}

bool CopyToClipboard(HWND owner, const std::string& text) {
    if (!OpenClipboard(owner)) return false;
    bool copied = false;
    if (EmptyClipboard()) {
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        void* bytes = memory != nullptr ? GlobalLock(memory) : nullptr;
        if (bytes != nullptr) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            GlobalUnlock(memory);
            copied = SetClipboardData(CF_TEXT, memory) != nullptr;
        }
        // The clipboard owns the memory only once it has taken it.
        if (!copied && memory != nullptr) GlobalFree(memory);
    }
    CloseClipboard();
    return copied;
}

void SaveJson(HWND window, const DialogState& state) {
    char fileName[kSaveFileNameLength];
    if (!ChooseSaveFile(window, "JSON Files (*.json)\0*.json\0", "json", fileName,
                        state.contents->fileName.c_str())) {
        return;
    }
    const HRESULT result = WriteFileReplacing(fileName, state.contents->json);
    if (FAILED(result)) {
        WarnNotSaved(window, state.caption, "The sample positions", fileName, result);
    }
}

void PaintPicture(HWND window, const DialogState& state, const DRAWITEMSTRUCT& item) {
    const MeasurementPage& page = state.contents->pages[state.current];
    if (!page.paint) return;
    // The dialog's font for any words the picture holds.
    HFONT font = reinterpret_cast<HFONT>(SendMessageA(window, WM_GETFONT, 0, 0));
    HGDIOBJ old = font != nullptr ? SelectObject(item.hDC, font) : nullptr;
    page.paint(item.hDC, item.rcItem);
    if (old != nullptr) SelectObject(item.hDC, old);
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        OnInitDialog(window, *reinterpret_cast<DialogState*>(lParam));
        return FALSE;  // the focus is set
    }
    DialogState* state = StateOf(window);
    if (state == nullptr) return FALSE;
    switch (message) {
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_SAMPLE_PICTURE) return FALSE;
        PaintPicture(window, *state, *item);
        return TRUE;
    }
    case WM_CTLCOLORSTATIC:
        // The read-only text box white, as a page's text is read there rather than greyed out.
        if (reinterpret_cast<HWND>(lParam) != GetDlgItem(window, IDC_SAMPLE_PAGE_TEXT)) return FALSE;
        SetBkColor(reinterpret_cast<HDC>(wParam), RGB(255, 255, 255));
        return reinterpret_cast<INT_PTR>(GetStockObject(WHITE_BRUSH));
    case WM_NOTIFY: {
        const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom != IDC_SAMPLE_PAGES || header->code != TCN_SELCHANGE) return FALSE;
        const LRESULT selected = SendMessageA(header->hwndFrom, TCM_GETCURSEL, 0, 0);
        if (selected >= 0) ShowPage(window, *state, static_cast<size_t>(selected));
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SAMPLE_COPY:
            static_cast<void>(
                CopyToClipboard(window, CopiedText(state->contents->heading, state->contents->pages)));
            return TRUE;
        case IDC_SAMPLE_SAVE:
            SaveJson(window, *state);
            return TRUE;
        case IDOK:
        case IDCANCEL:
            EndDialog(window, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
        }
    case WM_DESTROY:
        if (pageKeys != nullptr) UnhookWindowsHookEx(pageKeys);
        pageKeys = nullptr;
        pagedDialog = nullptr;
        if (state->fixedFont != nullptr) DeleteObject(state->fixedFont);
        state->fixedFont = nullptr;
        return FALSE;
    default:
        return FALSE;
    }
}

// The swap chain the user is looking at, and the device's type.
MeasuredDevice DeviceAsShown(ViewerApplication& viewer) {
    MeasuredDevice device;
    device.description = viewer.deviceDescription;
    D3DDEVICE_CREATION_PARAMETERS creation = {};
    if (SUCCEEDED(viewer.device->GetCreationParameters(&creation))) {
        device.deviceType = creation.DeviceType;
    }
    device.fullscreen = !viewer.windowed;
    device.width = viewer.backBufferDesc.Width;
    device.height = viewer.backBufferDesc.Height;
    device.format = viewer.backBufferDesc.Format;
    const AdapterInfo* adapterInfo = viewer.settings.CurrentAdapterInfo();
    if (adapterInfo != nullptr) {
        D3DDISPLAYMODE desktop = {};
        if (viewer.direct3d != nullptr) {
            static_cast<void>(viewer.direct3d->GetAdapterDisplayMode(adapterInfo->adapterOrdinal, &desktop));
        }
        device.adapter = DescribeAdapter(adapterInfo->adapterOrdinal, adapterInfo->identifier, desktop.Format);
    }
    if (const DeviceCombo* combo = viewer.settings.CurrentDeviceCombo()) {
        device.adapterFormat = combo->adapterFormat;
    }
    const platform::Direct3DLibrary library = platform::LoadedDirect3DLibrary();
    device.implementation = DescribeDirect3DImplementation(library.requested, library.module);
    return device;
}

}  // namespace

std::string SamplePositionsJsonText(const ModeMeasurement& measurement, const MeasuredDevice& device) {
    nlohmann::json document = ModeToJson(device.deviceType, device.adapterFormat, measurement.mode);
    document["schemaVersion"] = kMeasurementSchemaVersion;
    document["program"] = "quillant";
    document["adapter"] = AdapterToJson(device.adapter);
    document["implementation"] = ImplementationToJson(device.implementation);
    document["device"] = AnsiToUtf8(device.description.c_str(), device.description.size());
    document["measurement"] = MeasurementToJson(measurement);
    document["timing"] = {{"measurementMilliseconds", RoundedMilliseconds(measurement.milliseconds)}};
    // A text that is no valid UTF-8 after all is mended rather than thrown over.
    return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

SampleDialogContents SamplePositionsContents(const ModeMeasurement& measurement,
                                             const MeasuredDevice& device) {
    SampleDialogContents contents;
    contents.heading = SampleHeadingLines(measurement, device);
    contents.json = SamplePositionsJsonText(measurement, device);
    contents.fileName = SamplePositionsFileName(measurement, device);
    return contents;
}

INT_PTR ShowSamplePositionsDialog(HWND owner, const SampleDialogContents& contents,
                                  const char* caption) {
    if (contents.pages.empty()) return -1;
    DialogState state = {&contents, caption};
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SAMPLE_POSITIONS),
                           owner, DialogProcedure, reinterpret_cast<LPARAM>(&state));
}


void ShowSamplePositions(ViewerApplication& viewer) {
    if (viewer.device == nullptr) return;
    // Paused like the framework's own dialog: the time the dialog is up is not frame time.
    viewer.Pause(true);
    // Measured as the user sees it: fullscreen, in the fullscreen mode.
    const MeasuredDevice device = DeviceAsShown(viewer);
    ModeMeasurement measurement;
    const HRESULT result = MeasureMode(viewer.device, &measurement);
    // A switch that failed has been reported, and the program closes: nothing more to show.
    if (FAILED(viewer.LeaveFullscreenForDialog())) {
        viewer.Pause(false);
        return;
    }
    if (SUCCEEDED(result)) {
        SampleDialogContents contents = SamplePositionsContents(measurement, device);
        contents.pages = MeasurementPages(measurement);
        // How finely and how fast this measurement was made, under the first page's table.
        contents.pages.front().text += "\r\n" + MeasuredText(measurement) + "\r\n";
        // Which d3d9 drew it, and what did not run that was asked for.
        contents.pages.front().text += "Direct3D 9: " + ImplementationText(device.implementation) + "\r\n";
        for (const std::string& warning : device.implementation.warnings) {
            contents.pages.front().text += "Warning: " + warning + "\r\n";
        }
        static_cast<void>(ShowSamplePositionsDialog(viewer.mainWindow, contents, viewer.windowTitle));
    } else {
        char text[128];
        std::snprintf(text, sizeof(text),
                      "The sample positions could not be measured (error 0x%08lX).",
                      static_cast<unsigned long>(result));
        static_cast<void>(platform::ShowMessageBox(viewer.mainWindow, text, viewer.windowTitle,
                                                   MB_ICONWARNING | MB_OK));
    }
    viewer.Pause(false);
}
