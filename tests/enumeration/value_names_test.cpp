// Texts of Direct3D values, checked against the platform header's own enumerators: the text must
// be the name of the constant whose value it was asked for.
#include "enumeration/value_names.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct Named {
    UINT value;
    const char* name;
};

// The header's value and its spelling, side by side.
#define NAMED(constant) Named{static_cast<UINT>(constant), #constant}

const Named kFormats[] = {
    NAMED(D3DFMT_UNKNOWN), NAMED(D3DFMT_R8G8B8), NAMED(D3DFMT_A8R8G8B8), NAMED(D3DFMT_X8R8G8B8),
    NAMED(D3DFMT_R5G6B5), NAMED(D3DFMT_X1R5G5B5), NAMED(D3DFMT_A1R5G5B5), NAMED(D3DFMT_A4R4G4B4),
    NAMED(D3DFMT_R3G3B2), NAMED(D3DFMT_A8), NAMED(D3DFMT_A8R3G3B2), NAMED(D3DFMT_X4R4G4B4),
    NAMED(D3DFMT_A2B10G10R10), NAMED(D3DFMT_A8B8G8R8), NAMED(D3DFMT_X8B8G8R8), NAMED(D3DFMT_G16R16),
    NAMED(D3DFMT_A2R10G10B10), NAMED(D3DFMT_A16B16G16R16), NAMED(D3DFMT_A8P8), NAMED(D3DFMT_P8),
    NAMED(D3DFMT_L8), NAMED(D3DFMT_A8L8), NAMED(D3DFMT_A4L4), NAMED(D3DFMT_V8U8),
    NAMED(D3DFMT_L6V5U5), NAMED(D3DFMT_X8L8V8U8), NAMED(D3DFMT_Q8W8V8U8), NAMED(D3DFMT_V16U16),
    NAMED(D3DFMT_A2W10V10U10), NAMED(D3DFMT_D16_LOCKABLE), NAMED(D3DFMT_D32), NAMED(D3DFMT_D15S1),
    NAMED(D3DFMT_D24S8), NAMED(D3DFMT_D24X8), NAMED(D3DFMT_D24X4S4), NAMED(D3DFMT_D16),
    NAMED(D3DFMT_L16), NAMED(D3DFMT_VERTEXDATA), NAMED(D3DFMT_INDEX16), NAMED(D3DFMT_INDEX32),
    NAMED(D3DFMT_Q16W16V16U16), NAMED(D3DFMT_R16F), NAMED(D3DFMT_G16R16F),
    NAMED(D3DFMT_A16B16G16R16F), NAMED(D3DFMT_R32F), NAMED(D3DFMT_G32R32F),
    NAMED(D3DFMT_A32B32G32R32F), NAMED(D3DFMT_CxV8U8), NAMED(D3DFMT_MULTI2_ARGB8),
    NAMED(D3DFMT_DXT1), NAMED(D3DFMT_DXT2), NAMED(D3DFMT_YUY2), NAMED(D3DFMT_DXT3),
    NAMED(D3DFMT_DXT4), NAMED(D3DFMT_DXT5), NAMED(D3DFMT_UYVY),
};

TEST(FormatText, NamesEveryRecognisedFormatWithAndWithoutPrefix) {
    EXPECT_EQ(56u, sizeof(kFormats) / sizeof(kFormats[0]));
    for (const Named& format : kFormats) {
        const D3DFORMAT value = static_cast<D3DFORMAT>(format.value);
        EXPECT_STREQ(format.name, FormatText(value, true)) << format.value;
        EXPECT_STREQ(format.name + 7, FormatText(value, false)) << format.value;
    }
}

TEST(FormatText, ExamplesOfTheDialogAndTheStatisticsLine) {
    EXPECT_STREQ("D3DFMT_X8R8G8B8", FormatText(static_cast<D3DFORMAT>(22), true));
    EXPECT_STREQ("X8R8G8B8", FormatText(static_cast<D3DFORMAT>(22), false));
    // Four-character codes read with the first character in the lowest byte.
    EXPECT_STREQ("DXT1", FormatText(static_cast<D3DFORMAT>(0x31545844), false));
    EXPECT_STREQ("D3DFMT_MULTI2_ARGB8", FormatText(static_cast<D3DFORMAT>(0x3154454D), true));
}

TEST(FormatText, UnrecognisedValuesGiveTheWholeUnknownText) {
    const UINT unknown[] = {
        1, 19, 37, 72, 74, 118, 0xFFFFFFFF,
        MAKEFOURCC('D', 'X', 'T', '6'),
        MAKEFOURCC('1', 'T', 'X', 'D'),  // DXT1 with its bytes reversed
        MAKEFOURCC('U', 'Y', 'V', '2'),
    };
    for (UINT value : unknown) {
        EXPECT_STREQ("Unknown format", FormatText(static_cast<D3DFORMAT>(value), true)) << value;
        EXPECT_STREQ("Unknown format", FormatText(static_cast<D3DFORMAT>(value), false)) << value;
    }
}

TEST(DeviceTypeText, NamesTheThreeTypesAndNothingElse) {
    const Named named[] = {NAMED(D3DDEVTYPE_HAL), NAMED(D3DDEVTYPE_REF), NAMED(D3DDEVTYPE_SW)};
    for (const Named& type : named) {
        EXPECT_STREQ(type.name, DeviceTypeText(static_cast<D3DDEVTYPE>(type.value)));
    }
    for (UINT value : {0u, 4u, 0x7FFFFFFFu}) {
        EXPECT_STREQ("Unknown devType", DeviceTypeText(static_cast<D3DDEVTYPE>(value))) << value;
    }
}

TEST(MultisampleTypeText, NamesNoneNonmaskableAndTwoToSixteenSamples) {
    EXPECT_STREQ("D3DMULTISAMPLE_NONE", MultisampleTypeText(D3DMULTISAMPLE_NONE));
    EXPECT_STREQ("D3DMULTISAMPLE_NONMASKABLE", MultisampleTypeText(D3DMULTISAMPLE_NONMASKABLE));
    for (UINT samples = 2; samples <= 16; ++samples) {
        const std::string expected = "D3DMULTISAMPLE_" + std::to_string(samples) + "_SAMPLES";
        EXPECT_EQ(expected, MultisampleTypeText(static_cast<D3DMULTISAMPLE_TYPE>(samples)));
    }
    EXPECT_STREQ("Unknown Multisample Type", MultisampleTypeText(static_cast<D3DMULTISAMPLE_TYPE>(17)));
}

TEST(VertexProcessingText, NamesTheFourTypes) {
    const Named named[] = {NAMED(SOFTWARE_VP), NAMED(MIXED_VP), NAMED(HARDWARE_VP),
                           NAMED(PURE_HARDWARE_VP)};
    for (const Named& type : named) {
        EXPECT_STREQ(type.name, VertexProcessingText(static_cast<VertexProcessingType>(type.value)));
    }
    EXPECT_STREQ("Unknown VertexProcessingType", VertexProcessingText(static_cast<VertexProcessingType>(4)));
}

TEST(PresentIntervalText, NamesTheSixIntervalsAndNotTheGapsBetweenTheirBits) {
    const Named named[] = {
        NAMED(D3DPRESENT_INTERVAL_DEFAULT), NAMED(D3DPRESENT_INTERVAL_ONE),
        NAMED(D3DPRESENT_INTERVAL_TWO), NAMED(D3DPRESENT_INTERVAL_THREE),
        NAMED(D3DPRESENT_INTERVAL_FOUR), NAMED(D3DPRESENT_INTERVAL_IMMEDIATE),
    };
    for (const Named& interval : named) EXPECT_STREQ(interval.name, PresentIntervalText(interval.value));
    for (UINT value : {3u, 5u, 6u, 7u, 16u, 0x80000001u}) {
        EXPECT_STREQ("Unknown PresentInterval", PresentIntervalText(value)) << value;
    }
}

}  // namespace
