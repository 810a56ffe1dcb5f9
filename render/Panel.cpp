#include "render/Panel.h"

#include <cstdio>
#include <ctime>
#include <utility>

const char *const WebAddress = "www.vornel.com";

namespace {
// Font heights at Scale 1, weights and underlining, by TPanelFont.
struct TFontRow {
    int32_t BaseHeight;
    int32_t Weight;
    bool Underline;
};
const TFontRow FontRows[] = {
    {24, 400, true},  // Link
    {45, 700, false}, // Logo
    {24, 400, false}, // Label
    {24, 400, false}, // Best
    {32, 400, false}, // Value
};

constexpr int32_t FrameWidth = 2; // the sunken frame's bands, and the fill's margin

const char *const LogoWords[3] = {"Vornel", "Stakko", "Cup"};

TRect Grown(const TRect &r, int32_t by) {
    return TRect{r.Left - by, r.Top - by, r.Right + by, r.Bottom + by};
}

std::string Formatted(const char *format, int32_t a) {
    char text[16];
    std::snprintf(text, sizeof text, format, a);
    return text;
}

// A text set at the top of a band that spans the left column, from the
// client's left edge to the glass area.
TPanelText LeftColumnText(const TPanelView &view, std::string text, TPanelFont font,
                          TColourIndex colour, int32_t top, int32_t bottom) {
    TRect band{view.Client.Left, top, view.Layout.GlassArea.Left, bottom};
    return TPanelText{std::move(text), font, colour, TTextAlign::Centre, band};
}

// A label half a box unit above its box.
TPanelText Label(const TPanelView &view, const char *text, const TRect &box) {
    int32_t top = box.Top - view.Layout.BoxUnit / 2;
    return TPanelText{text, TPanelFont::Label, LogoColour, TTextAlign::Left,
                      TRect{box.Left, top, box.Left, top}};
}

TPanelText ValueText(const TPanelView &view, std::string text, const TRect &box) {
    return TPanelText{std::move(text), TPanelFont::Value, ValueColour, TTextAlign::Centre,
                      ValueTextRect(box, view.Layout.Scale)};
}

bool LocalTime(int64_t now, std::tm &local) {
    std::time_t t = static_cast<std::time_t>(now);
#ifdef _WIN32
    return localtime_s(&local, &t) == 0;
#else
    return localtime_r(&t, &local) != nullptr;
#endif
}
} // namespace

TFont PanelFont(TPanelFont role, double scale) {
    const TFontRow &row = FontRows[static_cast<int>(role)];
    TFont font;
    font.Role = role;
    font.Height = static_cast<int32_t>(row.BaseHeight * scale);
    font.Width = font.Height / 2;
    font.Weight = row.Weight;
    font.Underline = row.Underline;
    return font;
}

std::array<TPanelFill, 3> PanelFills(const TRect &box) {
    const TRect r = Grown(box, FrameWidth);
    const int32_t f = FrameWidth;
    TPanelFill fill{BackColour, {r, TRect{}}, 1};
    TPanelFill shadow{ShadowColour,
                      {TRect{r.Left - f, r.Top - f, r.Right + f, r.Top},    // top
                       TRect{r.Left - f, r.Top - f, r.Left, r.Bottom + f}}, // left
                      2};
    TPanelFill light{LightColour,
                     {TRect{r.Right, r.Top, r.Right + f, r.Bottom + f},    // right
                      TRect{r.Left, r.Bottom, r.Right + f, r.Bottom + f}}, // bottom
                     2};
    return {fill, shadow, light};
}

TRect PanelDirtyRect(const TRect &box) {
    return Grown(box, FrameWidth);
}

TRect GlassPanelBox(const TRect &glassArea) {
    return TRect{glassArea.Left, glassArea.Top, glassArea.Right + 1, glassArea.Bottom + 1};
}

TPanelDrawing HeaderDrawing(const TPanelView &view) {
    TPanelDrawing drawing;
    if (!view.SaverMode || !view.ShowInfo)
        return drawing;
    const TLayout &l = view.Layout;
    const int32_t line = l.LineUnit;
    drawing.Texts.push_back(LeftColumnText(view, WebAddress, TPanelFont::Link, LinkColour,
                                           l.BestBox.Bottom + line, l.BestBox.Bottom + 2 * line));
    // Three bands of two lines each, ending at the best-score box.
    for (int word = 0; word < 3; ++word) {
        int32_t top = l.BestBox.Top - (6 - 2 * word) * line;
        drawing.Texts.push_back(LeftColumnText(view, LogoWords[word], TPanelFont::Logo, LogoColour,
                                               top, top + 2 * line));
    }
    drawing.Texts.push_back(Label(view, "Score:", l.ScoreBox));
    drawing.Texts.push_back(Label(view, "Lines:", l.LinesBox));
    drawing.Texts.push_back(Label(view, "Time:", l.TimeBox));
    return drawing;
}

TRect ValueTextRect(const TRect &box, double scale) {
    const int32_t height = PanelFont(TPanelFont::Value, scale).Height;
    const int32_t top = (box.Top + box.Bottom) / 2 - height / 2;
    return TRect{box.Left, top, box.Right, top + height};
}

TPanelDrawing NumberDrawing(const TPanelView &view, int32_t value, const TRect &box) {
    TPanelDrawing drawing;
    if (!view.ShowInfo)
        return drawing;
    drawing.Panels.push_back(box);
    if (view.SaverMode)
        drawing.Texts.push_back(ValueText(view, Formatted("%d", value), box));
    return drawing;
}

TPanelDrawing BestScoresDrawing(const TPanelView &view, int32_t score1, int32_t score2,
                                int32_t score3) {
    TPanelDrawing drawing;
    if (!view.ShowInfo)
        return drawing;
    const TRect &box = view.Layout.BestBox;
    drawing.Panels.push_back(box);
    if (!view.SaverMode)
        return drawing;
    const int32_t scores[3] = {score1, score2, score3};
    for (int32_t i = 0; i < 3; ++i) {
        char text[32];
        std::snprintf(text, sizeof text, " %d. %d", i + 1, scores[i]);
        int32_t top = box.Top + i * view.Layout.LineUnit;
        drawing.Texts.push_back(TPanelText{text, TPanelFont::Best, ValueColour, TTextAlign::Left,
                                           TRect{box.Left, top, box.Left, top}});
    }
    return drawing;
}

TPanelDrawing TimeDrawing(const TPanelView &view, const std::string &text) {
    TPanelDrawing drawing;
    if (!view.ShowInfo)
        return drawing;
    drawing.Panels.push_back(view.Layout.TimeBox);
    if (view.SaverMode)
        drawing.Texts.push_back(ValueText(view, text, view.Layout.TimeBox));
    return drawing;
}

TPanelDrawing GlassPanelDrawing(const TPanelView &view) {
    TPanelDrawing drawing;
    drawing.Panels.push_back(GlassPanelBox(view.Layout.GlassArea));
    return drawing;
}

std::string ElapsedText(int64_t seconds) {
    // Each part goes through the unsigned format as a 32-bit number, so a
    // negative difference shows as large numbers rather than a minus sign.
    const auto hours = static_cast<uint32_t>(seconds / 3600);
    const auto minutes = static_cast<uint32_t>((seconds / 60) % 60);
    const auto secs = static_cast<uint32_t>(seconds % 60);
    char text[40];
    std::snprintf(text, sizeof text, "%02u:%02u:%02u", hours, minutes, secs);
    return text;
}

std::string ClockText(TClockKind kind, int64_t now, int64_t startTime, int64_t gameStartTime) {
    if (kind == TClockKind::TimeOfDay) {
        std::tm local{};
        if (!LocalTime(now, local))
            return std::string();
        char text[40];
        std::snprintf(text, sizeof text, "%02u:%02u:%02u", static_cast<unsigned>(local.tm_hour),
                      static_cast<unsigned>(local.tm_min), static_cast<unsigned>(local.tm_sec));
        return text;
    }
    if (kind == TClockKind::RunTime)
        return ElapsedText(now - startTime);
    return ElapsedText(now - gameStartTime);
}
