// The page's text lists each switch's verdict and its block row by row; the picture puts the
// switches side by side, each pixel of the block a cell holding one bar per sample, as tall as
// the alpha from which that sample is covered (empty: never), its value written above where
// there is room.
#include "viewer/alpha_to_coverage_page.h"

#include <algorithm>
#include <cstdio>
#include <string>

#include "viewer/gdi_drawing.h"

namespace {

constexpr COLORREF kBackground = RGB(255, 255, 255);
constexpr COLORREF kCellFill = RGB(246, 246, 246);
constexpr COLORREF kCellBorder = RGB(96, 96, 96);
constexpr COLORREF kTextColour = RGB(0, 0, 0);

std::string PixelText(const std::vector<int>& thresholds) {
    std::string text;
    for (size_t s = 0; s < thresholds.size(); ++s) {
        if (s > 0) text += "/";
        text += thresholds[s] == kNeverCovered ? std::string("-") : std::to_string(thresholds[s]);
    }
    return text;
}

void DrawCell(HDC dc, const RECT& cell, const std::vector<int>& thresholds) {
    FillRectangle(dc, cell, kCellFill);
    FrameRectangle(dc, cell, kCellBorder);
    const int samples = static_cast<int>(thresholds.size());
    if (samples == 0) return;
    const int width = cell.right - cell.left - 4;
    const int height = cell.bottom - cell.top - 4;
    // The bars fill the lower part; the values sit above when they fit.
    const bool numbers = samples <= 4 && width >= 4 * 24;
    const int textHeight = numbers ? std::max(10, height / 6) : 0;
    const int barBottom = cell.bottom - 2;
    const int barRoom = height - textHeight;
    HBRUSH bar = CreateSolidBrush(kThresholdBarColour);
    for (int s = 0; s < samples; ++s) {
        const int left = cell.left + 2 + width * s / samples;
        const int right = cell.left + 2 + width * (s + 1) / samples - 1;
        if (thresholds[s] != kNeverCovered) {
            const int top = barBottom - std::max(1, barRoom * (thresholds[s] + 1) / 256);
            const RECT rect = {left + 1, top, right, barBottom};
            FillRect(dc, &rect, bar);
        }
        if (numbers) {
            RECT box = {left, cell.top + 2, right + 1, cell.top + 2 + textHeight};
            const std::string value = thresholds[s] == kNeverCovered ? "-" : std::to_string(thresholds[s]);
            DrawTextA(dc, value.c_str(), -1, &box, DT_CENTER | DT_SINGLELINE | DT_NOCLIP);
        }
    }
    DeleteObject(bar);
}

void Paint(HDC dc, const RECT& area, const AlphaToCoverageMeasurement& m) {
    FillRectangle(dc, area, kBackground);
    const int panels = std::max<int>(1, static_cast<int>(m.switches.size()));
    const int width = area.right - area.left;
    const int height = area.bottom - area.top;
    const int gap = 8;
    const int panelWidth = (width - gap * (panels + 1)) / panels;
    HFONT font = CreateFontA(-std::max(10, std::min(14, panelWidth / 16)), 0, 0, 0, FW_NORMAL, FALSE, FALSE,
                             FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, "MS Shell Dlg");
    HGDIOBJ oldFont = SelectObject(dc, font);
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldColour = SetTextColor(dc, kTextColour);
    TEXTMETRICA metrics = {};
    GetTextMetricsA(dc, &metrics);
    const int line = metrics.tmHeight;
    for (int p = 0; p < static_cast<int>(m.switches.size()); ++p) {
        const AlphaToCoverageMap& map = m.switches[p];
        const int left = area.left + gap + p * (panelWidth + gap);
        RECT heading = {left, area.top + gap, left + panelWidth, area.top + gap + line};
        // What the caps say beside what was seen, where the file recorded them.
        const std::string name = std::string(CoverageSwitchName(map.coverageSwitch)) +
                                 (map.caps.answers.empty() ? std::string() : ": " + SwitchVerdictShortText(map.caps));
        DrawTextA(dc, name.c_str(), -1, &heading, DT_LEFT | DT_SINGLELINE | DT_END_ELLIPSIS);
        // The verdict in up to three lines under the name; its alpha values stand under the block.
        std::string verdictText = AlphaToCoverageVerdictText(map);
        const size_t alphas = verdictText.find(" (alpha ");
        if (alphas != std::string::npos) {
            const size_t close = verdictText.find(')', alphas);
            if (close != std::string::npos) verdictText.erase(alphas, close + 1 - alphas);
        }
        RECT verdict = {left, heading.bottom + 2, left + panelWidth, heading.bottom + 2 + 3 * line};
        DrawTextA(dc, verdictText.c_str(), -1, &verdict, DT_LEFT | DT_WORDBREAK);
        const int top = verdict.bottom + gap;
        // Under the block, the thresholds in numbers where the cells have no room for them.
        const int side = std::max<int>(4, std::min<int>(panelWidth, area.top + height - 2 * gap - 2 * line - top));
        RECT numbers = {left, top + side + 4, left + panelWidth, top + side + 4 + 2 * line};
        if (map.verdict == AlphaToCoverageVerdict::Thresholds) {
            DrawTextA(dc, ("every pixel: " + PixelText(map.thresholds[0][0])).c_str(), -1, &numbers, DT_LEFT | DT_WORDBREAK);
        } else if (map.verdict == AlphaToCoverageVerdict::NotApplied) {
            const std::string from = "every sample from alpha " + std::to_string(map.alphaTestReference);
            DrawTextA(dc, from.c_str(), -1, &numbers, DT_LEFT | DT_WORDBREAK);
        } else if (map.verdict == AlphaToCoverageVerdict::Dither) {
            std::string matrix = DitherMatrixText(map);
            DrawTextA(dc, matrix.c_str(), -1, &numbers, DT_LEFT);
        }
        const RECT block = {left, top, left + side, top + side};
        if (map.thresholds.empty()) {
            FillRectangle(dc, block, kNotOfferedColour);
            FrameRectangle(dc, block, kCellBorder);
            continue;
        }
        for (int y = 0; y < kCoverageBlock; ++y) {
            for (int x = 0; x < kCoverageBlock; ++x) {
                const RECT cell = {block.left + side * x / kCoverageBlock, block.top + side * y / kCoverageBlock,
                                   block.left + side * (x + 1) / kCoverageBlock + 1,
                                   block.top + side * (y + 1) / kCoverageBlock + 1};
                DrawCell(dc, cell, map.thresholds[y][x]);
            }
        }
    }
    SetTextColor(dc, oldColour);
    SetBkMode(dc, oldMode);
    SelectObject(dc, oldFont);
    DeleteObject(font);
}

}  // namespace

std::function<void(HDC, const RECT&)> AlphaToCoveragePicture(const ModeMeasurement& measurement) {
    const AlphaToCoverageMeasurement switches = measurement.alphaToCoverage;
    return [switches](HDC dc, const RECT& area) { Paint(dc, area, switches); };
}
