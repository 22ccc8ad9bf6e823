// Test helper run under Wine beside quillant.exe: reports what the end-to-end tests cannot see in
// pixels. Usage: window_probe <title> — prints, for each top-level window with that title, its
// window and client rectangles and the text of its child controls (a message box's text).
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

// Class names may hold blanks ("D3D Window"): they are printed with underscores.
std::string Word(const char* text) {
    std::string out(text);
    for (char& c : out) if (c == ' ') c = '_';
    return out;
}

std::string Escaped(const char* text) {
    std::string out;
    for (const char* p = text; *p; ++p) {
        if (*p == '\n') out += "\\n";
        else if (*p == '\r') out += "\\r";
        else if (*p == '\\') out += "\\\\";
        else out += *p;
    }
    return out;
}

BOOL CALLBACK PrintChild(HWND child, LPARAM) {
    char text[2048] = {};
    GetWindowTextA(child, text, sizeof(text));
    char cls[64] = {};
    GetClassNameA(child, cls, sizeof(cls));
    // A drop-down list has no window text: report its selected item instead. Across processes
    // Wine hands the item back in UTF-16 whatever the caller's form, so ask in the wide form.
    if (lstrcmpiA(cls, "ComboBox") == 0) {
        const LRESULT index = SendMessageW(child, CB_GETCURSEL, 0, 0);
        text[0] = '\0';
        WCHAR item[1024] = {};
        const LRESULT length = index >= 0 ? SendMessageW(child, CB_GETLBTEXTLEN, index, 0) : CB_ERR;
        if (length >= 0 && length < static_cast<LRESULT>(ARRAYSIZE(item)) &&
            SendMessageW(child, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item)) != CB_ERR) {
            WideCharToMultiByte(CP_ACP, 0, item, -1, text, sizeof(text), nullptr, nullptr);
        }
    }
    std::printf("child %s %s\n", Word(cls).c_str(), Escaped(text).c_str());
    return TRUE;
}

struct Search {
    const char* title;
    int found;
};

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    if (lstrcmpA(text, search->title) != 0 || !IsWindowVisible(window)) return TRUE;
    ++search->found;
    RECT windowRect, clientRect;
    GetWindowRect(window, &windowRect);
    GetClientRect(window, &clientRect);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof(cls));
    std::printf("window %s %ld %ld %ld %ld client %ld %ld %ld %ld style %08lx\n", Word(cls).c_str(), windowRect.left,
                windowRect.top, windowRect.right - windowRect.left, windowRect.bottom - windowRect.top, origin.x,
                origin.y, clientRect.right, clientRect.bottom,
                static_cast<unsigned long>(GetWindowLongA(window, GWL_STYLE)));
    EnumChildWindows(window, PrintChild, 0);
    return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    Search search = {argv[1], 0};
    EnumWindows(PrintTopLevel, reinterpret_cast<LPARAM>(&search));
    std::fflush(stdout);
    return search.found > 0 ? 0 : 1;
}
