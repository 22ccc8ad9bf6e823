// The settings dialog's combo-box operations: items carry their choice as item data, and every
// selection the dialog makes posts CBN_SELCHANGE so that the dependent lists refill in turn.
#include "settings_dialog/settings_dialog.h"

namespace {

// Texts this long or longer are never compared (see ListHasText).
constexpr int kComparedTextLimit = 200;

}  // namespace

HWND SettingsDialog::ListWindow(int id) const { return GetDlgItem(dialogWindow, id); }

void SettingsDialog::AddListItem(int id, UINT_PTR data, const char* text) {
    HWND list = ListWindow(id);
    LRESULT index = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
    // CB_ERR or CB_ERRSPACE: nothing was added. Passing -1 on to CB_SETITEMDATA would set the
    // data of every item in the list.
    if (index < 0) return;
    SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(index), static_cast<LPARAM>(data));
}

void SettingsDialog::SelectListIndex(int id, int index) {
    HWND list = ListWindow(id);
    SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
    // Posted, not sent: the refills behind this list run after the current handler, in order.
    static_cast<void>(PostMessageA(dialogWindow, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                                   reinterpret_cast<LPARAM>(list)));
}

void SettingsDialog::SelectListItemByData(int id, UINT_PTR data) {
    HWND list = ListWindow(id);
    int count = ListItemCount(id);
    for (int index = 0; index < count; ++index) {
        LRESULT itemData = SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0);
        if (static_cast<UINT_PTR>(itemData) == data) {
            SelectListIndex(id, index);
            return;
        }
    }
}

UINT_PTR SettingsDialog::SelectedListData(int id) {
    HWND list = ListWindow(id);
    LRESULT index = SendMessageA(list, CB_GETCURSEL, 0, 0);
    if (index < 0) return 0;
    return static_cast<UINT_PTR>(SendMessageA(list, CB_GETITEMDATA, static_cast<WPARAM>(index), 0));
}

bool SettingsDialog::ListHasSelection(int id) {
    return SendMessageA(ListWindow(id), CB_GETCURSEL, 0, 0) >= 0;
}

int SettingsDialog::ListItemCount(int id) {
    LRESULT count = SendMessageA(ListWindow(id), CB_GETCOUNT, 0, 0);
    return count > 0 ? static_cast<int>(count) : 0;
}

void SettingsDialog::ClearList(int id) { SendMessageA(ListWindow(id), CB_RESETCONTENT, 0, 0); }

bool SettingsDialog::ListHasText(int id, const char* text) {
    HWND list = ListWindow(id);
    int count = ListItemCount(id);
    for (int index = 0; index < count; ++index) {
        LRESULT length = SendMessageA(list, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
        if (length < 0 || length >= kComparedTextLimit) continue;
        char itemText[kComparedTextLimit];
        SendMessageA(list, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(itemText));
        if (lstrcmpA(itemText, text) == 0) return true;
    }
    return false;
}

void SettingsDialog::SelectListFallback(int id) {
    if (!ListHasSelection(id) && ListItemCount(id) > 0) SelectListIndex(id, 0);
}

void SettingsDialog::ShowFixedListItem(int id, UINT_PTR data, const char* text) {
    ClearList(id);
    AddListItem(id, data, text);
    SelectListIndex(id, 0);
    EnableWindow(ListWindow(id), FALSE);
}
