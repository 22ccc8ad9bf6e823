// The status lines: their texts for the defaults and after the keys that change them, their
// colours on either background, the legend per mode, the fix-up text, the single-frame notice,
// and the process-wide frame number.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "font/text_font.h"
#include "resources/resource_ids.h"
#include "viewer/status_overlay.h"
#include "viewer/viewer_commands.h"
#include "viewer/viewer_fixture.h"

namespace {

using viewer_tests::ViewerFixture;

struct Line {
    float x;
    float y;
    DWORD colour;
    std::string text;
    bool operator==(const Line& o) const {
        return x == o.x && y == o.y && colour == o.colour && text == o.text;
    }
};

void PrintTo(const Line& line, std::ostream* out) {
    *out << "(" << line.x << ", " << line.y << ", " << std::hex << line.colour << std::dec
         << ", \"" << line.text << "\")";
}

class StatusOverlay : public ViewerFixture {
protected:
    void SetUp() override {
        ViewerFixture::SetUp();
        // A font whose every glyph is 6 pixels wide (8 texels less 1 of spacing on each side)
        // and 12 high, so that the measured positions are easy to follow.
        TextFont& font = *app->textFont;
        font.textureWidth = font.textureHeight = 256;
        font.textScale = 1.0f;
        font.glyphSpacing = 1;
        for (auto& cell : font.glyphCoords) {
            cell[0] = 0.0f;
            cell[1] = 0.0f;
            cell[2] = 8.0f / 256.0f;
            cell[3] = 12.0f / 256.0f;
        }
        std::strcpy(app->deviceDescription, "HAL (hw vp): Wine llvmpipe");
        std::strcpy(app->frameStatistics, "60.00 fps (512x384), X8R8G8B8");
    }

    std::vector<Line> Compose(int frame = 0) {
        OverlayText texts[kMaxOverlayTexts];
        const int count = ComposeStatusOverlay(*app, frame, texts);
        std::vector<Line> lines;
        for (int i = 0; i < count; ++i) {
            lines.push_back({texts[i].x, texts[i].y, texts[i].colour, texts[i].text});
        }
        return lines;
    }

    std::string TextAt(size_t index) { return Compose().at(index).text; }

    void Send(WORD command) { ASSERT_TRUE(HandleViewerCommand(*app, command)); }
};

constexpr DWORD kBlue = 0xFF0000FF, kRed = 0xFFFF0000, kBlack = 0xFF000000, kGreen = 0xFF00FF00;

TEST_F(StatusOverlay, DefaultsShowEveryLineInItsPlace) {
    const std::vector<Line> expected = {
        {22, 22, kBlue, "Frame 0: "},
        {22 + 9 * 6, 22, kBlue, "60.00 fps (512x384), X8R8G8B8"},
        {22, 34, kBlue, "HAL (hw vp): Wine llvmpipe:  64x64 Grid size - 1/8 Point size"},
        {22, 46, kBlue,
         "Geo offset (0.00000, 0.00000) - Tex offset (0.00000, 0.00000) - Mask FFFFFFFF"},
        {22, 58, kRed, "Geometry"},
        {22 + 9 * 6, 58, kBlack, "Both"},
        {22 + 14 * 6, 58, kGreen, "Texture"},
    };
    EXPECT_EQ(expected, Compose());
}

TEST_F(StatusOverlay, TextureOffsetsAreShownNegated) {
    Send(IDM_TEXTURE_OFFSET_LEFT);
    EXPECT_EQ("Geo offset (0.00000, 0.00000) - Tex offset (0.03125, 0.00000) - Mask FFFFFFFF",
              TextAt(3));
    Send(IDM_TEXTURE_OFFSET_RIGHT);
    Send(IDM_TEXTURE_OFFSET_RIGHT);
    Send(IDM_TEXTURE_OFFSET_UP);
    Send(IDM_GEOMETRY_OFFSET_RIGHT);
    Send(IDM_GEOMETRY_OFFSET_UP);
    app->sampleMask = 0x0000A05F;
    EXPECT_EQ("Geo offset (-0.03125, 0.03125) - Tex offset (-0.03125, 0.03125) - Mask 0000A05F",
              TextAt(3));
}

TEST_F(StatusOverlay, PointSizeShowsTheMenuDenominator) {
    const struct {
        WORD command;
        const char* tail;
    } cases[] = {{IDM_POINT_SIZE_12, "64x64 Grid size - 1/12 Point size"},
                 {IDM_POINT_SIZE_24, "64x64 Grid size - 1/24 Point size"},
                 {IDM_POINT_SIZE_64, "64x64 Grid size - 1/64 Point size"}};
    for (const auto& c : cases) {
        Send(c.command);
        EXPECT_EQ(std::string("HAL (hw vp): Wine llvmpipe:  ") + c.tail, TextAt(2));
    }
    Send(IDM_GRID_96);
    EXPECT_EQ("HAL (hw vp): Wine llvmpipe:  96x96 Grid size - 1/64 Point size", TextAt(2));
}

TEST_F(StatusOverlay, FixupTextFollowsTheLegendUntilBothFactorsAreBackAtTwo) {
    Send(IDM_FIXUP_X_UP);
    std::vector<Line> lines = Compose();
    ASSERT_EQ(8u, lines.size());
    EXPECT_EQ((Line{22 + 22 * 6, 58, kBlue, " OG Supersample Fixup: 1.5x1.0 "}), lines.back());

    Send(IDM_FIXUP_Y_UP);
    Send(IDM_FIXUP_Y_UP);
    EXPECT_EQ(" OG Supersample Fixup: 1.5x2.0 ", Compose().back().text);

    Send(IDM_FIXUP_X_DOWN);
    Send(IDM_FIXUP_Y_DOWN);
    Send(IDM_FIXUP_Y_DOWN);
    EXPECT_EQ(7u, Compose().size());
}

TEST_F(StatusOverlay, LegendNamesWhatTheModeDraws) {
    app->supersampleFixupY = 3;  // the fix-up text shows where the legend ends
    const struct {
        int mode;
        std::vector<std::string> words;
        float end;
    } cases[] = {
        {DrawModeGeometry, {"Geometry"}, 22 + 9 * 6},
        {DrawModeTexture, {"Texture"}, 22 + 8 * 6},
        {DrawModeBoth, {"Geometry", "Both", "Texture"}, 22 + 22 * 6},
        {DrawModeThreeSquare, {"Geometry", "Both", "Texture"}, 22 + 22 * 6},
    };
    for (const auto& c : cases) {
        app->drawMode = c.mode;
        const std::vector<Line> lines = Compose();
        ASSERT_EQ(4 + c.words.size() + 1, lines.size()) << c.mode;
        for (size_t w = 0; w < c.words.size(); ++w) {
            EXPECT_EQ(c.words[w], lines[4 + w].text) << c.mode;
            EXPECT_EQ(58.0f, lines[4 + w].y) << c.mode;
        }
        EXPECT_EQ(22.0f, lines[4].x) << c.mode;
        EXPECT_EQ(c.end, lines.back().x) << c.mode;
    }
}

TEST_F(StatusOverlay, BlackBackgroundUsesTheLightColours) {
    app->whiteBackground = FALSE;
    const std::vector<Line> lines = Compose();
    EXPECT_EQ(0xFFFFFF00u, lines[0].colour);
    EXPECT_EQ(0xFFFFFF00u, lines[3].colour);
    EXPECT_EQ(0xFF00FFFFu, lines[4].colour);
    EXPECT_EQ(0xFFFFFFFFu, lines[5].colour);
    EXPECT_EQ(0xFFFF00FFu, lines[6].colour);
}

TEST_F(StatusOverlay, SingleFrameNoticeComesFirstAndMovesTheRestDown) {
    app->updateContinuously = false;
    const std::vector<Line> lines = Compose(41);
    ASSERT_EQ(8u, lines.size());
    EXPECT_EQ((Line{22, 22, kBlue, "Single Frame Mode. Press ENTER to unpause or SPACE to repaint."}),
              lines[0]);
    EXPECT_EQ((Line{22, 34, kBlue, "Frame 41: "}), lines[1]);
    EXPECT_EQ(22.0f + 10 * 6, lines[2].x);
    EXPECT_EQ(34.0f, lines[2].y);
    EXPECT_EQ(46.0f, lines[3].y);
    EXPECT_EQ(58.0f, lines[4].y);
    EXPECT_EQ(70.0f, lines[5].y);
    EXPECT_EQ(70.0f, lines[7].y);
}

TEST_F(StatusOverlay, FrameNumberCountsDrawnOverlaysAcrossResets) {
    CreateAndRestore();
    frameCounter = 0;
    ASSERT_EQ(S_OK, app->RenderFrame());
    EXPECT_EQ(1, frameCounter);
    EXPECT_EQ("Frame 1: ", Compose(frameCounter)[0].text);
    // A device reset does not start the count again.
    app->ReleaseDeviceResources();
    app->RestoreDeviceResources();
    ASSERT_EQ(S_OK, app->RenderFrame());
    EXPECT_EQ(2, frameCounter);
    // The same frame drawn once more (to show it again) is not a new one.
    app->repeatingFrame = true;
    ASSERT_EQ(S_OK, app->RenderFrame());
    app->repeatingFrame = false;
    EXPECT_EQ(2, frameCounter);
    // Without a font the overlay is left out, but the frame still counts.
    app->ReleaseDeviceResources();
    app->DestroyDeviceResources();
    app->CleanupScene();
    EXPECT_EQ(S_OK, app->DrawStatusOverlay());
    EXPECT_EQ(3, frameCounter);
}

TEST_F(StatusOverlay, OverlayIsDrawnThroughTheFont) {
    CreateAndRestore();
    device->ClearCalls();
    ASSERT_EQ(S_OK, app->DrawStatusOverlay());
    // The font brackets each text with its state blocks: seven texts at the defaults.
    EXPECT_EQ(7, device->CountCalls("StateBlock.Capture"));
}

}  // namespace
