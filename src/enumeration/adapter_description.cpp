// The adapter's identifier as text.
#include "enumeration/adapter_description.h"

#include <cstdio>

namespace {

std::string GuidText(const GUID& guid) {
    char text[40];
    std::snprintf(text, sizeof(text), "{%08lX-%04X-%04X-%02X%02X-%02X%02X%02X%02X%02X%02X}",
                  static_cast<unsigned long>(guid.Data1), guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                  guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6], guid.Data4[7]);
    return text;
}

std::string DriverVersionText(const LARGE_INTEGER& version) {
    char text[48];
    const DWORD high = static_cast<DWORD>(version.HighPart);
    const DWORD low = version.LowPart;
    std::snprintf(text, sizeof(text), "%lu.%lu.%lu.%lu", static_cast<unsigned long>(high >> 16),
                  static_cast<unsigned long>(high & 0xFFFF), static_cast<unsigned long>(low >> 16),
                  static_cast<unsigned long>(low & 0xFFFF));
    return text;
}

}  // namespace

AdapterDescription DescribeAdapter(UINT ordinal, const D3DADAPTER_IDENTIFIER9& identifier,
                                   D3DFORMAT desktopFormat) {
    AdapterDescription adapter;
    adapter.ordinal = ordinal;
    adapter.description = AnsiToUtf8(identifier.Description, sizeof(identifier.Description));
    adapter.driver = AnsiToUtf8(identifier.Driver, sizeof(identifier.Driver));
    adapter.deviceName = AnsiToUtf8(identifier.DeviceName, sizeof(identifier.DeviceName));
    adapter.driverVersion = DriverVersionText(identifier.DriverVersion);
    adapter.vendorId = identifier.VendorId;
    adapter.deviceId = identifier.DeviceId;
    adapter.subSysId = identifier.SubSysId;
    adapter.revision = identifier.Revision;
    adapter.whqlLevel = identifier.WHQLLevel;
    adapter.deviceIdentifier = GuidText(identifier.DeviceIdentifier);
    adapter.desktopFormat = desktopFormat;
    return adapter;
}

std::string AnsiToUtf8(const char* text, size_t maxLength) {
    size_t length = 0;
    while (text != nullptr && length < maxLength && text[length] != '\0') ++length;
    if (length == 0) return std::string();
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
    if (wideLength <= 0) return std::string();
    std::wstring wide(static_cast<size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), &wide[0], wideLength);
    const int utf8Length = WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), wideLength, nullptr, 0, nullptr, nullptr);
    if (utf8Length <= 0) return std::string();
    std::string utf8(static_cast<size_t>(utf8Length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide.c_str(), wideLength, &utf8[0], utf8Length, nullptr, nullptr);
    return utf8;
}
