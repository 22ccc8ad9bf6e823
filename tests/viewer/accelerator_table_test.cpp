// The keyboard accelerators of the real resource, table 113: every key with its modifiers and
// command, none of them highlighting a menu, and what Windows makes of them: a key listed
// without a modifier fires only while Shift, Ctrl and Alt are all up.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "resources/resource_ids.h"

namespace {

struct Accelerator {
    WORD key;
    BYTE modifiers;  // FSHIFT, FCONTROL, FALT
    WORD command;
};

std::vector<Accelerator> ExpectedAccelerators() {
    std::vector<Accelerator> table = {
        {'S', FCONTROL, IDM_SAVE_OUTPUT},
        {VK_F2, 0, IDM_CHANGEDEVICE},
        {VK_F3, 0, IDM_SAMPLE_POSITIONS},
        {VK_RETURN, FALT, IDM_TOGGLEFULLSCREEN},
        {VK_ESCAPE, 0, IDM_EXIT},
        {'X', FALT, IDM_EXIT},
        {'M', 0, IDM_CYCLE_MODE},
        {'H', 0, IDM_SHOW_HIGHLIGHT},
        {'I', 0, IDM_INVERT_COLOURS},
        {VK_UP, 0, IDM_GEOMETRY_OFFSET_UP},
        {VK_DOWN, 0, IDM_GEOMETRY_OFFSET_DOWN},
        {VK_LEFT, 0, IDM_GEOMETRY_OFFSET_LEFT},
        {VK_RIGHT, 0, IDM_GEOMETRY_OFFSET_RIGHT},
        {VK_LEFT, FSHIFT, IDM_TEXTURE_OFFSET_LEFT},
        {VK_RIGHT, FSHIFT, IDM_TEXTURE_OFFSET_RIGHT},
        {VK_UP, FSHIFT, IDM_TEXTURE_OFFSET_UP},
        {VK_DOWN, FSHIFT, IDM_TEXTURE_OFFSET_DOWN},
        {VK_UP, FCONTROL, IDM_FIXUP_Y_UP},
        {VK_DOWN, FCONTROL, IDM_FIXUP_Y_DOWN},
        {VK_LEFT, FCONTROL, IDM_FIXUP_X_UP},
        {VK_RIGHT, FCONTROL, IDM_FIXUP_X_DOWN},
        {'P', 0, IDM_SINGLE_FRAME},
        {VK_RETURN, 0, IDM_SINGLE_FRAME},
        {VK_SPACE, 0, IDM_REPAINT},
    };
    // Ctrl+1 ... Ctrl+9, Ctrl+0 toggle mask bits 0 to 9; with Shift as well, bits 10 to 19.
    const char digits[] = "1234567890";
    for (int i = 0; i < 10; ++i) {
        table.push_back({static_cast<WORD>(digits[i]), FCONTROL, static_cast<WORD>(IDM_MASK_BIT_FIRST + i)});
        table.push_back({static_cast<WORD>(digits[i]), FCONTROL | FSHIFT, static_cast<WORD>(IDM_MASK_BIT_FIRST + 10 + i)});
    }
    return table;
}

// The command a key with exactly these modifiers should give; 0 for none.
WORD ExpectedCommand(const std::vector<Accelerator>& table, WORD key, BYTE modifiers) {
    for (const Accelerator& entry : table) {
        if (entry.key == key && entry.modifiers == modifiers) return entry.command;
    }
    return 0;
}

std::vector<WORD> commandsReceived;

LRESULT CALLBACK RecordCommands(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND) commandsReceived.push_back(LOWORD(wParam));
    return DefWindowProcA(window, message, wParam, lParam);
}

void HoldModifiers(BYTE modifiers) {
    BYTE keys[256] = {};
    GetKeyboardState(keys);
    keys[VK_SHIFT] = (modifiers & FSHIFT) ? 0x80 : 0;
    keys[VK_CONTROL] = (modifiers & FCONTROL) ? 0x80 : 0;
    keys[VK_MENU] = (modifiers & FALT) ? 0x80 : 0;
    SetKeyboardState(keys);
}

TEST(AcceleratorTable, EveryKeyModifierAndCommandAsTheResourceHoldsThemAndWindowsMatchesThem) {
    HACCEL accelerators = LoadAcceleratorsA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_ACCELERATORS));
    ASSERT_NE(nullptr, accelerators) << "table 113 is not linked into the test program";
    std::vector<ACCEL> actual(static_cast<size_t>(CopyAcceleratorTableA(accelerators, nullptr, 0)));
    ASSERT_EQ(static_cast<int>(actual.size()),
              CopyAcceleratorTableA(accelerators, actual.data(), static_cast<int>(actual.size())));

    // The resource: each entry once, a virtual key that highlights no menu when it fires.
    const std::vector<Accelerator> expected = ExpectedAccelerators();
    EXPECT_EQ(expected.size(), actual.size());
    for (const Accelerator& entry : expected) {
        int found = 0;
        for (const ACCEL& accel : actual) {
            const BYTE modifiers = accel.fVirt & (FSHIFT | FCONTROL | FALT);
            if (accel.key != entry.key || modifiers != entry.modifiers) continue;
            ++found;
            EXPECT_EQ(entry.command, accel.cmd) << "key " << entry.key << " modifiers " << int(entry.modifiers);
            EXPECT_EQ(FVIRTKEY | FNOINVERT, accel.fVirt & ~(FSHIFT | FCONTROL | FALT)) << "key " << entry.key;
        }
        EXPECT_EQ(1, found) << "key " << entry.key << " modifiers " << int(entry.modifiers);
    }

    // Windows: every listed key under every modifier combination gives exactly the command of the
    // entry with those modifiers, so a key listed without one stays silent under Shift, Ctrl or Alt.
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = RecordCommands;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.lpszClassName = "Quillant Accelerator Test";
    RegisterClassA(&windowClass);
    HWND window = CreateWindowExA(0, windowClass.lpszClassName, "test", WS_POPUP, 0, 0, 100, 100, HWND_MESSAGE,
                                  nullptr, windowClass.hInstance, nullptr);
    ASSERT_NE(nullptr, window);
    const BYTE combinations[] = {0, FSHIFT, FCONTROL, FALT, FCONTROL | FSHIFT, FALT | FSHIFT};
    for (const Accelerator& entry : expected) {
        for (BYTE modifiers : combinations) {
            HoldModifiers(modifiers);
            // Alt turns key presses into system key messages.
            MSG message = {window, static_cast<UINT>((modifiers & FALT) ? WM_SYSKEYDOWN : WM_KEYDOWN), entry.key, 1};
            commandsReceived.clear();
            const BOOL translated = TranslateAcceleratorA(window, accelerators, &message);
            const WORD want = ExpectedCommand(expected, entry.key, modifiers);
            EXPECT_EQ(want != 0, translated != FALSE) << "key " << entry.key << " modifiers " << int(modifiers);
            EXPECT_EQ(want ? std::vector<WORD>{want} : std::vector<WORD>{}, commandsReceived)
                << "key " << entry.key << " modifiers " << int(modifiers);
        }
    }
    HoldModifiers(0);
    DestroyWindow(window);
    DestroyAcceleratorTable(accelerators);
}

}  // namespace
