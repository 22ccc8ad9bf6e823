// The survey's plan: which modes of the enumeration tree it measures, in which order, and the
// settings it creates each mode's device from.
#include "survey/survey_modes.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "support/enumeration_tree_builder.h"
#include "support/fake_direct3d.h"

namespace {

using test_support::AddAdapter;
using test_support::AddCombo;
using test_support::AddDevice;
using test_support::ComboOptions;

// Desktop formats by adapter ordinal; an adapter missing here has no readable desktop.
struct Desktops {
    std::map<UINT, D3DFORMAT> formats;
};

bool ReadDesktop(void* context, UINT ordinal, D3DDISPLAYMODE* mode) {
    const Desktops* desktops = static_cast<const Desktops*>(context);
    const auto found = desktops->formats.find(ordinal);
    if (found == desktops->formats.end()) return false;
    *mode = fakes::Mode(1280, 1024, 60, found->second);
    return true;
}

ComboOptions Multisample(std::vector<test_support::MultisampleOption> options) {
    ComboOptions combo;
    combo.multisample = options;
    combo.vertexProcessing = {PURE_HARDWARE_VP, HARDWARE_VP, SOFTWARE_VP};
    combo.presentIntervals = {D3DPRESENT_INTERVAL_IMMEDIATE, D3DPRESENT_INTERVAL_DEFAULT};
    return combo;
}

std::vector<std::string> Labels(const SurveyPlan& plan) {
    std::vector<std::string> labels;
    for (const SurveyMode& mode : plan.modes) labels.push_back(ModeLabel(ReportForMode(mode)));
    return labels;
}

SurveyOptions Devices(SurveyDevices devices, int adapter = -1) {
    SurveyOptions options;
    options.devices = devices;
    options.adapter = adapter;
    return options;
}

class SurveyPlanTest : public ::testing::Test {
protected:
    void SetUp() override {
        desktops.formats = {{0, D3DFMT_X8R8G8B8}, {1, D3DFMT_R5G6B5}};
        AdapterInfo* first = AddAdapter(enumeration, 0, "First");
        DeviceInfo* hal = AddDevice(first, D3DDEVTYPE_HAL);
        // Fullscreen combos and other back buffers come first in the tree; the plan must pass them.
        AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, false, Multisample({{D3DMULTISAMPLE_8_SAMPLES, 1}}));
        AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, true, Multisample({{D3DMULTISAMPLE_2_SAMPLES, 1}}));
        AddCombo(hal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true,
                 Multisample({{D3DMULTISAMPLE_NONE, 1}, {D3DMULTISAMPLE_NONMASKABLE, 3}, {D3DMULTISAMPLE_4_SAMPLES, 2}}));
        DeviceInfo* ref = AddDevice(first, D3DDEVTYPE_REF);
        AddCombo(ref, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true, Multisample({{D3DMULTISAMPLE_NONE, 1}}));

        AdapterInfo* second = AddAdapter(enumeration, 1, "Second");
        DeviceInfo* secondHal = AddDevice(second, D3DDEVTYPE_HAL);
        // No back buffer in the desktop's own format: the first in its adapter format stands in.
        AddCombo(secondHal, D3DFMT_X8R8G8B8, D3DFMT_X8R8G8B8, true, Multisample({{D3DMULTISAMPLE_NONE, 1}}));
        AddCombo(secondHal, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5, true, Multisample({{D3DMULTISAMPLE_NONE, 1}}));
        AddCombo(secondHal, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, true, Multisample({{D3DMULTISAMPLE_NONE, 1}}));
    }

    DeviceEnumeration enumeration;
    Desktops desktops;
};

TEST_F(SurveyPlanTest, EveryQualityOfEveryTypeOfTheDesktopComboInOrder) {
    const SurveyPlan plan = PlanSurvey(enumeration, Devices(SurveyDevices::Hal), ReadDesktop, &desktops);
    EXPECT_EQ(Labels(plan), (std::vector<std::string>{
                                "HAL X8R8G8B8 D3DMULTISAMPLE_NONE q0",
                                "HAL X8R8G8B8 D3DMULTISAMPLE_NONMASKABLE q0",
                                "HAL X8R8G8B8 D3DMULTISAMPLE_NONMASKABLE q1",
                                "HAL X8R8G8B8 D3DMULTISAMPLE_NONMASKABLE q2",
                                "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0",
                                "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q1",
                                "HAL X1R5G5B5 D3DMULTISAMPLE_NONE q0",
                            }));
    EXPECT_EQ(plan.modes.back().adapterInfo->adapterOrdinal, 1u);
    EXPECT_EQ(plan.modes.back().desktop.Format, D3DFMT_R5G6B5);
    EXPECT_TRUE(plan.gaps.empty());
}

TEST_F(SurveyPlanTest, DeviceChoiceAndAdapterChoiceNarrowThePlan) {
    EXPECT_EQ(Labels(PlanSurvey(enumeration, Devices(SurveyDevices::Ref), ReadDesktop, &desktops)),
              (std::vector<std::string>{"REF X8R8G8B8 D3DMULTISAMPLE_NONE q0"}));
    EXPECT_EQ(PlanSurvey(enumeration, Devices(SurveyDevices::All), ReadDesktop, &desktops).modes.size(), 8u);
    EXPECT_EQ(Labels(PlanSurvey(enumeration, Devices(SurveyDevices::Hal, 1), ReadDesktop, &desktops)),
              (std::vector<std::string>{"HAL X1R5G5B5 D3DMULTISAMPLE_NONE q0"}));
}

TEST_F(SurveyPlanTest, AdaptersWithNothingToMeasureAreNotedNotSkippedSilently) {
    // Adapter 1 has no REF device; adapter 0's desktop cannot be read.
    desktops.formats.erase(0);
    const SurveyPlan plan = PlanSurvey(enumeration, Devices(SurveyDevices::Ref), ReadDesktop, &desktops);
    EXPECT_TRUE(plan.modes.empty());
    ASSERT_EQ(plan.gaps.size(), 2u);
    EXPECT_EQ(plan.gaps[0].adapterOrdinal, 0u);
    EXPECT_EQ(plan.gaps[0].reason, "the desktop display mode could not be read");
    EXPECT_EQ(plan.gaps[1].adapterOrdinal, 1u);
    EXPECT_EQ(plan.gaps[1].reason, "no REF device");
}

TEST_F(SurveyPlanTest, ADeviceWithoutAWindowedComboInTheDesktopFormatIsNoted) {
    desktops.formats[1] = D3DFMT_A2R10G10B10;
    const SurveyPlan plan = PlanSurvey(enumeration, Devices(SurveyDevices::Hal, 1), ReadDesktop, &desktops);
    EXPECT_TRUE(plan.modes.empty());
    ASSERT_EQ(plan.gaps.size(), 1u);
    EXPECT_EQ(plan.gaps[0].reason, "HAL cannot render into a window in the desktop's format");
}

TEST_F(SurveyPlanTest, SettingsCreateAWindowedDeviceOfExactlyThatMode) {
    const SurveyPlan plan = PlanSurvey(enumeration, Devices(SurveyDevices::Hal), ReadDesktop, &desktops);
    const SurveyMode& mode = plan.modes[5];  // 4 samples, quality 1
    const DeviceSettings settings = SettingsForMode(mode, 512, 384);
    EXPECT_TRUE(settings.isWindowed);
    EXPECT_EQ(settings.CurrentAdapterInfo(), mode.adapterInfo);
    EXPECT_EQ(settings.CurrentDeviceInfo(), mode.deviceInfo);
    EXPECT_EQ(settings.CurrentDeviceCombo(), mode.combo);
    EXPECT_EQ(settings.CurrentDisplayMode().Format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(settings.multisampleType, D3DMULTISAMPLE_4_SAMPLES);
    EXPECT_EQ(settings.multisampleQuality, 1u);
    // The combo's first (most capable) vertex processing and present interval, as at start-up.
    EXPECT_EQ(settings.CurrentVertexProcessing(), PURE_HARDWARE_VP);
    EXPECT_EQ(settings.CurrentPresentInterval(), static_cast<UINT>(D3DPRESENT_INTERVAL_IMMEDIATE));
    EXPECT_EQ(settings.windowedWidth, 512);
    EXPECT_EQ(settings.windowedHeight, 384);
    EXPECT_EQ(settings.fullscreenDeviceCombo, nullptr);
}

}  // namespace

namespace {

// This adapter multisamples A2R10G10B10 and A16B16G16R16F at 4 samples (quality 0 only) and
// R5G6B5 without multisampling; the back buffer's own format is never asked about.
bool OffersSome(void*, const SurveyMode& mode, D3DFORMAT format) {
    EXPECT_NE(format, mode.multisample.format);
    if (mode.multisample.type == D3DMULTISAMPLE_NONE) return format == D3DFMT_R5G6B5;
    return mode.multisample.type == D3DMULTISAMPLE_4_SAMPLES && mode.multisample.quality == 0 &&
           (format == D3DFMT_A16B16G16R16F || format == D3DFMT_A2R10G10B10);
}

TEST_F(SurveyPlanTest, EachModeInTheBackBuffersFormatFirstThenEveryFormatOfferedOrOnlyThoseAskedFor) {
    SurveyOptions options = Devices(SurveyDevices::Hal, 0);
    options.adapter = 0;
    const SurveyPlan every = PlanSurvey(enumeration, options, ReadDesktop, &desktops, OffersSome);
    EXPECT_EQ(Labels(every), (std::vector<std::string>{
                                 "HAL X8R8G8B8 D3DMULTISAMPLE_NONE q0",
                                 "HAL X8R8G8B8 D3DMULTISAMPLE_NONE q0 in R5G6B5",
                                 "HAL X8R8G8B8 D3DMULTISAMPLE_NONMASKABLE q0",
                                 "HAL X8R8G8B8 D3DMULTISAMPLE_NONMASKABLE q1",
                                 "HAL X8R8G8B8 D3DMULTISAMPLE_NONMASKABLE q2",
                                 "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0",
                                 "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0 in A2R10G10B10",
                                 "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0 in A16B16G16R16F",
                                 "HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q1",
                             }));
    // One device per device mode: its formats follow it.
    EXPECT_TRUE(SameDeviceMode(every.modes[5], every.modes[7]));
    EXPECT_FALSE(SameDeviceMode(every.modes[7], every.modes[8]));
    EXPECT_EQ(every.modes[7].multisample.format, D3DFMT_X8R8G8B8);

    options.formats = {D3DFMT_A16B16G16R16F, D3DFMT_X8R8G8B8};
    EXPECT_EQ(Labels(PlanSurvey(enumeration, options, ReadDesktop, &desktops, OffersSome)).size(), 7u);
    options.formats = {D3DFMT_A16B16G16R16F};
    EXPECT_EQ(Labels(PlanSurvey(enumeration, options, ReadDesktop, &desktops, OffersSome)),
              (std::vector<std::string>{"HAL X8R8G8B8 D3DMULTISAMPLE_4_SAMPLES q0 in A16B16G16R16F"}));
    options.formats = {D3DFMT_R32F};
    const SurveyPlan none = PlanSurvey(enumeration, options, ReadDesktop, &desktops, OffersSome);
    EXPECT_TRUE(none.modes.empty());
    ASSERT_EQ(none.gaps.size(), 1u);
    EXPECT_EQ(none.gaps[0].reason, "HAL multisamples none of the formats asked for (R32F)");
}

}  // namespace
