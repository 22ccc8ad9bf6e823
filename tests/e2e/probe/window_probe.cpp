// Test helper run under Wine beside quillant.exe: reports what the end-to-end tests cannot see in
// pixels. Usage: window_probe <title> — prints, for each top-level window with that title, its
// window and client rectangles and the text of its child controls (a message box's text), with
// the header and the rows of a report list view and the selected tab and titles of a tab control.
// window_probe --clipboard — prints the clipboard's text.
// window_probe --process <title> — the handle count and memory of the process that owns the
// window with that title, and every visible top-level window of that process with its title.
// window_probe --serve — one probe for a long test: reads commands from stdin, one a line, and
// ends each answer with "end": "windows <title>", "process <title>", "move x y w h <title>"
// (SetWindowPos, as another program resizes a window), "show minimize|restore <title>".
#include <windows.h>
#include <commctrl.h>
#include <psapi.h>
#include <winternl.h>

#include <cstdio>
#include <cstring>
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
    char out[16384] = {};
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

// "tabs <selected> <title>\t<title>...".
void PrintTabs(HWND tabs) {
    RemoteBuffer remote(tabs, kRecordBytes + kTextChars * sizeof(WCHAR));
    if (!remote.Ok()) return;
    const int count = static_cast<int>(SendMessageW(tabs, TCM_GETITEMCOUNT, 0, 0));
    std::string line = "tabs " + std::to_string(SendMessageW(tabs, TCM_GETCURSEL, 0, 0)) + " ";
    for (int index = 0; index < count; ++index) {
        TCITEMW item = {};
        item.mask = TCIF_TEXT;
        item.pszText = reinterpret_cast<LPWSTR>(remote.At(kRecordBytes));
        item.cchTextMax = kTextChars;
        WCHAR text[kTextChars] = {};
        if (!remote.Write(0, &item, sizeof(item)) || !remote.Write(kRecordBytes, text, sizeof(text))) return;
        SendMessageW(tabs, TCM_GETITEMW, index, reinterpret_cast<LPARAM>(remote.At(0)));
        remote.Read(kRecordBytes, text, sizeof(text));
        text[kTextChars - 1] = 0;
        line += (index ? "\t" : "") + Escaped(Narrow(text).c_str());
    }
    std::printf("%s\n", line.c_str());
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
    // A drop-down list has no window text: report its selected item instead (a combo box with
    // an edit field and nothing selected keeps the field's text). Across processes Wine hands
    // the item back in UTF-16 whatever the caller's form, so ask in the wide form.
    if (lstrcmpiA(cls, "ComboBox") == 0) {
        const LRESULT index = SendMessageW(child, CB_GETCURSEL, 0, 0);
        const bool editable = (GetWindowLongA(child, GWL_STYLE) & 3) == CBS_DROPDOWN;
        if (index >= 0 || !editable) text[0] = '\0';
        WCHAR item[1024] = {};
        const LRESULT length = index >= 0 ? SendMessageW(child, CB_GETLBTEXTLEN, index, 0) : CB_ERR;
        if (length >= 0 && length < static_cast<LRESULT>(ARRAYSIZE(item)) &&
            SendMessageW(child, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(item)) != CB_ERR) {
            WideCharToMultiByte(CP_ACP, 0, item, -1, text, sizeof(text), nullptr, nullptr);
        }
    }
    // Across processes GetWindowText gives an edit control's first text, not what it holds now.
    if (lstrcmpiA(cls, "Edit") == 0) {
        std::vector<WCHAR> held(16384);
        SendMessageW(child, WM_GETTEXT, held.size(), reinterpret_cast<LPARAM>(held.data()));
        held.back() = 0;
        std::printf("child %s %s\n", Word(cls).c_str(), Escaped(Narrow(held.data()).c_str()).c_str());
        return TRUE;
    }
    std::printf("child %s %s\n", Word(cls).c_str(), Escaped(text).c_str());
    if (lstrcmpiA(cls, "SysListView32") == 0) PrintListView(child);
    if (lstrcmpiA(cls, "SysTabControl32") == 0) PrintTabs(child);
    return TRUE;
}

struct Search {
    const char* title;
    int found;
    DWORD process;  // nonzero: every window of this process, whatever its title
};

struct Shape {
    RECT window = {};
    RECT client = {};
    POINT origin = {};
    LONG style = 0;
};

bool SameShape(const Shape& a, const Shape& b) {
    return EqualRect(&a.window, &b.window) && EqualRect(&a.client, &b.client) && a.origin.x == b.origin.x &&
           a.origin.y == b.origin.y && a.style == b.style;
}

// Read until two reads agree: a window that changes while it is read would otherwise show its
// rectangle from before the change beside its client area from after it.
Shape ReadShape(HWND window) {
    Shape last, now;
    for (int read = 0; read < 20; ++read) {
        now = Shape();
        GetWindowRect(window, &now.window);
        GetClientRect(window, &now.client);
        ClientToScreen(window, &now.origin);
        now.style = GetWindowLongA(window, GWL_STYLE);
        if (read > 0 && SameShape(now, last)) break;
        last = now;
    }
    return now;
}

BOOL CALLBACK PrintTopLevel(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    char text[512] = {};
    GetWindowTextA(window, text, sizeof(text));
    if (!IsWindowVisible(window)) return TRUE;
    if (search->process != 0) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner != search->process) return TRUE;
    } else if (lstrcmpA(text, search->title) != 0) {
        return TRUE;
    }
    ++search->found;
    const Shape shape = ReadShape(window);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof(cls));
    std::printf("window %s %ld %ld %ld %ld client %ld %ld %ld %ld style %08lx\n", Word(cls).c_str(), shape.window.left,
                shape.window.top, shape.window.right - shape.window.left, shape.window.bottom - shape.window.top,
                shape.origin.x, shape.origin.y, shape.client.right, shape.client.bottom,
                static_cast<unsigned long>(shape.style));
    if (search->process != 0) std::printf("title %s\n", Escaped(text).c_str());
    EnumChildWindows(window, PrintChild, 0);
    return TRUE;
}

// The program's main window rather than a message box of the same title.
HWND MainWindow(const char* title) {
    HWND window = FindWindowA("D3D Window", title);
    return window != nullptr ? window : FindWindowA(nullptr, title);
}

// Wine answers a process's handle count and private bytes only in the system-wide process list.
bool SystemCounts(DWORD id, ULONG& handles, SIZE_T& privateBytes) {
    std::vector<unsigned char> buffer(1 << 20);
    ULONG needed = 0;
    NTSTATUS status;
    while ((status = NtQuerySystemInformation(SystemProcessInformation, buffer.data(),
                                              static_cast<ULONG>(buffer.size()), &needed)) ==
           static_cast<NTSTATUS>(0xC0000004L)) {  // STATUS_INFO_LENGTH_MISMATCH
        buffer.resize(buffer.size() * 2);
    }
    if (status < 0) return false;
    for (size_t offset = 0;;) {
        const auto* entry = reinterpret_cast<const SYSTEM_PROCESS_INFORMATION*>(buffer.data() + offset);
        if (reinterpret_cast<ULONG_PTR>(entry->UniqueProcessId) == id) {
            handles = entry->HandleCount;
            privateBytes = entry->PrivatePageCount;
            return true;
        }
        if (entry->NextEntryOffset == 0) return false;
        offset += entry->NextEntryOffset;
    }
}

// The counts a leak would grow: kernel handles, GDI and USER objects, private and resident bytes.
int PrintProcess(const char* title) {
    HWND window = MainWindow(title);
    if (window == nullptr) return 1;
    DWORD id = 0;
    GetWindowThreadProcessId(window, &id);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, id);
    if (process == nullptr) return 1;
    DWORD handles = 0;
    GetProcessHandleCount(process, &handles);
    PROCESS_MEMORY_COUNTERS_EX memory = {};
    memory.cb = sizeof(memory);
    GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof(memory));
    ULONG listedHandles = 0;
    SIZE_T listedPrivate = 0;
    SystemCounts(id, listedHandles, listedPrivate);
    std::printf("process %lu handles %lu listed_handles %lu gdi %lu user %lu private %llu listed_private %llu "
                "working %llu\n",
                static_cast<unsigned long>(id), static_cast<unsigned long>(handles),
                static_cast<unsigned long>(listedHandles),
                static_cast<unsigned long>(GetGuiResources(process, GR_GDIOBJECTS)),
                static_cast<unsigned long>(GetGuiResources(process, GR_USEROBJECTS)),
                static_cast<unsigned long long>(memory.PrivateUsage), static_cast<unsigned long long>(listedPrivate),
                static_cast<unsigned long long>(memory.WorkingSetSize));
    CloseHandle(process);
    Search search = {title, 0, id};
    EnumWindows(PrintTopLevel, reinterpret_cast<LPARAM>(&search));
    std::fflush(stdout);
    return 0;
}

int PrintWindows(const char* title) {
    Search search = {title, 0, 0};
    EnumWindows(PrintTopLevel, reinterpret_cast<LPARAM>(&search));
    std::fflush(stdout);
    return search.found > 0 ? 0 : 1;
}

// Asynchronous forms throughout: a program that hangs must not hang the probe with it.
int Move(const char* arguments) {
    int x = 0, y = 0, width = 0, height = 0, used = 0;
    if (std::sscanf(arguments, "%d %d %d %d %n", &x, &y, &width, &height, &used) != 4) return 2;
    HWND window = MainWindow(arguments + used);
    if (window == nullptr) return 1;
    return SetWindowPos(window, nullptr, x, y, width, height, SWP_NOZORDER | SWP_NOACTIVATE | SWP_ASYNCWINDOWPOS) ? 0 : 1;
}

int Show(const char* arguments) {
    const char* title = std::strchr(arguments, ' ');
    if (title == nullptr) return 2;
    HWND window = MainWindow(title + 1);
    if (window == nullptr) return 1;
    const bool minimize = std::strncmp(arguments, "minimize ", 9) == 0;
    ShowWindowAsync(window, minimize ? SW_MINIMIZE : SW_RESTORE);
    return 0;
}

int Serve() {
    char line[1024];
    while (std::fgets(line, sizeof(line), stdin) != nullptr) {
        line[std::strcspn(line, "\r\n")] = '\0';
        char* rest = std::strchr(line, ' ');
        if (rest != nullptr) *rest++ = '\0';
        else rest = line + std::strlen(line);
        int status = 2;
        if (std::strcmp(line, "windows") == 0) status = PrintWindows(rest);
        else if (std::strcmp(line, "process") == 0) status = PrintProcess(rest);
        else if (std::strcmp(line, "move") == 0) status = Move(rest);
        else if (std::strcmp(line, "show") == 0) status = Show(rest);
        else if (std::strcmp(line, "quit") == 0) break;
        std::printf("end %d\n", status);
        std::fflush(stdout);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    if (lstrcmpA(argv[1], "--clipboard") == 0) return PrintClipboard();
    if (lstrcmpA(argv[1], "--serve") == 0) return Serve();
    if (lstrcmpA(argv[1], "--process") == 0) return argc < 3 ? 2 : PrintProcess(argv[2]);
    return PrintWindows(argv[1]);
}
