// The "Sample Positions" dialog over a hand-made measurement, driven as a user would: its
// heading and Positions page show the measurement, the tabs switch pages, Copy puts the heading
// and every page on the clipboard, Save suggests a name and writes the JSON through the save
// dialog (answered by a hook), a file that cannot be written is named in a warning with the
// system's reason, and Close ends it.
#include "viewer/sample_positions_dialog.h"

#include "analysis/positions/positions_view.h"
#include "viewer/view_page.h"

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include <string>
#include <vector>

#include "image/system_error_text.h"
#include "resources/resource_ids.h"
#include "support/common_dialog_answer.h"
#include "support/fake_platform.h"
#include "support/scratch_folder.h"
#include "viewer/page_text.h"
#include "viewer/sample_table_text.h"

#include "support/measurement_builders.h"

namespace {

using test_support::ExactAxis;

using test_support::AnswerDialogs;
using test_support::ReadFileBytes;
using test_support::ScratchFolder;

constexpr char kDevice[] = "HAL (pure hw vp): Test Adapter";
constexpr char kCaption[] = "DX9 Quillant 5.2";

MeasuredDevice Window() {
    MeasuredDevice device;
    device.description = kDevice;
    device.width = 512;
    device.height = 384;
    device.format = D3DFMT_X8R8G8B8;
    return device;
}

// Two samples, one of them on the left edge and known only to an interval.
ModeMeasurement TwoSamples() {
    ModeMeasurement measured;
    measured.mode = {D3DMULTISAMPLE_2_SAMPLES, 0, D3DFMT_X8R8G8B8};
    measured.milliseconds = 12.34;
    SampleMeasurement& m = measured.samplePositions;
    m.gridSize = 64;
    SamplePosition first;
    first.maskBit = 0;
    first.x = ExactAxis(12);
    first.y = ExactAxis(12);
    SamplePosition second;
    second.maskBit = 1;
    second.x.low = -1.0 / 64;
    second.x.high = 1.0 / 64;
    second.y = ExactAxis(4);
    m.samples = {first, second};
    m.distinctSamples = 2;
    m.textureSampling = TextureSampling::OncePerPixel;
    SamplePosition centre;
    centre.x = ExactAxis(8);
    centre.y = ExactAxis(8);
    m.texturePositions = {centre};
    return measured;
}

MeasuredDevice TestDevice(const char* text) {
    D3DADAPTER_IDENTIFIER9 identifier = {};
    lstrcpyA(identifier.Description, "Test Adapter");
    identifier.DriverVersion.HighPart = (1 << 16) | 2;
    identifier.DriverVersion.LowPart = (3 << 16) | 4;
    MeasuredDevice device = Window();
    device.adapter = DescribeAdapter(0, identifier, D3DFMT_X8R8G8B8);
    device.deviceType = D3DDEVTYPE_HAL;
    device.adapterFormat = D3DFMT_X8R8G8B8;
    device.description = text;
    return device;
}

std::string ControlText(HWND dialog, int id) {
    char text[4096] = {};
    GetDlgItemTextA(dialog, id, text, sizeof(text));
    return text;
}

std::string ClipboardText() {
    std::string text;
    if (!OpenClipboard(nullptr)) return text;
    HANDLE data = GetClipboardData(CF_TEXT);
    if (const char* bytes = data ? static_cast<const char*>(GlobalLock(data)) : nullptr) {
        text = bytes;
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

void PutOnClipboard(const char* text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, lstrlenA(text) + 1);
    lstrcpyA(static_cast<char*>(GlobalLock(memory)), text);
    GlobalUnlock(memory);
    SetClipboardData(CF_TEXT, memory);
    CloseClipboard();
}

// The dialog as F3 makes it: the measurement's contents and its Positions page.
SampleDialogContents Contents(const ModeMeasurement& m) {
    SampleDialogContents contents = SamplePositionsContents(m, TestDevice(kDevice));
    contents.pages.push_back(MeasurementPages(m)[0]);
    return contents;
}

// The name field of the last file dialog shown, as it came up.
std::string suggestedName;

// Runs the dialog; act is called once it is up, with its window, and the dialog is closed with
// Close afterwards.
template <typename Act>
INT_PTR RunDialog(const SampleDialogContents& contents, const std::string& saveAs, Act act) {
    AnswerDialogs answer(saveAs);
    bool acted = false;
    suggestedName.clear();
    AnswerDialogs::onShown = [&] {
        HWND fileDialog = AnswerDialogs::shown;
        // The first time only: an answered dialog may be activated again.
        if (suggestedName.empty() && fileDialog != nullptr &&
            (GetDlgItem(fileDialog, edt1) || GetDlgItem(fileDialog, cmb13))) {
            suggestedName = ControlText(fileDialog, GetDlgItem(fileDialog, cmb13) ? cmb13 : edt1);
        }
        HWND dialog = FindWindowA(nullptr, "Sample Positions");
        if (acted || dialog == nullptr) return;
        acted = true;
        act(dialog);
        PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
    };
    const INT_PTR result = ShowSamplePositionsDialog(nullptr, contents, kCaption);
    EXPECT_TRUE(acted) << "the dialog never showed";
    return result;
}

class SamplePositionsDialog : public ::testing::Test {
protected:
    void SetUp() override { fake_platform::Reset(); }
    ScratchFolder folder;
};

TEST_F(SamplePositionsDialog, ShowsHeadingAndPositionsPageAndCopiesTheHeadingBeforeEveryPage) {
    const ModeMeasurement m = TwoSamples();
    const SampleDialogContents contents = Contents(m);
    PutOnClipboard("something else");
    std::string device, mode, verdict, page, copied;
    const INT_PTR result = RunDialog(contents, std::string(), [&](HWND dialog) {
        device = ControlText(dialog, IDC_SAMPLE_DEVICE);
        mode = ControlText(dialog, IDC_SAMPLE_MODE);
        verdict = ControlText(dialog, IDC_SAMPLE_VERDICT);
        page = ControlText(dialog, IDC_SAMPLE_PAGE_TEXT);
        SendMessageA(dialog, WM_COMMAND, IDC_SAMPLE_COPY, 0);
        copied = ClipboardText();
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(device, kDevice);
    EXPECT_EQ(mode, "D3DMULTISAMPLE_2_SAMPLES, quality 0, D3DFMT_X8R8G8B8; measured in a window at 512 x 384");
    EXPECT_EQ(verdict, "2 distinct samples: " + VerdictText(m.samplePositions));
    // The table aligned in columns, the interval of the edge sample in the measuring step.
    EXPECT_EQ(page, AlignedColumns(contents.pages[0].text));
    EXPECT_NE(page.find("\r\n1       1         [-1/64, 1/64)  4 "), std::string::npos) << page;
    EXPECT_NE(page.find("\r\nTexture sampling: " + TextureSamplingText(m.samplePositions) + ", in 1/16 pixel\r\n"), std::string::npos);
    // A pasted table says where it came from.
    EXPECT_EQ(copied.rfind(std::string(kDevice) + "\r\n" + mode + "\r\n" + verdict +
                               "\r\n\r\nPositions\r\n",
                           0),
              0u)
        << copied;
    for (const std::vector<std::string>& row : SampleTableFor(m).rows) {
        EXPECT_NE(copied.find(row[0] + "\t" + row[1] + "\t" + row[2] + "\t" + row[3]), std::string::npos) << row[0];
    }
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
}

TEST_F(SamplePositionsDialog, TabsSwitchPagesAndAPageWithoutPictureHidesIt) {
    SampleDialogContents contents = Contents(TwoSamples());
    contents.pages.push_back({"Second", "a\tbb\nccc\td\nplain", nullptr});
    std::vector<std::string> shown;
    std::vector<bool> pictures;
    RunDialog(contents, std::string(), [&](HWND dialog) {
        HWND tabs = GetDlgItem(dialog, IDC_SAMPLE_PAGES);
        EXPECT_EQ(SendMessageA(tabs, TCM_GETITEMCOUNT, 0, 0), 2);
        EXPECT_EQ(GetNextDlgTabItem(dialog, nullptr, FALSE), tabs) << "Left and Right go to the tabs";
        for (WPARAM key : {0, VK_RIGHT, VK_LEFT, VK_RIGHT}) {
            if (key != 0) SendMessageA(tabs, WM_KEYDOWN, key, 0);
            shown.push_back(ControlText(dialog, IDC_SAMPLE_PAGE_TEXT));
            // Its own style: the dialog itself is not shown yet.
            pictures.push_back((GetWindowLongA(GetDlgItem(dialog, IDC_SAMPLE_PICTURE), GWL_STYLE) & WS_VISIBLE) != 0);
        }
    });
    const std::string first = AlignedColumns(contents.pages[0].text);
    const std::string second = "a    bb\r\nccc  d\r\nplain\r\n";
    EXPECT_EQ(shown, (std::vector<std::string>{first, second, first, second}));
    EXPECT_EQ(pictures, (std::vector<bool>{true, false, true, false}));
}

TEST_F(SamplePositionsDialog, SaveSuggestsANameAndWritesTheJsonWithTheDefaultExtension) {
    const ModeMeasurement m = TwoSamples();
    RunDialog(Contents(m), folder.Path("positions"),
              [](HWND dialog) { SendMessageA(dialog, WM_COMMAND, IDC_SAMPLE_SAVE, 0); });
    EXPECT_EQ(suggestedName, "sample-positions-hal-x8r8g8b8-2-samples-q0.json");
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"positions.json"});
    const std::vector<BYTE> bytes = ReadFileBytes(folder.Path("positions.json"));
    const std::string text(bytes.begin(), bytes.end());
    EXPECT_EQ(text, SamplePositionsJsonText(m, TestDevice(kDevice)));
    const nlohmann::json saved = nlohmann::json::parse(text);
    EXPECT_EQ(saved["device"], kDevice);
    const nlohmann::json& samples = saved["measurement"]["samplePositions"]["samples"];
    ASSERT_EQ(samples.size(), 2u);
    EXPECT_EQ(samples[0]["x"]["sixteenths"], 12);
    EXPECT_EQ(samples[1]["maskBit"], 1);
    EXPECT_DOUBLE_EQ(samples[1]["x"]["low"].get<double>(), -1.0 / 64);
    EXPECT_TRUE(fake_platform::messageBoxes.empty());
}

TEST_F(SamplePositionsDialog, UnwritableFileIsKeptAndNamedInAWarningWithTheSystemsReason) {
    const std::string path = folder.Path("locked.json");
    ASSERT_TRUE(test_support::WriteFileBytes(path, {'o', 'l', 'd'}));
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    HWND shownOver = nullptr;
    RunDialog(Contents(TwoSamples()), path, [&](HWND dialog) {
        shownOver = dialog;
        SendMessageA(dialog, WM_COMMAND, IDC_SAMPLE_SAVE, 0);
    });
    ASSERT_EQ(fake_platform::messageBoxes.size(), 1u);
    const fake_platform::MessageBoxCall& box = fake_platform::messageBoxes[0];
    const std::string reason = SystemErrorText(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED));
    EXPECT_NE(reason.rfind("error 0x", 0), 0u) << "the system has words for it";
    EXPECT_EQ(box.text, "The sample positions could not be saved as\n" + path + "\n\n" + reason + ".");
    EXPECT_EQ(box.caption, kCaption);
    EXPECT_EQ(box.owner, shownOver);
    EXPECT_EQ(box.type, static_cast<UINT>(MB_ICONWARNING | MB_OK));
    EXPECT_EQ(ReadFileBytes(path), (std::vector<BYTE>{'o', 'l', 'd'}));
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"locked.json"});
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
}

TEST_F(SamplePositionsDialog, JsonTextCarriesTheDeviceAsUtf8AndEndsWithANewline) {
    // An ANSI adapter name with a character outside ASCII (code page 1252 here).
    const std::string text = SamplePositionsJsonText(TwoSamples(), TestDevice("HAL: Caf\xE9 Adapter"));
    ASSERT_FALSE(text.empty());
    EXPECT_EQ(text.back(), '\n');
    const nlohmann::json parsed = nlohmann::json::parse(text);
    EXPECT_EQ(parsed["device"], "HAL: Caf\xC3\xA9 Adapter");
    EXPECT_EQ(parsed["multisampleTypeValue"], 2);
}

TEST_F(SamplePositionsDialog, JsonTextNamesAdapterModeAndTimeWithTheSurveysKeys) {
    const nlohmann::json saved = nlohmann::json::parse(SamplePositionsJsonText(TwoSamples(), TestDevice(kDevice)));
    EXPECT_EQ(saved["schemaVersion"], 2);
    EXPECT_EQ(saved["adapter"]["description"], "Test Adapter");
    EXPECT_EQ(saved["adapter"]["driverVersion"], "1.2.3.4");
    EXPECT_EQ(saved["adapter"]["desktopFormat"], "D3DFMT_X8R8G8B8");
    EXPECT_EQ(saved["deviceType"], "D3DDEVTYPE_HAL");
    EXPECT_EQ(saved["backBufferFormat"], "D3DFMT_X8R8G8B8");
    EXPECT_EQ(saved["multisampleType"], "D3DMULTISAMPLE_2_SAMPLES");
    EXPECT_EQ(saved["multisampleQuality"], 0);
    EXPECT_DOUBLE_EQ(saved["timing"]["measurementMilliseconds"].get<double>(), 12.3);
    EXPECT_FALSE(saved.contains("milliseconds"));
    // The implementation in survey.json's block.
    MeasuredDevice device = TestDevice(kDevice);
    device.implementation.loaded = true;
    device.implementation.path = "Z:\\dxvk\\d3d9.dll";
    EXPECT_EQ(nlohmann::json::parse(SamplePositionsJsonText(TwoSamples(), device))["implementation"]["path"],
              "Z:\\dxvk\\d3d9.dll");
}

}  // namespace
