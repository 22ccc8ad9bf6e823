// ReportError: turns a result code into a message box captioned with the window title (or hands
// it to the program's receiver); a fatal report closes the main window and silences every report
// after it.
#include "framework/error_reporting.h"

#include <cstring>
#include <utility>

#include "framework/application_framework.h"
#include "framework/process_state.h"
#include "platform/platform.h"

namespace {

struct ErrorMessage {
    HRESULT code;
    const char* text;
};

constexpr char kMediaNotFound[] = "Could not load required media.";
constexpr char kGenericError[] =
    "Generic application error. Enable\ndebug output for detailed information.";

constexpr ErrorMessage kErrorMessages[] = {
    {AppErrorNoDirect3D,
     "Could not initialize Direct3D. You may\nwant to check that the latest version of\n"
     "DirectX is correctly installed on your\nsystem.  Also make sure that this program\n"
     "was compiled with header files that match\nthe installed DirectX DLLs."},
    {AppErrorNoCompatibleDevices, "Could not find any compatible Direct3D\ndevices."},
    {AppErrorNoWindowableDevices,
     "This sample cannot run in a desktop\nwindow with the current display settings.\n"
     "Please change your desktop settings to a\n16- or 32-bit display mode and re-run this\n"
     "sample."},
    {AppErrorNoHardwareDevice, "No hardware-accelerated Direct3D devices\nwere found."},
    {AppErrorHalNotCompatible,
     "This sample requires functionality that is\nnot available on your Direct3D hardware\n"
     "accelerator."},
    {AppErrorNoWindowedHal,
     "Your Direct3D hardware accelerator cannot\nrender into a window.\n"
     "Press F2 while the app is running to see a\nlist of available devices and modes."},
    {AppErrorNoDesktopHal,
     "Your Direct3D hardware accelerator cannot\nrender into a window with the current\n"
     "desktop display settings.\n"
     "Press F2 while the app is running to see a\nlist of available devices and modes."},
    {AppErrorNoHalThisMode,
     "This sample requires functionality that is\nnot available on your Direct3D hardware\n"
     "accelerator with the current desktop display\nsettings.\n"
     "Press F2 while the app is running to see a\nlist of available devices and modes."},
    {AppErrorNonzeroRefCount,
     "A D3D object has a non-zero reference\ncount (meaning things were not properly\n"
     "cleaned up)."},
    {AppErrorMediaNotFound, kMediaNotFound},
    {AppErrorResetFailed, "Could not reset the Direct3D device."},
    {AppErrorNullReferenceDevice,
     "Warning: Nothing will be rendered.\nThe reference rendering device was selected, but your\n"
     "computer only has a reduced-functionality reference device\n"
     "installed.  Install the DirectX SDK to get the full\nreference device.\n"},
    {HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND), kMediaNotFound},
    {E_OUTOFMEMORY, "Not enough memory."},
    {D3DERR_OUTOFVIDEOMEMORY, "Not enough video memory."},
};

struct NoticeStyle {
    int kind;
    const char* suffix;
    UINT icon;
};

constexpr NoticeStyle kWarningStyle = {NoticeWarning, "", MB_ICONWARNING};
constexpr NoticeStyle kNoticeStyles[] = {
    kWarningStyle,
    {NoticeFatal, "\n\nThis sample will now exit.", MB_ICONERROR},
    {NoticeSwitchedToReference,
     "\n\nSwitching to the reference rasterizer,\na software device that implements the entire\n"
     "Direct3D feature set, but runs very slowly.",
     MB_ICONWARNING},
};

constexpr size_t Length(const char* text) {
    size_t length = 0;
    while (text[length] != '\0') ++length;
    return length;
}

// Room for the longest message with the longest suffix, so that no report is ever cut.
constexpr size_t LongestMessage() {
    size_t longest = Length(kGenericError);
    for (const ErrorMessage& message : kErrorMessages) {
        if (Length(message.text) > longest) longest = Length(message.text);
    }
    return longest;
}
constexpr size_t LongestSuffix() {
    size_t longest = 0;
    for (const NoticeStyle& style : kNoticeStyles) {
        if (Length(style.suffix) > longest) longest = Length(style.suffix);
    }
    return longest;
}
constexpr size_t kReportBufferSize = LongestMessage() + LongestSuffix() + 1;

const char* MessageFor(HRESULT code) {
    for (const ErrorMessage& message : kErrorMessages) {
        if (message.code == code) return message.text;
    }
    return kGenericError;
}

const NoticeStyle& StyleFor(int kind) {
    for (const NoticeStyle& style : kNoticeStyles) {
        if (style.kind == kind) return style;
    }
    return kWarningStyle;
}

void ComposeReportText(HRESULT code, const NoticeStyle& style, char (&text)[kReportBufferSize]) {
    static_cast<void>(CopyStringBounded(text, MessageFor(code), sizeof(text)));
    std::strncat(text, style.suffix, sizeof(text) - std::strlen(text) - 1);
}

// Shows text as a report of style's kind: a box, or the program's receiver.
HRESULT Deliver(HRESULT code, const NoticeStyle& style, const char* text) {
    FrameworkProcessState& state = ProcessState();
    if (style.kind == NoticeFatal) state.fatalReportShown = true;
    if (state.reportReceiver) {
        state.reportReceiver(FrameworkReport{code, style.kind, text});
    } else {
        const char* caption = application ? application->windowTitle : nullptr;
        static_cast<void>(platform::ShowMessageBox(nullptr, text, caption, style.icon));
    }
    // Closing runs the whole shutdown sequence before this returns.
    if (style.kind == NoticeFatal && application && application->mainWindow) {
        SendMessageA(application->mainWindow, WM_CLOSE, 0, 0);
    }
    return code;
}

}  // namespace

HRESULT ReportError(HRESULT code, int kind) {
    if (ProcessState().fatalReportShown) return code;
    const NoticeStyle& style = StyleFor(kind);
    char text[kReportBufferSize];
    ComposeReportText(code, style, text);
    return Deliver(code, style, text);
}

HRESULT ReportErrorText(HRESULT code, int kind, const std::string& text) {
    if (ProcessState().fatalReportShown) return code;
    const NoticeStyle& style = StyleFor(kind);
    return Deliver(code, style, (text + style.suffix).c_str());
}

void SetReportReceiver(ReportReceiver receiver) { ProcessState().reportReceiver = std::move(receiver); }

std::string ReportText(HRESULT code, int kind) {
    char text[kReportBufferSize];
    ComposeReportText(code, StyleFor(kind), text);
    return text;
}
