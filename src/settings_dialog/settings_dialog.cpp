// The "Direct3D Settings" dialog: its life cycle, the command dispatch and the handlers that
// refill each list from the enumeration tree when the list before it changes.
#include "settings_dialog/settings_dialog.h"

#include <cstdio>

#include "enumeration/value_names.h"
#include "resources/resource_ids.h"

SettingsDialog* activeSettingsDialog = nullptr;

namespace {

// Texts of the display-mode lists are formatted into buffers of this size.
constexpr int kModeTextSize = 50;
constexpr int kDescriptionSize = 512;

UINT CountOf(const ArrayList* list) { return list ? list->Count() : 0; }

template <typename T>
T* RecordAt(const ArrayList* list, UINT index) {
    return static_cast<T*>(list->ItemAt(index));
}

UINT_PTR DataOf(const void* record) { return reinterpret_cast<UINT_PTR>(record); }

// A resolution travels as one item datum: height in the upper, width in the lower 16 bits.
UINT_PTR ResolutionData(UINT width, UINT height) {
    return (static_cast<UINT_PTR>(height & 0xFFFF) << 16) | (width & 0xFFFF);
}

void FormatResolution(char (&text)[kModeTextSize], UINT width, UINT height) {
    std::snprintf(text, sizeof text, "%d by %d", static_cast<int>(width), static_cast<int>(height));
}

void FormatRefreshRate(char (&text)[kModeTextSize], UINT rate) {
    if (rate == 0) {
        lstrcpyA(text, "Default Rate");
    } else {
        std::snprintf(text, sizeof text, "%d Hz", static_cast<int>(rate));
    }
}

// The bounded, always-terminated copy the framework offers as CopyStringBounded, which this
// library cannot link.
void CopyBounded(char* destination, const char* source, int size) {
    lstrcpynA(destination, source, size);
}

}  // namespace

SettingsDialog::SettingsDialog(DeviceEnumeration* enumeration, const DeviceSettings& settings)
    : enumeration(enumeration), settings(settings) {
    activeSettingsDialog = this;
}

SettingsDialog::~SettingsDialog() {
    if (activeSettingsDialog == this) activeSettingsDialog = nullptr;
}

INT_PTR SettingsDialog::Show(HWND owner) {
    activeSettingsDialog = this;
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SELECTDEVICE), owner,
                           DialogProcedure, 0);
}

INT_PTR CALLBACK SettingsDialog::DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    SettingsDialog* dialog = activeSettingsDialog;
    return dialog ? dialog->HandleMessage(window, message, wParam, lParam) : FALSE;
}

INT_PTR SettingsDialog::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(window);
        return TRUE;
    case WM_COMMAND:
        DispatchCommand(window, wParam);
        return TRUE;
    default:
        return FALSE;
    }
}

void SettingsDialog::DispatchCommand(HWND window, WPARAM wParam) {
    struct CommandRoute {
        int controlId;
        bool anyNotification;  // the radio buttons; the lists react to CBN_SELCHANGE only
        void (SettingsDialog::*handler)();
    };
    static const CommandRoute routes[] = {
        {IDC_ADAPTER_COMBO, false, &SettingsDialog::OnAdapterSelected},
        {IDC_DEVICE_COMBO, false, &SettingsDialog::OnDeviceTypeSelected},
        {IDC_WINDOW, true, &SettingsDialog::OnWindowModeSelected},
        {IDC_FULLSCREEN, true, &SettingsDialog::OnWindowModeSelected},
        {IDC_ADAPTERFORMAT_COMBO, false, &SettingsDialog::OnAdapterFormatSelected},
        {IDC_RESOLUTION_COMBO, false, &SettingsDialog::OnResolutionSelected},
        {IDC_REFRESHRATE_COMBO, false, &SettingsDialog::OnRefreshRateSelected},
        {IDC_BACKBUFFERFORMAT_COMBO, false, &SettingsDialog::OnBackBufferFormatSelected},
        {IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, false, &SettingsDialog::OnDepthStencilFormatSelected},
        {IDC_MULTISAMPLE_COMBO, false, &SettingsDialog::OnMultisampleTypeSelected},
        {IDC_MULTISAMPLE_QUALITY_COMBO, false, &SettingsDialog::OnMultisampleQualitySelected},
        {IDC_VERTEXPROCESSING_COMBO, false, &SettingsDialog::OnVertexProcessingSelected},
        {IDC_PRESENTINTERVAL_COMBO, false, &SettingsDialog::OnPresentIntervalSelected},
    };

    int controlId = LOWORD(wParam);
    if (controlId == IDOK || controlId == IDCANCEL) {
        static_cast<void>(EndDialog(window, controlId));
        return;
    }
    for (const CommandRoute& route : routes) {
        if (route.controlId != controlId) continue;
        if (route.anyNotification || HIWORD(wParam) == CBN_SELCHANGE) (this->*route.handler)();
        return;
    }
}

void SettingsDialog::OnInitDialog(HWND window) {
    dialogWindow = window;
    // A half that was never chosen has no combo yet: then no adapter is preferred.
    const DeviceCombo* currentCombo = settings.CurrentDeviceCombo();
    const ArrayList* adapters = enumeration ? enumeration->adapterInfos : nullptr;
    for (UINT i = 0; i < CountOf(adapters); ++i) {
        AdapterInfo* adapter = RecordAt<AdapterInfo>(adapters, i);
        char description[kDescriptionSize];
        CopyBounded(description, adapter->identifier.Description, kDescriptionSize);
        AddListItem(IDC_ADAPTER_COMBO, DataOf(adapter), description);
        if (currentCombo && adapter->adapterOrdinal == currentCombo->adapterOrdinal) {
            SelectListItemByData(IDC_ADAPTER_COMBO, DataOf(adapter));
        }
    }
    SelectListFallback(IDC_ADAPTER_COMBO);
}

void SettingsDialog::OnAdapterSelected() {
    auto* adapter = reinterpret_cast<AdapterInfo*>(SelectedListData(IDC_ADAPTER_COMBO));
    if (!adapter) return;
    settings.SetCurrentAdapterInfo(adapter);

    const DeviceCombo* currentCombo = settings.CurrentDeviceCombo();
    ClearList(IDC_DEVICE_COMBO);
    for (UINT i = 0; i < CountOf(adapter->deviceInfos); ++i) {
        DeviceInfo* device = RecordAt<DeviceInfo>(adapter->deviceInfos, i);
        AddListItem(IDC_DEVICE_COMBO, DataOf(device), DeviceTypeText(device->deviceType));
        if (currentCombo && device->deviceType == currentCombo->deviceType) {
            SelectListItemByData(IDC_DEVICE_COMBO, DataOf(device));
        }
    }
    SelectListFallback(IDC_DEVICE_COMBO);
}

void SettingsDialog::OnDeviceTypeSelected() {
    auto* device = reinterpret_cast<DeviceInfo*>(SelectedListData(IDC_DEVICE_COMBO));
    if (!device) return;
    settings.SetCurrentDeviceInfo(device);

    bool hasWindowed = false;
    bool hasFullscreen = false;
    for (UINT i = 0; i < CountOf(device->deviceCombos); ++i) {
        if (RecordAt<DeviceCombo>(device->deviceCombos, i)->isWindowed) {
            hasWindowed = true;
        } else {
            hasFullscreen = true;
        }
    }
    EnableWindow(GetDlgItem(dialogWindow, IDC_WINDOW), hasWindowed);
    EnableWindow(GetDlgItem(dialogWindow, IDC_FULLSCREEN), hasFullscreen);
    // A device without fullscreen combos stays windowed even when fullscreen was asked for:
    // checking the disabled button would leave every list below it empty or stale.
    bool windowed = (settings.isWindowed && hasWindowed) || !hasFullscreen;
    CheckRadioButton(dialogWindow, IDC_WINDOW, IDC_FULLSCREEN, windowed ? IDC_WINDOW : IDC_FULLSCREEN);
    OnWindowModeSelected();
}

void SettingsDialog::OnWindowModeSelected() {
    auto* adapter = reinterpret_cast<AdapterInfo*>(SelectedListData(IDC_ADAPTER_COMBO));
    auto* device = reinterpret_cast<DeviceInfo*>(SelectedListData(IDC_DEVICE_COMBO));
    if (!adapter || !device) return;

    if (IsDlgButtonChecked(dialogWindow, IDC_WINDOW) == BST_CHECKED) {
        settings.isWindowed = true;
        settings.windowedAdapterInfo = adapter;
        settings.windowedDeviceInfo = device;
        // Windowed, the display mode is the desktop's: shown, but not for choosing.
        const D3DDISPLAYMODE& mode = settings.windowedDisplayMode;
        ShowFixedListItem(IDC_ADAPTERFORMAT_COMBO, mode.Format, FormatText(mode.Format, true));
        char text[kModeTextSize];
        FormatResolution(text, mode.Width, mode.Height);
        ShowFixedListItem(IDC_RESOLUTION_COMBO, ResolutionData(mode.Width, mode.Height), text);
        FormatRefreshRate(text, mode.RefreshRate);
        ShowFixedListItem(IDC_REFRESHRATE_COMBO, mode.RefreshRate, text);
        return;
    }

    settings.isWindowed = false;
    settings.fullscreenAdapterInfo = adapter;
    settings.fullscreenDeviceInfo = device;
    ClearList(IDC_ADAPTERFORMAT_COMBO);
    for (UINT i = 0; i < CountOf(device->deviceCombos); ++i) {
        D3DFORMAT format = RecordAt<DeviceCombo>(device->deviceCombos, i)->adapterFormat;
        const char* text = FormatText(format, true);
        if (ListHasText(IDC_ADAPTERFORMAT_COMBO, text)) continue;
        AddListItem(IDC_ADAPTERFORMAT_COMBO, format, text);
        if (format == settings.fullscreenDisplayMode.Format) SelectListItemByData(IDC_ADAPTERFORMAT_COMBO, format);
    }
    SelectListFallback(IDC_ADAPTERFORMAT_COMBO);
    EnableWindow(ListWindow(IDC_ADAPTERFORMAT_COMBO), TRUE);
    EnableWindow(ListWindow(IDC_RESOLUTION_COMBO), TRUE);
    EnableWindow(ListWindow(IDC_REFRESHRATE_COMBO), TRUE);
}

void SettingsDialog::OnAdapterFormatSelected() {
    if (IsDlgButtonChecked(dialogWindow, IDC_WINDOW) != BST_CHECKED) {
        auto* adapter = reinterpret_cast<AdapterInfo*>(SelectedListData(IDC_ADAPTER_COMBO));
        if (adapter && ListHasSelection(IDC_ADAPTERFORMAT_COMBO)) {
            auto format = static_cast<D3DFORMAT>(SelectedListData(IDC_ADAPTERFORMAT_COMBO));
            D3DDISPLAYMODE& wanted = settings.fullscreenDisplayMode;
            wanted.Format = format;
            ClearList(IDC_RESOLUTION_COMBO);
            for (UINT i = 0; i < CountOf(adapter->displayModes); ++i) {
                D3DDISPLAYMODE mode = ValueAt<D3DDISPLAYMODE>(adapter->displayModes, i);
                if (mode.Format != format) continue;
                char text[kModeTextSize];
                FormatResolution(text, mode.Width, mode.Height);
                if (ListHasText(IDC_RESOLUTION_COMBO, text)) continue;
                UINT_PTR data = ResolutionData(mode.Width, mode.Height);
                AddListItem(IDC_RESOLUTION_COMBO, data, text);
                if (mode.Width == wanted.Width && mode.Height == wanted.Height) {
                    SelectListItemByData(IDC_RESOLUTION_COMBO, data);
                }
            }
            SelectListFallback(IDC_RESOLUTION_COMBO);
        }
    }

    auto* device = reinterpret_cast<DeviceInfo*>(SelectedListData(IDC_DEVICE_COMBO));
    if (!device) return;
    const DeviceCombo* currentCombo = settings.CurrentDeviceCombo();
    D3DFORMAT adapterFormat = settings.CurrentDisplayMode().Format;
    ClearList(IDC_BACKBUFFERFORMAT_COMBO);
    for (UINT i = 0; i < CountOf(device->deviceCombos); ++i) {
        const DeviceCombo* combo = RecordAt<DeviceCombo>(device->deviceCombos, i);
        if (combo->isWindowed != settings.isWindowed || combo->adapterFormat != adapterFormat) continue;
        const char* text = FormatText(combo->backBufferFormat, true);
        if (ListHasText(IDC_BACKBUFFERFORMAT_COMBO, text)) continue;
        AddListItem(IDC_BACKBUFFERFORMAT_COMBO, combo->backBufferFormat, text);
        if (currentCombo && combo->backBufferFormat == currentCombo->backBufferFormat) {
            SelectListItemByData(IDC_BACKBUFFERFORMAT_COMBO, combo->backBufferFormat);
        }
    }
    SelectListFallback(IDC_BACKBUFFERFORMAT_COMBO);
}

void SettingsDialog::OnResolutionSelected() {
    if (settings.isWindowed) return;
    auto* adapter = reinterpret_cast<AdapterInfo*>(SelectedListData(IDC_ADAPTER_COMBO));
    // Without a selected resolution there is nothing to store; 0 by 0 is no mode.
    if (!adapter || !ListHasSelection(IDC_RESOLUTION_COMBO)) return;

    UINT_PTR resolution = SelectedListData(IDC_RESOLUTION_COMBO);
    D3DDISPLAYMODE& wanted = settings.fullscreenDisplayMode;
    wanted.Width = LOWORD(resolution);
    wanted.Height = HIWORD(resolution);
    auto format = static_cast<D3DFORMAT>(SelectedListData(IDC_ADAPTERFORMAT_COMBO));

    ClearList(IDC_REFRESHRATE_COMBO);
    for (UINT i = 0; i < CountOf(adapter->displayModes); ++i) {
        D3DDISPLAYMODE mode = ValueAt<D3DDISPLAYMODE>(adapter->displayModes, i);
        if (mode.Format != format || mode.Width != wanted.Width || mode.Height != wanted.Height) continue;
        char text[kModeTextSize];
        FormatRefreshRate(text, mode.RefreshRate);
        if (ListHasText(IDC_REFRESHRATE_COMBO, text)) continue;
        AddListItem(IDC_REFRESHRATE_COMBO, mode.RefreshRate, text);
        if (mode.RefreshRate == wanted.RefreshRate) SelectListItemByData(IDC_REFRESHRATE_COMBO, mode.RefreshRate);
    }
    SelectListFallback(IDC_REFRESHRATE_COMBO);
}

void SettingsDialog::OnRefreshRateSelected() {
    if (settings.isWindowed || !ListHasSelection(IDC_REFRESHRATE_COMBO)) return;
    settings.fullscreenDisplayMode.RefreshRate = static_cast<UINT>(SelectedListData(IDC_REFRESHRATE_COMBO));
}

void SettingsDialog::OnBackBufferFormatSelected() {
    auto* device = reinterpret_cast<DeviceInfo*>(SelectedListData(IDC_DEVICE_COMBO));
    auto adapterFormat = static_cast<D3DFORMAT>(SelectedListData(IDC_ADAPTERFORMAT_COMBO));
    auto backBufferFormat = static_cast<D3DFORMAT>(SelectedListData(IDC_BACKBUFFERFORMAT_COMBO));
    if (!device) return;

    DeviceCombo* chosen = nullptr;
    for (UINT i = 0; i < CountOf(device->deviceCombos) && !chosen; ++i) {
        DeviceCombo* combo = RecordAt<DeviceCombo>(device->deviceCombos, i);
        if (combo->isWindowed == settings.isWindowed && combo->adapterFormat == adapterFormat &&
            combo->backBufferFormat == backBufferFormat) {
            chosen = combo;
        }
    }
    if (!chosen) return;
    settings.SetCurrentDeviceCombo(chosen);

    ClearList(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO);
    if (enumeration->usesDepthBuffer) {
        D3DFORMAT currentFormat = settings.CurrentDepthStencilFormat();
        for (UINT i = 0; i < CountOf(chosen->depthStencilFormats); ++i) {
            auto format = ValueAt<D3DFORMAT>(chosen->depthStencilFormats, i);
            AddListItem(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, format, FormatText(format, true));
            if (format == currentFormat) SelectListItemByData(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, format);
        }
        SelectListFallback(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO);
    } else {
        EnableWindow(ListWindow(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO), FALSE);
        AddListItem(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, 0, "(not used)");
        SelectListIndex(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO, 0);
    }

    ClearList(IDC_VERTEXPROCESSING_COMBO);
    VertexProcessingType currentProcessing = settings.CurrentVertexProcessing();
    for (UINT i = 0; i < CountOf(chosen->vertexProcessingTypes); ++i) {
        auto type = ValueAt<VertexProcessingType>(chosen->vertexProcessingTypes, i);
        AddListItem(IDC_VERTEXPROCESSING_COMBO, type, VertexProcessingText(type));
        if (type == currentProcessing) SelectListItemByData(IDC_VERTEXPROCESSING_COMBO, type);
    }
    SelectListFallback(IDC_VERTEXPROCESSING_COMBO);

    ClearList(IDC_PRESENTINTERVAL_COMBO);
    UINT currentInterval = settings.CurrentPresentInterval();
    for (UINT i = 0; i < CountOf(chosen->presentIntervals); ++i) {
        auto interval = ValueAt<UINT>(chosen->presentIntervals, i);
        AddListItem(IDC_PRESENTINTERVAL_COMBO, interval, PresentIntervalText(interval));
        if (interval == currentInterval) SelectListItemByData(IDC_PRESENTINTERVAL_COMBO, interval);
    }
    SelectListFallback(IDC_PRESENTINTERVAL_COMBO);
}

void SettingsDialog::OnDepthStencilFormatSelected() {
    auto format = static_cast<D3DFORMAT>(SelectedListData(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO));
    if (enumeration->usesDepthBuffer && ListHasSelection(IDC_DEPTHSTENCILBUFFERFORMAT_COMBO)) {
        settings.SetCurrentDepthStencilFormat(format);
    }

    const DeviceCombo* combo = settings.CurrentDeviceCombo();
    ClearList(IDC_MULTISAMPLE_COMBO);
    if (!combo) return;
    for (UINT i = 0; i < CountOf(combo->multisampleTypes); ++i) {
        auto type = ValueAt<D3DMULTISAMPLE_TYPE>(combo->multisampleTypes, i);
        DepthMultisampleConflict pair = {format, type};
        if (combo->depthMultisampleConflicts && combo->depthMultisampleConflicts->Includes(&pair)) continue;
        AddListItem(IDC_MULTISAMPLE_COMBO, type, MultisampleTypeText(type));
        if (type == settings.multisampleType) SelectListItemByData(IDC_MULTISAMPLE_COMBO, type);
    }
    SelectListFallback(IDC_MULTISAMPLE_COMBO);
}

void SettingsDialog::OnMultisampleTypeSelected() {
    // A notification that outlived its list's refill finds no selection: keep the type.
    if (!ListHasSelection(IDC_MULTISAMPLE_COMBO)) return;
    settings.multisampleType = static_cast<D3DMULTISAMPLE_TYPE>(SelectedListData(IDC_MULTISAMPLE_COMBO));

    DWORD levelCount = 0;
    const DeviceCombo* combo = settings.CurrentDeviceCombo();
    if (combo) {
        for (UINT i = 0; i < CountOf(combo->multisampleTypes); ++i) {
            if (ValueAt<D3DMULTISAMPLE_TYPE>(combo->multisampleTypes, i) != settings.multisampleType) continue;
            if (i < CountOf(combo->multisampleQualityLevels)) {
                levelCount = ValueAt<DWORD>(combo->multisampleQualityLevels, i);
            }
            break;
        }
    }

    ClearList(IDC_MULTISAMPLE_QUALITY_COMBO);
    for (DWORD quality = 0; quality < levelCount; ++quality) {
        char text[16];
        wsprintfA(text, "%d", static_cast<int>(quality));
        AddListItem(IDC_MULTISAMPLE_QUALITY_COMBO, quality, text);
        if (quality == settings.multisampleQuality) SelectListItemByData(IDC_MULTISAMPLE_QUALITY_COMBO, quality);
    }
    SelectListFallback(IDC_MULTISAMPLE_QUALITY_COMBO);
}

void SettingsDialog::OnMultisampleQualitySelected() {
    if (!ListHasSelection(IDC_MULTISAMPLE_QUALITY_COMBO)) return;
    settings.multisampleQuality = static_cast<DWORD>(SelectedListData(IDC_MULTISAMPLE_QUALITY_COMBO));
}

void SettingsDialog::OnVertexProcessingSelected() {
    if (!ListHasSelection(IDC_VERTEXPROCESSING_COMBO)) return;
    settings.SetCurrentVertexProcessing(
        static_cast<VertexProcessingType>(SelectedListData(IDC_VERTEXPROCESSING_COMBO)));
}

void SettingsDialog::OnPresentIntervalSelected() {
    if (!ListHasSelection(IDC_PRESENTINTERVAL_COMBO)) return;
    settings.SetCurrentPresentInterval(static_cast<UINT>(SelectedListData(IDC_PRESENTINTERVAL_COMBO)));
}
