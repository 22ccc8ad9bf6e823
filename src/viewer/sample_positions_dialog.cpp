// The "Sample Positions" dialog: heading, table, texture sampling, picture, Copy and Save.
#include "viewer/sample_positions_dialog.h"

#include <windows.h>
#include <commctrl.h>
#include <commdlg.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "analysis/measurement_json.h"
#include "platform/platform.h"
#include "resources/resource_ids.h"
#include "image/file_replacing.h"
#include "viewer/sample_picture.h"
#include "viewer/save_file_choice.h"
#include "viewer/sample_table_text.h"
#include "viewer/viewer_application.h"

namespace {

struct DialogState {
    const ModeMeasurement* measurement;
    const MeasuredDevice* device;
    const char* caption;
    SampleTable table;
};

DialogState* StateOf(HWND window) {
    return reinterpret_cast<DialogState*>(GetWindowLongPtrA(window, DWLP_USER));
}

LRESULT StringWidth(HWND list, const std::string& text) {
    return SendMessageA(list, LVM_GETSTRINGWIDTHA, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void FillTable(HWND list, const SampleTable& table) {
    SendMessageA(list, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (size_t column = 0; column < table.header.size(); ++column) {
        LVCOLUMNA item = {};
        item.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_SUBITEM;
        item.pszText = const_cast<char*>(table.header[column].c_str());
        item.cx = 60;
        item.iSubItem = static_cast<int>(column);
        SendMessageA(list, LVM_INSERTCOLUMNA, column, reinterpret_cast<LPARAM>(&item));
    }
    for (size_t row = 0; row < table.rows.size(); ++row) {
        const std::vector<std::string>& cells = table.rows[row];
        LVITEMA item = {};
        item.mask = LVIF_TEXT;
        item.iItem = static_cast<int>(row);
        item.pszText = const_cast<char*>(cells.empty() ? "" : cells[0].c_str());
        const LRESULT index = SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
        for (size_t column = 1; column < cells.size(); ++column) {
            LVITEMA cell = {};
            cell.iSubItem = static_cast<int>(column);
            cell.pszText = const_cast<char*>(cells[column].c_str());
            SendMessageA(list, LVM_SETITEMTEXTA, index, reinterpret_cast<LPARAM>(&cell));
        }
    }
    // Each column as wide as its widest text, header included (not every list view's automatic
    // width counts the header).
    for (size_t column = 0; column < table.header.size(); ++column) {
        LRESULT width = StringWidth(list, table.header[column]);
        for (const std::vector<std::string>& cells : table.rows) {
            if (column < cells.size()) width = std::max(width, StringWidth(list, cells[column]));
        }
        SendMessageA(list, LVM_SETCOLUMNWIDTH, column, width + 16);
    }
}

void OnInitDialog(HWND window, DialogState& state) {
    const ModeMeasurement& m = *state.measurement;
    const std::vector<std::string> heading = SampleHeadingLines(m, state.device->text.c_str());
    const int headingControls[] = {IDC_SAMPLE_DEVICE, IDC_SAMPLE_MODE, IDC_SAMPLE_VERDICT,
                                   IDC_SAMPLE_NOTES};
    for (size_t i = 0; i < sizeof(headingControls) / sizeof(headingControls[0]); ++i) {
        SetDlgItemTextA(window, headingControls[i], i < heading.size() ? heading[i].c_str() : "");
    }
    SetDlgItemTextA(window, IDC_SAMPLE_TEXTURE, TextureSamplingText(m.samplePositions).c_str());
    SetDlgItemTextA(window, IDC_SAMPLE_MEASURED, MeasuredText(m).c_str());
    FillTable(GetDlgItem(window, IDC_SAMPLE_TABLE), state.table);
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
    if (!ChooseSaveFile(window, "JSON Files (*.json)\0*.json\0", "json", fileName)) return;

    const std::string text = SamplePositionsJsonText(*state.measurement, *state.device);
    if (FAILED(WriteFileReplacing(fileName, text))) {
        WarnNotSaved(window, state.caption, "The sample positions", fileName);
    }
}

INT_PTR CALLBACK DialogProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        OnInitDialog(window, *reinterpret_cast<DialogState*>(lParam));
        return TRUE;
    }
    DialogState* state = StateOf(window);
    if (state == nullptr) return FALSE;
    switch (message) {
    case WM_DRAWITEM: {
        const DRAWITEMSTRUCT* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item->CtlID != IDC_SAMPLE_PICTURE) return FALSE;
        DrawSamplePicture(item->hDC, item->rcItem, state->measurement->samplePositions);
        return TRUE;
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDC_SAMPLE_COPY:
            static_cast<void>(CopyToClipboard(window, SampleTableText(state->table)));
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
    default:
        return FALSE;
    }
}

}  // namespace

std::string SamplePositionsJsonText(const ModeMeasurement& measurement, const MeasuredDevice& device) {
    nlohmann::json document = ModeToJson(device.deviceType, device.adapterFormat, measurement.mode);
    document["schemaVersion"] = kMeasurementSchemaVersion;
    document["program"] = "quillant";
    document["adapter"] = AdapterToJson(device.adapter);
    document["device"] = AnsiToUtf8(device.text.c_str(), device.text.size());
    document["measurement"] = MeasurementToJson(measurement);
    document["timing"] = {{"measurementMilliseconds", RoundedMilliseconds(measurement.milliseconds)}};
    // A text that is no valid UTF-8 after all is mended rather than thrown over.
    return document.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

INT_PTR ShowSamplePositionsDialog(HWND owner, const ModeMeasurement& measurement,
                                  const MeasuredDevice& device, const char* caption) {
    DialogState state = {&measurement, &device, caption, SampleTableFor(measurement.samplePositions)};
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_SAMPLE_POSITIONS),
                           owner, DialogProcedure, reinterpret_cast<LPARAM>(&state));
}

namespace {

// The adapter, device type and formats the viewer's device was made with.
MeasuredDevice DeviceOf(const ViewerApplication& viewer) {
    MeasuredDevice device;
    const AdapterInfo* adapterInfo = viewer.settings.CurrentAdapterInfo();
    const DeviceCombo* combo = viewer.settings.CurrentDeviceCombo();
    D3DDISPLAYMODE desktop = {};
    if (adapterInfo != nullptr) {
        if (viewer.direct3d != nullptr) {
            static_cast<void>(viewer.direct3d->GetAdapterDisplayMode(adapterInfo->adapterOrdinal, &desktop));
        }
        device.adapter = DescribeAdapter(adapterInfo->adapterOrdinal, adapterInfo->identifier, desktop.Format);
    }
    if (combo != nullptr) {
        device.deviceType = combo->deviceType;
        device.adapterFormat = combo->adapterFormat;
    }
    device.text = viewer.deviceDescription;
    return device;
}

}  // namespace

void ShowSamplePositions(ViewerApplication& viewer) {
    if (!viewer.windowed || viewer.device == nullptr) return;
    // Paused like the framework's own dialog: the time the dialog is up is not frame time.
    viewer.Pause(true);
    ModeMeasurement measurement;
    const HRESULT result = MeasureMode(viewer.device, &measurement);
    if (SUCCEEDED(result)) {
        static_cast<void>(ShowSamplePositionsDialog(viewer.mainWindow, measurement, DeviceOf(viewer),
                                                    viewer.windowTitle));
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
