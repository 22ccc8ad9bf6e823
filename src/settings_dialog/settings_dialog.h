// The modal "Direct3D Settings" dialog: edits a copy of DeviceSettings, offering only what the
// enumeration holds, each choice narrowing the lists after it.
#pragma once

#include <windows.h>

#include "enumeration/device_enumeration.h"

class SettingsDialog;
// The dialog procedure reaches the one dialog being shown through this pointer.
extern SettingsDialog* activeSettingsDialog;

class SettingsDialog {
public:
    SettingsDialog(DeviceEnumeration* enumeration, const DeviceSettings& settings);
    ~SettingsDialog();
    SettingsDialog(const SettingsDialog&) = delete;
    SettingsDialog& operator=(const SettingsDialog&) = delete;

    // IDOK or IDCANCEL (anything but IDOK is a cancel).
    INT_PTR Show(HWND owner);
    static INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND dialogWindow = nullptr;
    DeviceEnumeration* enumeration;
    DeviceSettings settings;

private:
    void OnInitDialog(HWND window);
    void DispatchCommand(HWND window, WPARAM wParam);

    void OnAdapterSelected();
    void OnDeviceTypeSelected();
    void OnWindowModeSelected();
    void OnAdapterFormatSelected();
    void OnResolutionSelected();
    void OnRefreshRateSelected();
    void OnBackBufferFormatSelected();
    void OnDepthStencilFormatSelected();
    void OnMultisampleTypeSelected();
    void OnMultisampleQualitySelected();
    void OnVertexProcessingSelected();
    void OnPresentIntervalSelected();

    // The list operations; each works on the combo box GetDlgItem finds for the control id.
    HWND ListWindow(int id) const;
    void AddListItem(int id, UINT_PTR data, const char* text);
    void SelectListIndex(int id, int index);
    void SelectListItemByData(int id, UINT_PTR data);
    UINT_PTR SelectedListData(int id);
    bool ListHasSelection(int id);
    int ListItemCount(int id);
    void ClearList(int id);
    bool ListHasText(int id, const char* text);
    void SelectListFallback(int id);
    // A list that shows one fixed, selected and disabled item (the windowed display mode).
    void ShowFixedListItem(int id, UINT_PTR data, const char* text);
};
