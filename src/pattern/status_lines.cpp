// The status lines: single-frame notice, frame number and statistics, device and pattern size,
// offsets and mask, and the colour legend with the supersample fix-up factors.
#include "pattern/status_lines.h"

#include <cstdio>

#include "font/text_font.h"
#include "pattern/point_size.h"

namespace {

constexpr float kLeft = 22.0f;
constexpr float kTop = 22.0f;
constexpr float kLineHeight = 12.0f;

struct OverlayColours {
    DWORD main;
    DWORD geometry;
    DWORD both;
    DWORD texture;
};

constexpr OverlayColours kOnWhite = {0xFF0000FF, 0xFFFF0000, 0xFF000000, 0xFF00FF00};
constexpr OverlayColours kOnBlack = {0xFFFFFF00, 0xFF00FFFF, 0xFFFFFFFF, 0xFFFF00FF};

class OverlayWriter {
public:
    OverlayWriter(const TextFont* font, OverlayText (&texts)[kMaxOverlayTexts])
        : font_(font), texts_(texts) {}

    // Formats into the next entry, cut to fit its buffer.
    template <typename... Args>
    OverlayText& Add(float x, float y, DWORD colour, const char* format, Args... args) {
        OverlayText& entry = texts_[count_++];
        entry.x = x;
        entry.y = y;
        entry.colour = colour;
        std::snprintf(entry.text, sizeof(entry.text), format, args...);
        return entry;
    }

    float Width(const char* text) const {
        SIZE size = {};
        if (font_ == nullptr || FAILED(font_->MeasureText(text, &size))) {
            return 0.0f;
        }
        return static_cast<float>(size.cx);
    }

    int Count() const { return count_; }

private:
    const TextFont* font_;
    OverlayText (&texts_)[kMaxOverlayTexts];
    int count_ = 0;
};

}  // namespace

int ComposeStatusLines(const PatternSettings& settings, const StatusHeader& header, const TextFont* font,
                       OverlayText (&texts)[kMaxOverlayTexts]) {
    const OverlayColours& colours = settings.whiteBackground ? kOnWhite : kOnBlack;
    OverlayWriter out(font, texts);
    float y = kTop;
    if (header.singleFrameNotice) {
        out.Add(kLeft, kTop, colours.main, "%s",
                "Single Frame Mode. Press ENTER to unpause or SPACE to repaint.");
        y += kLineHeight;
    }

    float x = kLeft;
    if (header.frameLabel != nullptr) {
        const OverlayText& frame = out.Add(kLeft, y, colours.main, "%s", header.frameLabel);
        x += out.Width(frame.text);
    }
    out.Add(x, y, colours.main, "%s", header.statistics);

    y += kLineHeight;
    out.Add(kLeft, y, colours.main, "%s:  %ix%i Grid size - 1/%i Point size",
            header.deviceDescription, settings.gridSize, settings.gridSize,
            PointSizeDenominator(settings.pointSize));

    // The texture offsets are shown negated, so that Left and Up raise both shown offsets.
    // Subtracting from zero keeps an offset of 0 from reading "-0.00000".
    y += kLineHeight;
    out.Add(kLeft, y, colours.main,
            "Geo offset (%.05f, %.05f) - Tex offset (%.05f, %.05f) - Mask %08X",
            static_cast<double>(settings.geometryOffsetX),
            static_cast<double>(settings.geometryOffsetY),
            static_cast<double>(0.0f - settings.textureOffsetX),
            static_cast<double>(0.0f - settings.textureOffsetY),
            static_cast<unsigned int>(settings.sampleMask));

    y += kLineHeight;
    x = kLeft;
    if (settings.drawMode != DrawModeTexture) {
        out.Add(x, y, colours.geometry, "%s", "Geometry");
        x += out.Width("Geometry ");
    }
    if (settings.drawMode == DrawModeBoth || settings.drawMode == DrawModeThreeSquare) {
        out.Add(x, y, colours.both, "%s", "Both");
        x += out.Width("Both ");
    }
    if (settings.drawMode != DrawModeGeometry) {
        out.Add(x, y, colours.texture, "%s", "Texture");
        x += out.Width("Texture ");
    }
    if (settings.supersampleFixupX != 2 || settings.supersampleFixupY != 2) {
        out.Add(x, y, colours.main, " OG Supersample Fixup: %.1fx%.1f ",
                settings.supersampleFixupX * 0.5, settings.supersampleFixupY * 0.5);
    }
    return out.Count();
}

void DrawStatusLines(TextFont* font, const OverlayText* texts, int count) {
    if (font == nullptr) {
        return;
    }
    for (int i = 0; i < count; ++i) {
        static_cast<void>(font->RenderText(texts[i].x, texts[i].y, texts[i].colour, texts[i].text, 0));
    }
}
