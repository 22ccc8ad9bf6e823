// The texts of Direct3D 9 values: the enumerator names themselves, so the user sees the constant
// that will be used. Each function is a lookup in a fixed table.
#include "enumeration/value_names.h"

#include <cstring>

#include "enumeration/value_table.h"

namespace {

constexpr UINT FourCharacterCode(char a, char b, char c, char d) {
    return static_cast<UINT>(static_cast<unsigned char>(a)) |
           static_cast<UINT>(static_cast<unsigned char>(b)) << 8 |
           static_cast<UINT>(static_cast<unsigned char>(c)) << 16 |
           static_cast<UINT>(static_cast<unsigned char>(d)) << 24;
}

const ValueText<UINT> kDeviceTypes[] = {
    {1, "D3DDEVTYPE_HAL"},
    {2, "D3DDEVTYPE_REF"},
    {3, "D3DDEVTYPE_SW"},
};

const ValueText<UINT> kMultisampleTypes[] = {
    {0, "D3DMULTISAMPLE_NONE"},
    {1, "D3DMULTISAMPLE_NONMASKABLE"},
    {2, "D3DMULTISAMPLE_2_SAMPLES"},
    {3, "D3DMULTISAMPLE_3_SAMPLES"},
    {4, "D3DMULTISAMPLE_4_SAMPLES"},
    {5, "D3DMULTISAMPLE_5_SAMPLES"},
    {6, "D3DMULTISAMPLE_6_SAMPLES"},
    {7, "D3DMULTISAMPLE_7_SAMPLES"},
    {8, "D3DMULTISAMPLE_8_SAMPLES"},
    {9, "D3DMULTISAMPLE_9_SAMPLES"},
    {10, "D3DMULTISAMPLE_10_SAMPLES"},
    {11, "D3DMULTISAMPLE_11_SAMPLES"},
    {12, "D3DMULTISAMPLE_12_SAMPLES"},
    {13, "D3DMULTISAMPLE_13_SAMPLES"},
    {14, "D3DMULTISAMPLE_14_SAMPLES"},
    {15, "D3DMULTISAMPLE_15_SAMPLES"},
    {16, "D3DMULTISAMPLE_16_SAMPLES"},
};

const ValueText<UINT> kVertexProcessingTypes[] = {
    {SOFTWARE_VP, "SOFTWARE_VP"},
    {MIXED_VP, "MIXED_VP"},
    {HARDWARE_VP, "HARDWARE_VP"},
    {PURE_HARDWARE_VP, "PURE_HARDWARE_VP"},
};

const ValueText<UINT> kPresentIntervals[] = {
    {0x00000000, "D3DPRESENT_INTERVAL_DEFAULT"},
    {0x00000001, "D3DPRESENT_INTERVAL_ONE"},
    {0x00000002, "D3DPRESENT_INTERVAL_TWO"},
    {0x00000004, "D3DPRESENT_INTERVAL_THREE"},
    {0x00000008, "D3DPRESENT_INTERVAL_FOUR"},
    {0x80000000, "D3DPRESENT_INTERVAL_IMMEDIATE"},
};

// Numeric values written out rather than taken from d3d9types.h, so a header that spells a value
// differently cannot silently change what the user is shown.
const ValueText<UINT> kFormats[] = {
    {0, "D3DFMT_UNKNOWN"},
    {20, "D3DFMT_R8G8B8"},
    {21, "D3DFMT_A8R8G8B8"},
    {22, "D3DFMT_X8R8G8B8"},
    {23, "D3DFMT_R5G6B5"},
    {24, "D3DFMT_X1R5G5B5"},
    {25, "D3DFMT_A1R5G5B5"},
    {26, "D3DFMT_A4R4G4B4"},
    {27, "D3DFMT_R3G3B2"},
    {28, "D3DFMT_A8"},
    {29, "D3DFMT_A8R3G3B2"},
    {30, "D3DFMT_X4R4G4B4"},
    {31, "D3DFMT_A2B10G10R10"},
    {32, "D3DFMT_A8B8G8R8"},
    {33, "D3DFMT_X8B8G8R8"},
    {34, "D3DFMT_G16R16"},
    {35, "D3DFMT_A2R10G10B10"},
    {36, "D3DFMT_A16B16G16R16"},
    {40, "D3DFMT_A8P8"},
    {41, "D3DFMT_P8"},
    {50, "D3DFMT_L8"},
    {51, "D3DFMT_A8L8"},
    {52, "D3DFMT_A4L4"},
    {60, "D3DFMT_V8U8"},
    {61, "D3DFMT_L6V5U5"},
    {62, "D3DFMT_X8L8V8U8"},
    {63, "D3DFMT_Q8W8V8U8"},
    {64, "D3DFMT_V16U16"},
    {67, "D3DFMT_A2W10V10U10"},
    {70, "D3DFMT_D16_LOCKABLE"},
    {71, "D3DFMT_D32"},
    {73, "D3DFMT_D15S1"},
    {75, "D3DFMT_D24S8"},
    {77, "D3DFMT_D24X8"},
    {79, "D3DFMT_D24X4S4"},
    {80, "D3DFMT_D16"},
    {81, "D3DFMT_L16"},
    {100, "D3DFMT_VERTEXDATA"},
    {101, "D3DFMT_INDEX16"},
    {102, "D3DFMT_INDEX32"},
    {110, "D3DFMT_Q16W16V16U16"},
    {111, "D3DFMT_R16F"},
    {112, "D3DFMT_G16R16F"},
    {113, "D3DFMT_A16B16G16R16F"},
    {114, "D3DFMT_R32F"},
    {115, "D3DFMT_G32R32F"},
    {116, "D3DFMT_A32B32G32R32F"},
    {117, "D3DFMT_CxV8U8"},
    {FourCharacterCode('M', 'E', 'T', '1'), "D3DFMT_MULTI2_ARGB8"},
    {FourCharacterCode('D', 'X', 'T', '1'), "D3DFMT_DXT1"},
    {FourCharacterCode('D', 'X', 'T', '2'), "D3DFMT_DXT2"},
    {FourCharacterCode('Y', 'U', 'Y', '2'), "D3DFMT_YUY2"},
    {FourCharacterCode('D', 'X', 'T', '3'), "D3DFMT_DXT3"},
    {FourCharacterCode('D', 'X', 'T', '4'), "D3DFMT_DXT4"},
    {FourCharacterCode('D', 'X', 'T', '5'), "D3DFMT_DXT5"},
    {FourCharacterCode('U', 'Y', 'V', 'Y'), "D3DFMT_UYVY"},
};

constexpr char kFormatPrefix[] = "D3DFMT_";
constexpr size_t kFormatPrefixLength = sizeof(kFormatPrefix) - 1;

}  // namespace

const char* DeviceTypeText(D3DDEVTYPE deviceType) {
    return TextOf(kDeviceTypes, static_cast<UINT>(deviceType), "Unknown devType");
}

const char* MultisampleTypeText(D3DMULTISAMPLE_TYPE multisampleType) {
    return TextOf(kMultisampleTypes, static_cast<UINT>(multisampleType), "Unknown Multisample Type");
}

const char* VertexProcessingText(VertexProcessingType vertexProcessing) {
    return TextOf(kVertexProcessingTypes, static_cast<UINT>(vertexProcessing), "Unknown VertexProcessingType");
}

const char* PresentIntervalText(UINT presentInterval) {
    return TextOf(kPresentIntervals, presentInterval, "Unknown PresentInterval");
}

const char* FormatText(D3DFORMAT format, bool withPrefix) {
    const char* text = TextOf(kFormats, static_cast<UINT>(format), "Unknown format");
    if (!withPrefix && std::strncmp(text, kFormatPrefix, kFormatPrefixLength) == 0) {
        return text + kFormatPrefixLength;
    }
    return text;
}

bool DeviceTypeFromText(const std::string& text, D3DDEVTYPE* deviceType) {
    UINT value = 0;
    if (!ValueOf(kDeviceTypes, text, &value)) return false;
    *deviceType = static_cast<D3DDEVTYPE>(value);
    return true;
}

bool FormatFromText(const std::string& text, D3DFORMAT* format) {
    UINT value = 0;
    if (!ValueOf(kFormats, text, &value)) return false;
    *format = static_cast<D3DFORMAT>(value);
    return true;
}
