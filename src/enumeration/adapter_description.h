// An adapter as the reports state it: its identifier's texts as UTF-8, its driver version and ids,
// and the desktop's format. The survey describes each adapter it measures, the Sample Positions
// dialog's saved file the one it measured on.
#pragma once

#include <windows.h>
#include <d3d9.h>

#include <cstddef>
#include <string>

struct AdapterDescription {
    UINT ordinal = 0;
    std::string description;
    std::string driver;
    std::string deviceName;
    std::string driverVersion;     // "product.version.subversion.build"
    DWORD vendorId = 0;
    DWORD deviceId = 0;
    DWORD subSysId = 0;
    DWORD revision = 0;
    DWORD whqlLevel = 0;
    std::string deviceIdentifier;  // the GUID in registry form
    D3DFORMAT desktopFormat = D3DFMT_UNKNOWN;
};

AdapterDescription DescribeAdapter(UINT ordinal, const D3DADAPTER_IDENTIFIER9& identifier,
                                   D3DFORMAT desktopFormat);

// Text of the system's ANSI code page, at most maxLength bytes (an identifier's fields need not
// end in a terminator), as UTF-8.
std::string AnsiToUtf8(const char* text, size_t maxLength);
