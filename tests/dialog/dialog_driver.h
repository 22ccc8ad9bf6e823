// Drives a modal SettingsDialog from inside its own message loop the way a user would: reads
// the combo boxes, changes selections, clicks buttons, and records the posted notifications.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "settings_dialog/settings_dialog.h"

namespace dialog_test {

// A list's item texts, and control ids in the order their notifications came.
using Texts = std::vector<std::string>;
using Ids = std::vector<int>;

class DialogDriver {
public:
    using Script = std::function<void(DialogDriver&)>;

    // Shows the dialog and runs the script once the opening cascade has drained; a script that
    // does not end the dialog gets it cancelled. Returns what Show returned.
    static INT_PTR Run(SettingsDialog& dialog, const Script& script) {
        DialogDriver driver(dialog, script);
        current = &driver;
        HHOOK hook = SetWindowsHookExA(WH_GETMESSAGE, RecordNotification, nullptr, GetCurrentThreadId());
        // WM_TIMER comes only when no posted message waits, so the script starts after the
        // opening cascade.
        UINT_PTR timer = SetTimer(nullptr, 0, 10, StartScript);
        INT_PTR result = dialog.Show(nullptr);
        KillTimer(nullptr, timer);
        if (hook) UnhookWindowsHookEx(hook);
        current = nullptr;
        EXPECT_NE(hook, nullptr) << "no message hook: the cascade is not recorded";
        EXPECT_TRUE(driver.scriptRan) << "the dialog ended before the script ran";
        return result;
    }

    HWND Window() const { return dialog.dialogWindow; }
    HWND Item(int id) const { return GetDlgItem(Window(), id); }

    // Dispatches every queued message: the cascade that the last action started runs to its end.
    void Drain() {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return;
            }
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }

    // Control ids of the CBN_SELCHANGE notifications the dialog posted to itself and handled,
    // in handling order, since the last call.
    std::vector<int> TakeNotifications() {
        std::vector<int> taken;
        taken.swap(notifications);
        return taken;
    }

    std::vector<std::string> Texts(int id) const {
        std::vector<std::string> texts;
        for (int index = 0; index < Count(id); ++index) texts.push_back(TextAt(id, index));
        return texts;
    }
    std::vector<UINT_PTR> Data(int id) const {
        std::vector<UINT_PTR> data;
        for (int index = 0; index < Count(id); ++index) {
            data.push_back(static_cast<UINT_PTR>(SendMessageA(Item(id), CB_GETITEMDATA, index, 0)));
        }
        return data;
    }
    int Count(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCOUNT, 0, 0)); }
    int Selection(int id) const { return static_cast<int>(SendMessageA(Item(id), CB_GETCURSEL, 0, 0)); }
    std::string SelectedText(int id) const {
        int index = Selection(id);
        return index < 0 ? std::string() : TextAt(id, index);
    }
    UINT_PTR SelectedData(int id) const {
        int index = Selection(id);
        return index < 0 ? 0 : static_cast<UINT_PTR>(SendMessageA(Item(id), CB_GETITEMDATA, index, 0));
    }
    bool Enabled(int id) const { return IsWindowEnabled(Item(id)) != FALSE; }
    bool Checked(int id) const { return IsDlgButtonChecked(Window(), id) == BST_CHECKED; }

    // A user's pick in a drop-down list: the list selects, then notifies its parent.
    void Choose(int id, const std::string& text) {
        HWND list = Item(id);
        LRESULT index = SendMessageA(list, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                     reinterpret_cast<LPARAM>(text.c_str()));
        if (index < 0) {
            ADD_FAILURE() << "list " << id << " has no item \"" << text << "\"";
            return;
        }
        SendMessageA(list, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
        Drain();
    }
    // A mouse click on a button (the radio buttons check themselves and notify).
    void Click(int id) {
        SendMessageA(Item(id), BM_CLICK, 0, 0);
        Drain();
    }
    // OK or Cancel: ends the dialog once the script returns.
    void Press(int id) {
        SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(Item(id)));
        ended = true;
    }
    // The caption's close box: the dialog manager turns it into IDCANCEL.
    void Close() {
        SendMessageA(Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        ended = true;
    }

private:
    DialogDriver(SettingsDialog& dialog, const Script& script) : dialog(dialog), script(script) {}

    std::string TextAt(int id, int index) const {
        LRESULT length = SendMessageA(Item(id), CB_GETLBTEXTLEN, index, 0);
        if (length < 0) return std::string();
        std::string text(static_cast<size_t>(length) + 1, '\0');
        SendMessageA(Item(id), CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
        text.resize(static_cast<size_t>(length));
        return text;
    }

    static void CALLBACK StartScript(HWND, UINT, UINT_PTR timer, DWORD) {
        KillTimer(nullptr, timer);
        DialogDriver* driver = current;
        if (!driver || driver->scriptRan) return;
        driver->scriptRan = true;
        driver->Drain();
        driver->script(*driver);
        if (!driver->ended) driver->Press(IDCANCEL);
    }

    static LRESULT CALLBACK RecordNotification(int code, WPARAM removal, LPARAM message) {
        const MSG* msg = reinterpret_cast<const MSG*>(message);
        if (code == HC_ACTION && removal == PM_REMOVE && current && msg->message == WM_COMMAND &&
            HIWORD(msg->wParam) == CBN_SELCHANGE && msg->hwnd == current->Window()) {
            current->notifications.push_back(LOWORD(msg->wParam));
        }
        return CallNextHookEx(nullptr, code, removal, message);
    }

    static inline DialogDriver* current = nullptr;

    SettingsDialog& dialog;
    Script script;
    std::vector<int> notifications;
    bool scriptRan = false;
    bool ended = false;
};

}  // namespace dialog_test
