// Start-up of quillant.exe against a bare Direct3D 9 program (bare_present.exe: a window,
// Direct3DCreate9, a device, one Present), each timed the same way in the same run: from
// CreateProcess to its first frame seen on the screen.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "bench_timing.h"
#include "window_picture.h"

namespace {

struct Program {
    const char* label;
    std::string path;
    const char* title;
    std::vector<double> times;
};

// This bench's own folder, with the trailing separator.
std::string BenchFolder() {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    const std::string exe(path);
    return exe.substr(0, exe.find_last_of("\\/") + 1);
}

// A frame is on the screen once the client area shows yellow: the rings of the viewer's pattern,
// or the bare program's clear (before that it is black, white or the loading text).
bool FirstFrameShown(HWND window) {
    std::vector<DWORD> pixels;
    if (FAILED(CaptureClientArea(window, 512, 384, pixels))) return false;
    const auto yellow = [](DWORD p) {
        return ((p >> 16) & 0xFF) > 200 && ((p >> 8) & 0xFF) > 200 && (p & 0xFF) < 80;
    };
    return std::count_if(pixels.begin(), pixels.end(), yellow) > 100;
}

struct WindowSearch {
    DWORD processId;
    const char* title;
    HWND found;
};

// The process's own visible window of that title: the wineserver may hold another program's
// window of the same title (a second display on the same prefix).
HWND FindProcessWindow(DWORD processId, const char* title) {
    WindowSearch search = {processId, title, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* s = reinterpret_cast<WindowSearch*>(data);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char text[64] = {};
            GetWindowTextA(window, text, sizeof(text));
            if (owner != s->processId || !IsWindowVisible(window) || lstrcmpA(text, s->title) != 0) return TRUE;
            s->found = window;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Seconds from CreateProcess to the first frame seen; negative when none came within 20 s.
double TimeToFirstFrame(const Program& program) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    std::string commandLine = "\"" + program.path + "\"";
    const double start = Now();
    if (!CreateProcessA(program.path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        return -1.0;
    }
    HWND window = nullptr;
    double shown = 0.0;
    while (Now() - start < 20.0 && WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
        if (!window) window = FindProcessWindow(process.dwProcessId, program.title);
        if (window && FirstFrameShown(window)) {
            shown = Now();
            break;
        }
        Sleep(2);
    }
    if (window) PostMessageA(window, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_TIMEOUT) TerminateProcess(process.hProcess, 1);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return shown > 0.0 ? shown - start : -1.0;
}

}  // namespace

int main() {
    const std::string folder = BenchFolder();  // build/bench/
    Program viewer = {"quillant.exe", folder + "..\\quillant.exe", "DX9 Quillant 5.2", {}};
    Program bare = {"bare_present.exe", folder + "bare_present.exe", "Bare Present", {}};

    // One start of each first, unmeasured: both then start from files already in memory.
    // The runs alternate which program goes first, so neither always follows the other.
    constexpr int kRuns = 5;
    for (int run = -1; run < kRuns; ++run) {
        Program* order[2] = {&viewer, &bare};
        if (run % 2 != 0) std::swap(order[0], order[1]);
        for (Program* program : order) {
            const double time = TimeToFirstFrame(*program);
            if (time < 0.0) {
                std::printf("start-up: no first frame from %s within 20 s\n", program->label);
                return 1;
            }
            if (run >= 0) program->times.push_back(time);
        }
    }
    std::printf("Start-up, CreateProcess to the first frame seen on the screen (%d runs each, interleaved):\n",
                kRuns);
    const Summary viewerTime = Summarise(viewer.times);
    const Summary bareTime = Summarise(bare.times);
    for (const Program* program : {&viewer, &bare}) {
        const Summary time = Summarise(program->times);
        std::printf("  %-17s min %.0f ms, median %.0f ms\n", program->label, time.minimum * 1e3,
                    time.median * 1e3);
    }
    std::printf("  ratio quillant / bare: min %.2f, median %.2f (target within 1.3)\n",
                viewerTime.minimum / bareTime.minimum, viewerTime.median / bareTime.median);
    return 0;
}
