// The framework's result codes and ReportError, which turns a code into a message box.
#pragma once

#include <windows.h>

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
HRESULT ReportError(HRESULT code, int kind);
