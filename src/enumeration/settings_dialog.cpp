// Placeholder until the dialog lands: every Show is a cancel.
#include "enumeration/settings_dialog.h"

SettingsDialog* activeSettingsDialog = nullptr;

SettingsDialog::SettingsDialog(DeviceEnumeration* enumeration, const DeviceSettings& settings)
    : enumeration(enumeration), settings(settings) {
    activeSettingsDialog = this;
}

INT_PTR SettingsDialog::Show(HWND) { return IDCANCEL; }

INT_PTR CALLBACK SettingsDialog::DialogProcedure(HWND, UINT, WPARAM, LPARAM) { return FALSE; }

INT_PTR SettingsDialog::HandleMessage(HWND, UINT, WPARAM, LPARAM) { return FALSE; }
