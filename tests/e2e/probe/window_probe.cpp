// Test helper run under Wine beside quillant.exe: reports what the end-to-end tests cannot see in
// pixels. Usage: window_probe <title> — prints, for each top-level window with that title, its
// window and client rectangles and the text of its child controls (a message box's text), with
// the header and the rows of a report list view. Usage: window_probe --clipboard — prints the
// clipboard's text.
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <string>
#include <vector>

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

std::string Narrow(const WCHAR* text) {
    char out[2048] = {};
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, sizeof(out), nullptr, nullptr);
    return out;
}

// A list view's texts live in its own process: the item record and the text buffer are placed
// there, filled by the list view, and read back.
class RemoteBuffer {
public:
    RemoteBuffer(HWND window, SIZE_T size) : size_(size) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        process_ = OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, processId);
        if (process_) address_ = VirtualAllocEx(process_, nullptr, size, MEM_COMMIT, PAGE_READWRITE);
    }
    ~RemoteBuffer() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
        if (process_) CloseHandle(process_);
    }
    bool Ok() const { return address_ != nullptr; }
    BYTE* At(SIZE_T offset) const { return static_cast<BYTE*>(address_) + offset; }
    bool Write(SIZE_T offset, const void* data, SIZE_T length) const {
        return WriteProcessMemory(process_, At(offset), data, length, nullptr) != 0;
    }
    bool Read(SIZE_T offset, void* data, SIZE_T length) const {
        return ReadProcessMemory(process_, At(offset), data, length, nullptr) != 0;
    }

private:
    HANDLE process_ = nullptr;
    void* address_ = nullptr;
    SIZE_T size_;
};

constexpr SIZE_T kRecordBytes = 256;
constexpr int kTextChars = 512;

std::string ListCell(HWND list, const RemoteBuffer& remote, int row, int column) {
    LVITEMW item = {};
    item.mask = LVIF_TEXT;
    item.iItem = row;
    item.iSubItem = column;
    item.pszText = reinterpret_cast<LPWSTR>(remote.At(kRecordBytes));
    item.cchTextMax = kTextChars;
    WCHAR text[kTextChars] = {};
    if (!remote.Write(0, &item, sizeof(item)) || !remote.Write(kRecordBytes, text, sizeof(text))) return "";
    SendMessageW(list, LVM_GETITEMTEXTW, row, reinterpret_cast<LPARAM>(remote.At(0)));
    remote.Read(kRecordBytes, text, sizeof(text));
    text[kTextChars - 1] = 0;
    return Narrow(text);
}

std::string HeaderCell(HWND header, const RemoteBuffer& remote, int column) {
    HDITEMW item = {};
    item.mask = HDI_TEXT;
    item.pszText = reinterpret_cast<LPWSTR>(remote.At(kRecordBytes));
    item.cchTextMax = kTextChars;
    WCHAR text[kTextChars] = {};
    if (!remote.Write(0, &item, sizeof(item)) || !remote.Write(kRecordBytes, text, sizeof(text))) return "";
    SendMessageW(header, HDM_GETITEMW, column, reinterpret_cast<LPARAM>(remote.At(0)));
    remote.Read(kRecordBytes, text, sizeof(text));
    text[kTextChars - 1] = 0;
    return Narrow(text);
}

// "header" and "row" lines, cells separated by tabs.
void PrintListView(HWND list) {
    RemoteBuffer remote(list, kRecordBytes + kTextChars * sizeof(WCHAR));
    if (!remote.Ok()) return;
    const HWND header = reinterpret_cast<HWND>(SendMessageW(list, LVM_GETHEADER, 0, 0));
    const int columns = header ? static_cast<int>(SendMessageW(header, HDM_GETITEMCOUNT, 0, 0)) : 0;
    const int rows = static_cast<int>(SendMessageW(list, LVM_GETITEMCOUNT, 0, 0));
    std::string line = "header";
    for (int column = 0; column < columns; ++column) line += (column ? "\t" : " ") + Escaped(HeaderCell(header, remote, column).c_str());
    std::printf("%s\n", line.c_str());
    for (int row = 0; row < rows; ++row) {
        line = "row";
        for (int column = 0; column < columns; ++column) line += (column ? "\t" : " ") + Escaped(ListCell(list, remote, row, column).c_str());
        std::printf("%s\n", line.c_str());
    }
}

int PrintClipboard() {
    if (!OpenClipboard(nullptr)) return 1;
    HANDLE data = GetClipboardData(CF_TEXT);
    const char* text = data ? static_cast<const char*>(GlobalLock(data)) : nullptr;
    if (text) {
        std::printf("clipboard %s\n", Escaped(text).c_str());
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text ? 0 : 1;
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
    if (lstrcmpiA(cls, "SysListView32") == 0) PrintListView(child);
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
    if (lstrcmpA(argv[1], "--clipboard") == 0) return PrintClipboard();
    Search search = {argv[1], 0};
    EnumWindows(PrintTopLevel, reinterpret_cast<LPARAM>(&search));
    std::fflush(stdout);
    return search.found > 0 ? 0 : 1;
}
