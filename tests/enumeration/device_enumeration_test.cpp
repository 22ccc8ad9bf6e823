// The enumeration tree built against the scriptable Direct3D object: which modes, device types and
// combos are kept, in what order, what each combo offers, and that the tree owns all its memory.
#include "enumeration/device_enumeration.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "counting_allocator.h"
#include "enumeration/value_names.h"
#include "support/fake_direct3d.h"

namespace {

using fakes::FakeDirect3D;
using fakes::Mode;
using testing::ElementsAre;
using testing::IsEmpty;

template <typename T>
std::vector<T> Values(const ArrayList* list) {
    std::vector<T> values;
    for (UINT index = 0; index < list->Count(); ++index) values.push_back(ValueAt<T>(list, index));
    return values;
}

std::string Describe(const DeviceCombo* combo) {
    return std::string(FormatText(combo->adapterFormat, false)) + "/" + FormatText(combo->backBufferFormat, false) +
           (combo->isWindowed ? " windowed" : " fullscreen");
}

std::string Describe(const D3DDISPLAYMODE& mode) {
    return std::to_string(mode.Width) + "x" + std::to_string(mode.Height) + " " + FormatText(mode.Format, false) +
           " " + std::to_string(mode.RefreshRate);
}

// Records what the acceptDevice callback is asked and refuses what the test says.
struct AcceptRecorder {
    std::vector<std::string> asked;
    std::vector<VertexProcessingType> refused;
    const D3DCAPS9* lastCaps = nullptr;
};
AcceptRecorder* recorder = nullptr;

bool RecordingAccept(D3DCAPS9* caps, VertexProcessingType type, D3DFORMAT backBufferFormat) {
    recorder->lastCaps = caps;
    recorder->asked.push_back(std::string(VertexProcessingText(type)) + " " + FormatText(backBufferFormat, false));
    for (VertexProcessingType refused : recorder->refused) {
        if (refused == type) return false;
    }
    return true;
}

class DeviceEnumerationTest : public testing::Test {
protected:
    DeviceEnumerationTest() : direct3d(fakes::MakeTypicalDirect3D()) {
        enumeration.direct3d = direct3d;
        recorder = &accept;
    }
    ~DeviceEnumerationTest() override {
        recorder = nullptr;
        direct3d->Release();
    }

    HRESULT Enumerate() { return enumeration.Enumerate(); }

    fakes::FakeAdapter& FakeAdapter(UINT index = 0) { return direct3d->adapters[index]; }
    AdapterInfo* Adapter(UINT index = 0) {
        return static_cast<AdapterInfo*>(enumeration.adapterInfos->ItemAt(index));
    }
    DeviceInfo* Device(UINT index, UINT adapter = 0) {
        return static_cast<DeviceInfo*>(Adapter(adapter)->deviceInfos->ItemAt(index));
    }
    static DeviceCombo* Combo(const DeviceInfo* device, UINT index) {
        return static_cast<DeviceCombo*>(device->deviceCombos->ItemAt(index));
    }
    static std::vector<std::string> Combos(const DeviceInfo* device) {
        std::vector<std::string> texts;
        for (UINT index = 0; index < device->deviceCombos->Count(); ++index) texts.push_back(Describe(Combo(device, index)));
        return texts;
    }
    std::vector<std::string> Modes(UINT adapter = 0) {
        std::vector<std::string> texts;
        for (const D3DDISPLAYMODE& mode : Values<D3DDISPLAYMODE>(Adapter(adapter)->displayModes)) {
            texts.push_back(Describe(mode));
        }
        return texts;
    }
    std::vector<D3DDEVTYPE> DeviceTypes(UINT adapter = 0) {
        std::vector<D3DDEVTYPE> types;
        for (UINT index = 0; index < Adapter(adapter)->deviceInfos->Count(); ++index) {
            types.push_back(Device(index, adapter)->deviceType);
        }
        return types;
    }
    // The first combo of the HAL device with the given formats and windowed flag, or null.
    DeviceCombo* FindCombo(D3DFORMAT adapterFormat, D3DFORMAT backBufferFormat, bool windowed, UINT device = 0) {
        const DeviceInfo* info = Device(device);
        for (UINT index = 0; index < info->deviceCombos->Count(); ++index) {
            DeviceCombo* combo = Combo(info, index);
            if (combo->adapterFormat == adapterFormat && combo->backBufferFormat == backBufferFormat &&
                combo->isWindowed == windowed) {
                return combo;
            }
        }
        return nullptr;
    }

    FakeDirect3D* direct3d;
    DeviceEnumeration enumeration;
    AcceptRecorder accept;
};

// --- Display modes ---------------------------------------------------------------------------

TEST_F(DeviceEnumerationTest, KeepsModesFromTheMinimumSizeUpAndSixteenBitModes) {
    FakeAdapter().modes[D3DFMT_X8R8G8B8] = {
        Mode(639, 480, 60, D3DFMT_X8R8G8B8), Mode(640, 479, 60, D3DFMT_X8R8G8B8),
        Mode(640, 480, 60, D3DFMT_X8R8G8B8), Mode(320, 240, 60, D3DFMT_X8R8G8B8),
    };
    FakeAdapter().modes[D3DFMT_R5G6B5] = {Mode(800, 600, 60, D3DFMT_R5G6B5)};
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Modes(), ElementsAre("640x480 X8R8G8B8 60", "800x600 R5G6B5 60"));
}

TEST_F(DeviceEnumerationTest, AsksOnlyForTheFourAdapterFormatsAndNeverListsOthers) {
    FakeAdapter().modes[D3DFMT_A8R8G8B8] = {Mode(1280, 1024, 60, D3DFMT_A8R8G8B8)};
    FakeAdapter().modes[D3DFMT_X4R4G4B4] = {Mode(1280, 1024, 60, D3DFMT_X4R4G4B4)};
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(direct3d->CallsStartingWith("GetAdapterModeCount"),
                ElementsAre("GetAdapterModeCount 0 22", "GetAdapterModeCount 0 24", "GetAdapterModeCount 0 23",
                            "GetAdapterModeCount 0 35"));
    EXPECT_THAT(Values<D3DFORMAT>(enumeration.allowedAdapterFormats),
                ElementsAre(D3DFMT_X8R8G8B8, D3DFMT_X1R5G5B5, D3DFMT_R5G6B5, D3DFMT_A2R10G10B10));
    for (const D3DDISPLAYMODE& mode : Values<D3DDISPLAYMODE>(Adapter()->displayModes)) {
        EXPECT_TRUE(mode.Format == D3DFMT_X8R8G8B8 || mode.Format == D3DFMT_R5G6B5) << Describe(mode);
    }
}

TEST_F(DeviceEnumerationTest, FiltersByTheFormatTheModeReportsAndByRaisedMinimums) {
    // A mode whose own format has four bits per channel is dropped even under an allowed format.
    FakeAdapter().modes[D3DFMT_X1R5G5B5] = {Mode(1024, 768, 60, D3DFMT_X4R4G4B4)};
    enumeration.minColorChannelBits = 8;
    enumeration.minFullscreenWidth = 800;
    enumeration.minFullscreenHeight = 600;
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Modes(), ElementsAre("800x600 X8R8G8B8 60", "1024x768 X8R8G8B8 60", "1024x768 X8R8G8B8 75"));
    // Without a kept R5G6B5 mode there is no R5G6B5 adapter format to build combos on.
    for (const std::string& combo : Combos(Device(0))) EXPECT_EQ(0u, combo.find("X8R8G8B8/")) << combo;
}

TEST_F(DeviceEnumerationTest, AModeThatCannotBeReadIsLeftOut) {
    const FakeDirect3D::EnumAdapterModesHook base = direct3d->onEnumAdapterModes;
    direct3d->onEnumAdapterModes = [base](UINT adapter, D3DFORMAT format, UINT index, D3DDISPLAYMODE* mode) {
        if (format == D3DFMT_X8R8G8B8 && index == 1) {
            *mode = Mode(4000, 3000, 60, D3DFMT_X8R8G8B8);  // what a failing runtime left must not be kept
            return D3DERR_INVALIDCALL;
        }
        return base(adapter, format, index, mode);
    };
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Modes(), ElementsAre("640x480 X8R8G8B8 60", "640x480 R5G6B5 60", "800x600 R5G6B5 60",
                                     "1024x768 X8R8G8B8 60", "1024x768 X8R8G8B8 75"));
}

TEST_F(DeviceEnumerationTest, SortsModesByWidthHeightFormatThenRefreshRate) {
    FakeAdapter().modes[D3DFMT_X8R8G8B8] = {
        Mode(1024, 768, 85, D3DFMT_X8R8G8B8), Mode(800, 600, 60, D3DFMT_X8R8G8B8),
        Mode(1024, 768, 60, D3DFMT_X8R8G8B8), Mode(1280, 720, 60, D3DFMT_X8R8G8B8),
        Mode(1024, 600, 60, D3DFMT_X8R8G8B8),
    };
    FakeAdapter().modes[D3DFMT_R5G6B5] = {Mode(1024, 768, 75, D3DFMT_R5G6B5), Mode(800, 600, 60, D3DFMT_R5G6B5)};
    FakeAdapter().modes[D3DFMT_X1R5G5B5] = {Mode(1024, 768, 100, D3DFMT_X1R5G5B5)};
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Modes(), ElementsAre("800x600 X8R8G8B8 60", "800x600 R5G6B5 60", "1024x600 X8R8G8B8 60",
                                     "1024x768 X8R8G8B8 60", "1024x768 X8R8G8B8 85", "1024x768 R5G6B5 75",
                                     "1024x768 X1R5G5B5 100", "1280x720 X8R8G8B8 60"));
}

TEST(CompareDisplayModes, OrdersEachFieldAfterThePreviousOne) {
    const D3DDISPLAYMODE base = Mode(800, 600, 60, D3DFMT_X8R8G8B8);
    EXPECT_EQ(0, CompareDisplayModes(base, base));
    EXPECT_LT(CompareDisplayModes(base, Mode(800, 600, 75, D3DFMT_X8R8G8B8)), 0);
    EXPECT_LT(CompareDisplayModes(Mode(800, 600, 100, D3DFMT_X8R8G8B8), Mode(800, 600, 50, D3DFMT_R5G6B5)), 0);
    EXPECT_LT(CompareDisplayModes(Mode(800, 720, 100, D3DFMT_R5G6B5), Mode(1024, 480, 50, D3DFMT_X8R8G8B8)), 0);
    EXPECT_GT(CompareDisplayModes(Mode(1024, 768, 60, D3DFMT_X8R8G8B8), Mode(1024, 600, 85, D3DFMT_X8R8G8B8)), 0);
    // Unsigned sizes: a huge width is large, not negative.
    EXPECT_GT(CompareDisplayModes(Mode(0x80000000u, 600, 60, D3DFMT_X8R8G8B8), base), 0);
}

TEST(ChannelBits, CountTheWeakestColourChannelAndOnlyRealAlphaDepthAndStencilBits) {
    EXPECT_EQ(5u, ColorChannelBitsOf(D3DFMT_R5G6B5));
    EXPECT_EQ(10u, ColorChannelBitsOf(D3DFMT_A2R10G10B10));
    EXPECT_EQ(0u, ColorChannelBitsOf(D3DFMT_A8));
    EXPECT_EQ(0u, AlphaChannelBitsOf(D3DFMT_A8));
    EXPECT_EQ(0u, AlphaChannelBitsOf(D3DFMT_X8R8G8B8));
    EXPECT_EQ(2u, AlphaChannelBitsOf(D3DFMT_A2B10G10R10));
    EXPECT_EQ(0u, DepthBitsOf(D3DFMT_D16_LOCKABLE));
    EXPECT_EQ(15u, DepthBitsOf(D3DFMT_D15S1));
    EXPECT_EQ(1u, StencilBitsOf(D3DFMT_D15S1));
    EXPECT_EQ(0u, StencilBitsOf(D3DFMT_D24X8));
}

// --- Device types ----------------------------------------------------------------------------

TEST_F(DeviceEnumerationTest, ListsDeviceTypesHalSwRefAndCopiesCapsAndIdentifier) {
    FakeAdapter().caps[D3DDEVTYPE_SW] = fakes::MakeCaps(0, D3DDEVTYPE_SW, 0, 0);
    FakeAdapter().caps[D3DDEVTYPE_REF].MaxPointSize = 12.5f;
    ASSERT_EQ(S_OK, Enumerate());
    ASSERT_EQ(1u, enumeration.adapterInfos->Count());
    EXPECT_STREQ("Fake Adapter", Adapter()->identifier.Description);
    EXPECT_THAT(DeviceTypes(), ElementsAre(D3DDEVTYPE_HAL, D3DDEVTYPE_SW, D3DDEVTYPE_REF));
    EXPECT_EQ(12.5f, Device(2)->caps.MaxPointSize);
    EXPECT_THAT(direct3d->CallsStartingWith("GetDeviceCaps"),
                ElementsAre("GetDeviceCaps 0 1", "GetDeviceCaps 0 3", "GetDeviceCaps 0 2"));
}

TEST_F(DeviceEnumerationTest, ADeviceTypeWhoseCapsFailOrThatHasNoComboIsLeftOut) {
    // The typical adapter has no SW caps; REF accepts no back buffer at all.
    const FakeDirect3D::CheckDeviceTypeHook base = direct3d->onCheckDeviceType;
    direct3d->onCheckDeviceType = [base](UINT adapter, D3DDEVTYPE type, D3DFORMAT format, D3DFORMAT backBuffer,
                                         BOOL windowed) {
        return type == D3DDEVTYPE_REF ? D3DERR_NOTAVAILABLE : base(adapter, type, format, backBuffer, windowed);
    };
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(DeviceTypes(), ElementsAre(D3DDEVTYPE_HAL));
    EXPECT_EQ(0u, Device(0)->adapterOrdinal);
}

// --- Device combos ---------------------------------------------------------------------------

TEST_F(DeviceEnumerationTest, OrdersCombosByAdapterFormatBackBufferFormatFullscreenFirst) {
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Combos(Device(0)),
                ElementsAre("X8R8G8B8/A8R8G8B8 fullscreen", "X8R8G8B8/A8R8G8B8 windowed",
                            "X8R8G8B8/X8R8G8B8 fullscreen", "X8R8G8B8/X8R8G8B8 windowed",
                            "R5G6B5/R5G6B5 fullscreen"));
    const DeviceCombo* combo = Combo(Device(1), 0);
    EXPECT_EQ(D3DDEVTYPE_REF, combo->deviceType);
    EXPECT_EQ(0u, combo->adapterOrdinal);
}

TEST_F(DeviceEnumerationTest, AdapterFormatsFollowTheAllowedOrderNotTheModeOrder) {
    FakeAdapter().modes.clear();
    FakeAdapter().modes[D3DFMT_A2R10G10B10] = {Mode(640, 480, 60, D3DFMT_A2R10G10B10)};
    FakeAdapter().modes[D3DFMT_X1R5G5B5] = {Mode(1600, 1200, 60, D3DFMT_X1R5G5B5)};
    FakeAdapter().modes[D3DFMT_X8R8G8B8] = {Mode(2048, 1536, 60, D3DFMT_X8R8G8B8)};
    enumeration.fullscreenOnly = true;
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Combos(Device(0)),
                ElementsAre("X8R8G8B8/A8R8G8B8 fullscreen", "X8R8G8B8/X8R8G8B8 fullscreen",
                            "X1R5G5B5/A1R5G5B5 fullscreen", "X1R5G5B5/X1R5G5B5 fullscreen",
                            "A2R10G10B10/A2R10G10B10 fullscreen"));
}

TEST_F(DeviceEnumerationTest, WindowedOnlyAndMinimumAlphaNarrowTheCombosAndTheChecks) {
    enumeration.windowedOnly = true;
    enumeration.minAlphaChannelBits = 1;
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Combos(Device(0)), ElementsAre("X8R8G8B8/A8R8G8B8 windowed"));
    // Only back buffers with alpha are tried, and only windowed.
    EXPECT_THAT(direct3d->CallsStartingWith("CheckDeviceType 0 1 "),
                ElementsAre("CheckDeviceType 0 1 22 21 1", "CheckDeviceType 0 1 22 35 1",
                            "CheckDeviceType 0 1 22 25 1", "CheckDeviceType 0 1 23 21 1",
                            "CheckDeviceType 0 1 23 35 1", "CheckDeviceType 0 1 23 25 1"));
}

// --- Present intervals -----------------------------------------------------------------------

TEST_F(DeviceEnumerationTest, WindowedCombosNeverWaitForMoreThanOneRetrace) {
    // REF claims every interval.
    ASSERT_EQ(S_OK, Enumerate());
    const DeviceInfo* reference = Device(1);
    ASSERT_EQ(D3DDEVTYPE_REF, reference->deviceType);
    const DeviceCombo* fullscreen = Combo(reference, 0);
    const DeviceCombo* windowed = Combo(reference, 1);
    ASSERT_FALSE(fullscreen->isWindowed);
    ASSERT_TRUE(windowed->isWindowed);
    EXPECT_THAT(Values<UINT>(fullscreen->presentIntervals),
                ElementsAre(D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE,
                            D3DPRESENT_INTERVAL_TWO, D3DPRESENT_INTERVAL_THREE, D3DPRESENT_INTERVAL_FOUR));
    EXPECT_THAT(Values<UINT>(windowed->presentIntervals),
                ElementsAre(D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_ONE));
}

TEST_F(DeviceEnumerationTest, TheDefaultIntervalIsOfferedWithoutAnyCapabilityBit) {
    FakeAdapter().caps[D3DDEVTYPE_HAL].PresentationIntervals = 0;
    FakeAdapter().caps[D3DDEVTYPE_REF].PresentationIntervals = D3DPRESENT_INTERVAL_TWO;
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Values<UINT>(Combo(Device(0), 0)->presentIntervals), ElementsAre(D3DPRESENT_INTERVAL_DEFAULT));
    EXPECT_THAT(Values<UINT>(Combo(Device(1), 0)->presentIntervals),
                ElementsAre(D3DPRESENT_INTERVAL_DEFAULT, D3DPRESENT_INTERVAL_TWO));
    EXPECT_THAT(Values<UINT>(Combo(Device(1), 1)->presentIntervals), ElementsAre(D3DPRESENT_INTERVAL_DEFAULT));
}

// --- Vertex processing -----------------------------------------------------------------------

TEST_F(DeviceEnumerationTest, OffersVertexProcessingFromMostCapableDownWithoutACallback) {
    enumeration.usesMixedVertexProcessing = true;
    ASSERT_EQ(S_OK, Enumerate());
    // HAL: transform and lighting and a pure device; REF: transform and lighting only.
    EXPECT_THAT(Values<VertexProcessingType>(Combo(Device(0), 0)->vertexProcessingTypes),
                ElementsAre(PURE_HARDWARE_VP, HARDWARE_VP, MIXED_VP, SOFTWARE_VP));
    EXPECT_THAT(Values<VertexProcessingType>(Combo(Device(1), 0)->vertexProcessingTypes),
                ElementsAre(HARDWARE_VP, MIXED_VP, SOFTWARE_VP));
}

TEST_F(DeviceEnumerationTest, AsksTheCallbackPureHardwareMixedSoftwareAndKeepsWhatItAccepts) {
    enumeration.usesMixedVertexProcessing = true;
    enumeration.acceptDevice = RecordingAccept;
    accept.refused = {HARDWARE_VP};
    direct3d->adapters[0].caps.erase(D3DDEVTYPE_REF);
    ASSERT_EQ(S_OK, Enumerate());
    ASSERT_GE(accept.asked.size(), 4u);
    EXPECT_THAT(std::vector<std::string>(accept.asked.begin(), accept.asked.begin() + 4),
                ElementsAre("PURE_HARDWARE_VP A8R8G8B8", "HARDWARE_VP A8R8G8B8", "MIXED_VP A8R8G8B8",
                            "SOFTWARE_VP A8R8G8B8"));
    EXPECT_EQ(&Device(0)->caps, accept.lastCaps);
    EXPECT_EQ(5u * 4u, accept.asked.size());  // four questions for each of the five combos
    EXPECT_THAT(Values<VertexProcessingType>(Combo(Device(0), 4)->vertexProcessingTypes),
                ElementsAre(PURE_HARDWARE_VP, MIXED_VP, SOFTWARE_VP));
}

TEST_F(DeviceEnumerationTest, WithoutHardwareTransformOnlySoftwareIsAskedAndItsRefusalDropsEverything) {
    for (auto& entry : FakeAdapter().caps) entry.second.DevCaps = D3DDEVCAPS_PUREDEVICE;
    enumeration.usesMixedVertexProcessing = true;
    enumeration.acceptDevice = RecordingAccept;
    accept.refused = {SOFTWARE_VP};
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_EQ(0u, enumeration.adapterInfos->Count());
    ASSERT_FALSE(accept.asked.empty());
    for (const std::string& question : accept.asked) EXPECT_EQ(0u, question.find("SOFTWARE_VP ")) << question;
}

// --- Multisample types and depth/stencil -----------------------------------------------------

TEST_F(DeviceEnumerationTest, ListsMultisampleTypesAscendingWithTheirQualityLevelsIndexByIndex) {
    direct3d->onCheckDeviceMultiSampleType = [](UINT, D3DDEVTYPE, D3DFORMAT, BOOL windowed, D3DMULTISAMPLE_TYPE type,
                                                DWORD* levels) -> HRESULT {
        const bool supported = type == D3DMULTISAMPLE_NONE || type == D3DMULTISAMPLE_NONMASKABLE ||
                               type == D3DMULTISAMPLE_2_SAMPLES || type == D3DMULTISAMPLE_8_SAMPLES ||
                               (type == D3DMULTISAMPLE_16_SAMPLES && !windowed);
        if (levels) *levels = supported ? 10 + type : 0;
        return supported ? D3D_OK : D3DERR_NOTAVAILABLE;
    };
    ASSERT_EQ(S_OK, Enumerate());
    const DeviceCombo* fullscreen = Combo(Device(0), 0);
    const DeviceCombo* windowed = Combo(Device(0), 1);
    EXPECT_THAT(Values<D3DMULTISAMPLE_TYPE>(fullscreen->multisampleTypes),
                ElementsAre(D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_NONMASKABLE, D3DMULTISAMPLE_2_SAMPLES,
                            D3DMULTISAMPLE_8_SAMPLES, D3DMULTISAMPLE_16_SAMPLES));
    EXPECT_THAT(Values<DWORD>(fullscreen->multisampleQualityLevels), ElementsAre(10, 11, 12, 18, 26));
    EXPECT_THAT(Values<D3DMULTISAMPLE_TYPE>(windowed->multisampleTypes),
                ElementsAre(D3DMULTISAMPLE_NONE, D3DMULTISAMPLE_NONMASKABLE, D3DMULTISAMPLE_2_SAMPLES,
                            D3DMULTISAMPLE_8_SAMPLES));
    EXPECT_THAT(Values<DWORD>(windowed->multisampleQualityLevels), ElementsAre(10, 11, 12, 18));
}

TEST_F(DeviceEnumerationTest, ChecksSeventeenMultisampleTypesPerComboOnTheBackBufferFormat) {
    FakeAdapter().caps.erase(D3DDEVTYPE_REF);
    FakeAdapter().modes.erase(D3DFMT_R5G6B5);
    enumeration.windowedOnly = true;
    ASSERT_EQ(S_OK, Enumerate());
    const std::vector<std::string> checks = direct3d->CallsStartingWith("CheckDeviceMultiSampleType");
    ASSERT_EQ(2u * 17u, checks.size());  // two windowed combos on X8R8G8B8
    for (UINT type = 0; type <= 16; ++type) {
        EXPECT_EQ("CheckDeviceMultiSampleType 0 1 21 1 " + std::to_string(type), checks[type]);
        EXPECT_EQ("CheckDeviceMultiSampleType 0 1 22 1 " + std::to_string(type), checks[17 + type]);
    }
}

TEST_F(DeviceEnumerationTest, AComboWithoutAnyMultisampleTypeIsDropped) {
    direct3d->onCheckDeviceMultiSampleType = [](UINT, D3DDEVTYPE, D3DFORMAT format, BOOL, D3DMULTISAMPLE_TYPE,
                                                DWORD* levels) -> HRESULT {
        if (levels) *levels = 1;
        return format == D3DFMT_A8R8G8B8 ? D3DERR_NOTAVAILABLE : D3D_OK;
    };
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Combos(Device(0)), ElementsAre("X8R8G8B8/X8R8G8B8 fullscreen", "X8R8G8B8/X8R8G8B8 windowed",
                                               "R5G6B5/R5G6B5 fullscreen"));
}

TEST_F(DeviceEnumerationTest, WithoutDepthBufferNoDepthFormatIsTriedAndNoConflictListed) {
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(direct3d->CallsStartingWith("CheckDeviceFormat"), IsEmpty());
    EXPECT_THAT(direct3d->CallsStartingWith("CheckDepthStencilMatch"), IsEmpty());
    for (UINT device = 0; device < Adapter()->deviceInfos->Count(); ++device) {
        for (UINT index = 0; index < Device(device)->deviceCombos->Count(); ++index) {
            const DeviceCombo* combo = Combo(Device(device), index);
            EXPECT_EQ(0u, combo->depthStencilFormats->Count()) << Describe(combo);
            EXPECT_EQ(0u, combo->depthMultisampleConflicts->Count()) << Describe(combo);
        }
    }
}

TEST_F(DeviceEnumerationTest, DepthFormatsNeedBothChecksAndMeetTheMinimums) {
    enumeration.usesDepthBuffer = true;
    enumeration.minDepthBits = 16;
    const FakeDirect3D::CheckDepthStencilMatchHook base = direct3d->onCheckDepthStencilMatch;
    direct3d->onCheckDepthStencilMatch = [base](UINT adapter, D3DDEVTYPE type, D3DFORMAT format,
                                                D3DFORMAT target, D3DFORMAT depth) {
        // A 16-bit back buffer matches only a 16-bit depth buffer.
        if (target == D3DFMT_R5G6B5 && depth != D3DFMT_D16) return D3DERR_NOTAVAILABLE;
        return base(adapter, type, format, target, depth);
    };
    ASSERT_EQ(S_OK, Enumerate());
    // The fake's surfaces support D16, D24X8 and D24S8; D15S1 falls short of 16 depth bits.
    EXPECT_THAT(Values<D3DFORMAT>(FindCombo(D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, false)->depthStencilFormats),
                ElementsAre(D3DFMT_D16, D3DFMT_D24X8, D3DFMT_D24S8));
    EXPECT_THAT(Values<D3DFORMAT>(FindCombo(D3DFMT_R5G6B5, D3DFMT_R5G6B5, false)->depthStencilFormats),
                ElementsAre(D3DFMT_D16));
    // Tried in the order D16, D24X8, D24S8, D24X4S4, D32 (D15S1 is skipped before asking).
    const std::vector<std::string> checks = direct3d->CallsStartingWith("CheckDeviceFormat 0 1 22 ");
    ASSERT_GE(checks.size(), 5u);
    EXPECT_THAT(std::vector<std::string>(checks.begin(), checks.begin() + 5),
                ElementsAre("CheckDeviceFormat 0 1 22 2 1 80", "CheckDeviceFormat 0 1 22 2 1 77",
                            "CheckDeviceFormat 0 1 22 2 1 75", "CheckDeviceFormat 0 1 22 2 1 79",
                            "CheckDeviceFormat 0 1 22 2 1 71"));
}

TEST_F(DeviceEnumerationTest, StencilMinimumAndMissingDepthFormatsDropCombos) {
    enumeration.usesDepthBuffer = true;
    enumeration.minStencilBits = 1;
    const FakeDirect3D::CheckDeviceFormatHook base = direct3d->onCheckDeviceFormat;
    direct3d->onCheckDeviceFormat = [base](UINT adapter, D3DDEVTYPE type, D3DFORMAT format, DWORD usage,
                                           D3DRESOURCETYPE resource, D3DFORMAT check) {
        if (format == D3DFMT_R5G6B5) return D3DERR_NOTAVAILABLE;
        return base(adapter, type, format, usage, resource, check);
    };
    ASSERT_EQ(S_OK, Enumerate());
    EXPECT_THAT(Combos(Device(0)), ElementsAre("X8R8G8B8/A8R8G8B8 fullscreen", "X8R8G8B8/A8R8G8B8 windowed",
                                               "X8R8G8B8/X8R8G8B8 fullscreen", "X8R8G8B8/X8R8G8B8 windowed"));
    EXPECT_THAT(Values<D3DFORMAT>(Combo(Device(0), 0)->depthStencilFormats), ElementsAre(D3DFMT_D24S8));
}

TEST_F(DeviceEnumerationTest, ListsDepthMultisampleConflictsFormatByFormatThenTypeByType) {
    enumeration.usesDepthBuffer = true;
    direct3d->onCheckDeviceMultiSampleType = [](UINT, D3DDEVTYPE, D3DFORMAT surface, BOOL, D3DMULTISAMPLE_TYPE type,
                                                DWORD* levels) -> HRESULT {
        if (levels) *levels = 1;
        const bool colour = surface == D3DFMT_A8R8G8B8 || surface == D3DFMT_X8R8G8B8 || surface == D3DFMT_R5G6B5;
        if (colour) return type == D3DMULTISAMPLE_NONE || type == D3DMULTISAMPLE_2_SAMPLES ||
                               type == D3DMULTISAMPLE_4_SAMPLES ? D3D_OK : D3DERR_NOTAVAILABLE;
        if (surface == D3DFMT_D16) return type == D3DMULTISAMPLE_NONE ? D3D_OK : D3DERR_NOTAVAILABLE;
        if (surface == D3DFMT_D24S8) return type == D3DMULTISAMPLE_4_SAMPLES ? D3DERR_NOTAVAILABLE : D3D_OK;
        return D3D_OK;
    };
    ASSERT_EQ(S_OK, Enumerate());
    const DeviceCombo* combo = FindCombo(D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, true);
    ASSERT_NE(nullptr, combo);
    std::vector<std::string> conflicts;
    for (const DepthMultisampleConflict& conflict : Values<DepthMultisampleConflict>(combo->depthMultisampleConflicts)) {
        conflicts.push_back(std::string(FormatText(conflict.depthStencilFormat, false)) + " " +
                            MultisampleTypeText(conflict.multisampleType));
    }
    EXPECT_THAT(conflicts, ElementsAre("D16 D3DMULTISAMPLE_2_SAMPLES", "D16 D3DMULTISAMPLE_4_SAMPLES",
                                       "D24S8 D3DMULTISAMPLE_4_SAMPLES"));
}

// --- Pruning and failures --------------------------------------------------------------------

TEST_F(DeviceEnumerationTest, AdaptersWithoutUsableDevicesAreDroppedAndKeepTheirOrdinals) {
    direct3d->adapters.push_back(fakes::MakeTypicalAdapter(1));
    direct3d->adapters.push_back(fakes::MakeTypicalAdapter(2));
    FakeAdapter(0).caps.clear();
    FakeAdapter(2).modes.clear();
    ASSERT_EQ(S_OK, Enumerate());
    ASSERT_EQ(1u, enumeration.adapterInfos->Count());
    EXPECT_EQ(1u, Adapter()->adapterOrdinal);
    EXPECT_EQ(1u, Device(0)->adapterOrdinal);
    EXPECT_EQ(1u, Combo(Device(0), 0)->adapterOrdinal);
}

TEST_F(DeviceEnumerationTest, NothingUsableIsStillASuccess) {
    FakeAdapter().caps.clear();
    ASSERT_EQ(S_OK, Enumerate());
    ASSERT_NE(nullptr, enumeration.adapterInfos);
    EXPECT_EQ(0u, enumeration.adapterInfos->Count());

    direct3d->adapters.clear();
    DeviceEnumeration empty;
    empty.direct3d = direct3d;
    ASSERT_EQ(S_OK, empty.Enumerate());
    EXPECT_EQ(0u, empty.adapterInfos->Count());
}

TEST(DeviceEnumeration, WithoutDirect3DFailsAndBuildsNothing) {
    DeviceEnumeration enumeration;
    EXPECT_EQ(E_FAIL, enumeration.Enumerate());
    EXPECT_EQ(nullptr, enumeration.adapterInfos);
    EXPECT_EQ(nullptr, enumeration.allowedAdapterFormats);
}

// --- Memory ----------------------------------------------------------------------------------

TEST_F(DeviceEnumerationTest, DestructionFreesTheWholeTree) {
    enumeration.usesDepthBuffer = true;
    direct3d->adapters.push_back(fakes::MakeTypicalAdapter(1));
    const long before = counting_allocator::liveNothrow;
    {
        DeviceEnumeration tree;
        tree.direct3d = direct3d;
        tree.usesDepthBuffer = true;
        ASSERT_EQ(S_OK, tree.Enumerate());
        ASSERT_EQ(2u, tree.adapterInfos->Count());
        EXPECT_GT(counting_allocator::liveNothrow, before + 50);
    }
    EXPECT_EQ(before, counting_allocator::liveNothrow);
}

// Memory may run out for good or only for one request; either way the result is a clean failure
// or a consistent tree, and destruction leaves nothing behind.
class OutOfMemoryTest : public DeviceEnumerationTest, public testing::WithParamInterface<bool> {};

TEST_P(OutOfMemoryTest, AtAnyAllocationFailsCleanlyKeepsTheTreeConsistentAndLeaksNothing) {
    direct3d->adapters.push_back(fakes::MakeTypicalAdapter(1));
    const long before = counting_allocator::liveNothrow;
    long allowed = 0;
    for (;; ++allowed) {
        ASSERT_LT(allowed, 5000) << "the enumeration never completed";
        DeviceEnumeration tree;
        tree.direct3d = direct3d;
        tree.usesDepthBuffer = true;
        HRESULT result;
        long refused;
        {
            counting_allocator::FailAfter fail(allowed, GetParam());
            const long start = counting_allocator::nothrowRefused;
            result = tree.Enumerate();
            refused = counting_allocator::nothrowRefused - start;
        }
        EXPECT_TRUE(result == S_OK || result == E_OUTOFMEMORY) << "allowed " << allowed << ": " << result;
        // Whatever was kept is consistent: the two multisample lists stay parallel.
        for (UINT a = 0; tree.adapterInfos && a < tree.adapterInfos->Count(); ++a) {
            const AdapterInfo* adapter = static_cast<AdapterInfo*>(tree.adapterInfos->ItemAt(a));
            for (UINT d = 0; d < adapter->deviceInfos->Count(); ++d) {
                const DeviceInfo* device = static_cast<DeviceInfo*>(adapter->deviceInfos->ItemAt(d));
                for (UINT c = 0; c < device->deviceCombos->Count(); ++c) {
                    const DeviceCombo* combo = Combo(device, c);
                    EXPECT_EQ(combo->multisampleTypes->Count(), combo->multisampleQualityLevels->Count())
                        << "allowed " << allowed;
                }
            }
        }
        if (refused == 0) break;  // the whole tree was built before the failure was due
    }
    EXPECT_GT(allowed, 50);
    EXPECT_EQ(before, counting_allocator::liveNothrow);
}

INSTANTIATE_TEST_SUITE_P(ShortageKinds, OutOfMemoryTest, testing::Values(false, true),
                         [](const testing::TestParamInfo<bool>& info) {
                             return info.param ? "OneRequestFails" : "EveryLaterRequestFails";
                         });

}  // namespace
