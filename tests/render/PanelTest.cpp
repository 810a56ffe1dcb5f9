#include <gtest/gtest.h>

#include <cstdio>

#include "render/Panel.h"

namespace {
const TRect ScoreBox{792, 209, 942, 259};
TPanelView View() {
    return TPanelView{{0, 0, 1024, 768}, ComputeLayout({0, 0, 1024, 768}), true, true};
}

std::string Box(const TRect &r) {
    char text[48];
    std::snprintf(text, sizeof text, "[%d,%d,%d,%d]", r.Left, r.Top, r.Right, r.Bottom);
    return text;
}

// The panels, then each text as "text[rect]/font/colour/place;" (enum numbers).
std::string Describe(const TPanelDrawing &d) {
    std::string out;
    char item[32];
    for (const TRect &r : d.Panels)
        out += Box(r);
    for (const TPanelText &t : d.Texts) {
        std::snprintf(item, sizeof item, "/%d/%d/%d", int(t.Font), int(t.Colour), int(t.Align));
        out += t.Text + Box(t.Rect) + item + ";";
    }
    return out;
}

// Colour index and rectangle of each fill, in drawing order.
std::string Frame(const TRect &box) {
    std::string out;
    for (const TPanelFill &fill : PanelFills(box))
        for (int32_t i = 0; i < fill.Count; ++i)
            out += std::to_string(fill.Colour) + Box(fill.Rects[i]);
    return out;
}
} // namespace

TEST(Panel, FramesOfTheWorkedExample) {
    // Fill (0), dark top and left bands (4), light right and bottom bands (5).
    EXPECT_EQ(Frame(ScoreBox), "0[790,207,944,261]4[788,205,946,207]4[788,205,790,263]"
                               "5[944,207,946,263]5[790,261,946,263]");
    EXPECT_EQ(PanelDirtyRect(ScoreBox), (TRect{790, 207, 944, 261}));
    EXPECT_EQ(Frame(GlassPanelDrawing(View()).Panels.at(0)),
              "0[310,36,714,733]4[308,34,716,36]4[308,34,310,735]5[714,36,716,735]"
              "5[310,733,716,735]");
}

TEST(Panel, TextsOfTheWorkedExample) {
    // Fonts: 0 link, 1 logo, 2 label, 3 best, 4 value. Colours: 1 logo, 2 link,
    // 3 value. Alignment: 0 left, at the top-left corner; 1 centred.
    EXPECT_EQ(Describe(HeaderDrawing(View())),
              "www.vornel.com[0,459,312,489]/0/2/1;Vornel[0,159,312,219]/1/1/1;"
              "Stakko[0,219,312,279]/1/1/1;Cup[0,279,312,339]/1/1/1;Score:[792,184,792,184]/2/1/0;"
              "Lines:[792,334,792,334]/2/1/0;Time:[792,484,792,484]/2/1/0;");
    EXPECT_EQ(Describe(BestScoresDrawing(View(), 30, 20, 10)),
              "[56,339,256,429] 1. 30[56,339,56,339]/3/3/0; 2. 20[56,369,56,369]/3/3/0;"
              " 3. 10[56,399,56,399]/3/3/0;");
    EXPECT_EQ(Describe(NumberDrawing(View(), -5, ScoreBox)),
              "[792,209,942,259]-5[792,218,942,250]/4/3/1;");
    EXPECT_EQ(Describe(TimeDrawing(View(), "01:02:05")),
              "[792,509,942,559]01:02:05[792,518,942,550]/4/3/1;");
}

// Heights 24, 45, 24, 24 and 32 at Scale 1, half as wide; the logo bold,
// the web address underlined.
TEST(Panel, FontsOfTheWorkedExample) {
    std::string fonts;
    for (TPanelFont font : {TPanelFont::Link, TPanelFont::Logo, TPanelFont::Label, TPanelFont::Best,
                            TPanelFont::Value}) {
        const TFont f = PanelFont(font, 1.0);
        fonts += std::to_string(f.Height) + "x" + std::to_string(f.Width) + "/" +
                 std::to_string(f.Weight) + (f.Underline ? "u" : "") + (f.FixedPitch ? " " : "p ");
        EXPECT_EQ(f.Role, font);
    }
    EXPECT_EQ(fonts, "24x12/400u 45x22/700 24x12/400 24x12/400 32x16/400 ");
    EXPECT_EQ(PanelFont(TPanelFont::Value, 0.625).Height, 20);
}

TEST(Panel, TimeTexts) {
    const int64_t now = 1000000, start = now - 3725, gameStart = now - 360000;
    EXPECT_EQ(ClockText(TClockKind::RunTime, now, start, gameStart), "01:02:05");
    EXPECT_EQ(ClockText(TClockKind::GameTime, now, start, gameStart), "100:00:00");
    EXPECT_EQ(ElapsedText(-5), "00:00:4294967291"); // through the unsigned format
}
