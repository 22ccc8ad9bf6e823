// The framework's result codes and ReportError, which turns a code into a message box, or into a
// value for a program that has set a receiver for its reports.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

constexpr HRESULT AppErrorNoDirect3D = static_cast<HRESULT>(0x82000001);
constexpr HRESULT AppErrorNoCompatibleDevices = static_cast<HRESULT>(0x82000003);
constexpr HRESULT AppErrorNoWindowableDevices = static_cast<HRESULT>(0x82000004);
constexpr HRESULT AppErrorNoHardwareDevice = static_cast<HRESULT>(0x82000005);
constexpr HRESULT AppErrorHalNotCompatible = static_cast<HRESULT>(0x82000006);
constexpr HRESULT AppErrorNoWindowedHal = static_cast<HRESULT>(0x82000007);
constexpr HRESULT AppErrorNoDesktopHal = static_cast<HRESULT>(0x82000008);
constexpr HRESULT AppErrorNoHalThisMode = static_cast<HRESULT>(0x82000009);
constexpr HRESULT AppErrorNonzeroRefCount = static_cast<HRESULT>(0x8200000A);
constexpr HRESULT AppErrorMediaNotFound = static_cast<HRESULT>(0x8200000B);
constexpr HRESULT AppErrorResetFailed = static_cast<HRESULT>(0x8200000C);
constexpr HRESULT AppErrorNullReferenceDevice = static_cast<HRESULT>(0x8200000D);

enum NoticeKind : int {
    NoticeWarning = 0,
    NoticeFatal = 1,
    NoticeSwitchedToReference = 2,
};

// Shows the message of code (captioned with the application's window title) and returns code.
// A fatal report then closes the main window; every report after it is silent.
HRESULT ReportError(HRESULT code, int kind);
// The same report with a text of the caller's in place of code's message (a refused switch says
// which call failed, with what and why); the kind's suffix and effects are ReportError's.
HRESULT ReportErrorText(HRESULT code, int kind, const std::string& text);

// A report as ReportError makes it: the code, its kind and the text the box would show.
struct FrameworkReport {
    HRESULT code;
    int kind;
    std::string text;
};

// Where reports go instead of a message box, for a program with no one to click one away (the
// survey); an empty receiver, the default, brings the box back. Only the box is replaced: a fatal
// report still closes the main window and silences the reports after it.
using ReportReceiver = std::function<void(const FrameworkReport& report)>;
void SetReportReceiver(ReportReceiver receiver);

// The text ReportError would show for code as a report of kind.
std::string ReportText(HRESULT code, int kind);
