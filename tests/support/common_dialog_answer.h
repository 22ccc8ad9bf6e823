// Answers the modal dialogs a test opens on its own thread, as a user would: each dialog
// ("#32770") is cancelled, or, given a file name, a file dialog has it typed into its file-name
// field and OK pressed and any prompt it raises is answered Yes. Installed for the object's life.
#pragma once

#include <windows.h>
#include <dlgs.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

class AnswerDialogs {
public:
    // An empty fileName cancels every dialog.
    explicit AnswerDialogs(std::string fileName = std::string()) {
        fileName_ = std::move(fileName);
        titles_.clear();
        hook_ = SetWindowsHookExA(WH_CBT, Procedure, nullptr, GetCurrentThreadId());
    }
    ~AnswerDialogs() {
        UnhookWindowsHookEx(hook_);
        onShown = nullptr;
    }
    AnswerDialogs(const AnswerDialogs&) = delete;
    AnswerDialogs& operator=(const AnswerDialogs&) = delete;

    // The captions of the dialogs answered so far.
    static const std::vector<std::string>& Titles() { return titles_; }
    // Runs as each dialog appears, before it is answered: a look at the state while it is up.
    static inline std::function<void()> onShown;
    // The dialog appearing, while onShown runs.
    static inline HWND shown = nullptr;

private:
    static LRESULT CALLBACK Procedure(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE) {
            const HWND dialog = reinterpret_cast<HWND>(wParam);
            char name[16] = {};
            GetClassNameA(dialog, name, sizeof(name));
            if (lstrcmpA(name, "#32770") == 0) {
                char title[128] = {};
                GetWindowTextA(dialog, title, sizeof(title));
                titles_.emplace_back(title);
                shown = dialog;
                if (onShown) onShown();
                const bool fileDialog = GetDlgItem(dialog, edt1) || GetDlgItem(dialog, cmb13);
                if (fileName_.empty()) {
                    PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
                } else if (!fileDialog) {
                    // A prompt of the file dialog's ("replace it?"): yes.
                    PostMessageA(dialog, WM_COMMAND, IDYES, 0);
                } else {
                    // The explorer-style dialog's name field is an edit (edt1) or, in later
                    // versions, a combo box (cmb13); whichever is there takes the name.
                    SetDlgItemTextA(dialog, edt1, fileName_.c_str());
                    SetDlgItemTextA(dialog, cmb13, fileName_.c_str());
                    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                }
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook_;
    static inline std::string fileName_;
    static inline std::vector<std::string> titles_;
};

}  // namespace test_support
