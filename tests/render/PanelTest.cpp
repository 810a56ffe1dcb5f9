#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ctime>

#include "render/Panel.h"
#include "saver/Settings.h"

namespace {
// The layout of a 1024 x 768 client area, as the layout computes it.
TLayout Layout1024() {
    TLayout l;
    l.Scale = 1.0;
    l.BoxUnit = 50;
    l.LineUnit = 30;
    l.GlassArea = {312, 38, 711, 730};
    l.ScoreBox = {792, 209, 942, 259};
    l.LinesBox = {792, 359, 942, 409};
    l.TimeBox = {792, 509, 942, 559};
    l.BestBox = {56, 339, 256, 429};
    return l;
}

TLayout Layout640() {
    TLayout l;
    l.Scale = 0.625;
    l.BoxUnit = 31;
    l.LineUnit = 18;
    l.GlassArea = {195, 24, 444, 456};
    l.ScoreBox = {495, 132, 588, 163};
    l.LinesBox = {495, 225, 588, 255};
    l.TimeBox = {495, 318, 588, 349};
    l.BestBox = {34, 213, 159, 267};
    return l;
}

TPanelView View(bool saver = true, bool showInfo = true) {
    return TPanelView{TRect{0, 0, 1024, 768}, Layout1024(), saver, showInfo};
}

const TPanelText *FindText(const TPanelDrawing &d, const std::string &text) {
    for (const TPanelText &t : d.Texts)
        if (t.Text == text)
            return &t;
    return nullptr;
}

std::vector<std::string> Texts(const TPanelDrawing &d) {
    std::vector<std::string> texts;
    for (const TPanelText &t : d.Texts)
        texts.push_back(t.Text);
    return texts;
}

TRect At(int32_t x, int32_t y) {
    return TRect{x, y, x, y};
}
} // namespace

TEST(PanelFonts, HeightsWidthsAndWeightsAtFullScale) {
    struct Row {
        TPanelFont Font;
        int32_t Height, Width, Weight;
        bool Underline;
    };
    const Row rows[] = {{TPanelFont::Link, 24, 12, 400, true},
                        {TPanelFont::Logo, 45, 22, 700, false},
                        {TPanelFont::Label, 24, 12, 400, false},
                        {TPanelFont::Best, 24, 12, 400, false},
                        {TPanelFont::Value, 32, 16, 400, false}};
    for (const Row &row : rows) {
        TFontSize f = PanelFontSize(row.Font, 1.0);
        SCOPED_TRACE(static_cast<int>(row.Font));
        EXPECT_EQ(f.Height, row.Height);
        EXPECT_EQ(f.Width, row.Width);
        EXPECT_EQ(f.Weight, row.Weight);
        EXPECT_EQ(f.Underline, row.Underline);
        EXPECT_STREQ(f.Face, "Arial");
        EXPECT_EQ(f.PitchAndFamily, 49);
        EXPECT_EQ(f.CharSet, 0);
        EXPECT_FALSE(f.Italic);
        EXPECT_FALSE(f.StrikeOut);
        EXPECT_EQ(f.Escapement, 0);
        EXPECT_EQ(f.Orientation, 0);
    }
}

TEST(PanelFonts, ScaleTruncatesHeightThenHalvesIt) {
    // 45 x 0.625 = 28.125 and 32 x 0.148... = 4.75: both truncate.
    EXPECT_EQ(PanelFontSize(TPanelFont::Logo, 0.625).Height, 28);
    EXPECT_EQ(PanelFontSize(TPanelFont::Logo, 0.625).Width, 14);
    EXPECT_EQ(PanelFontSize(TPanelFont::Value, 152.0 / 1024).Height, 4);
    EXPECT_EQ(PanelFontSize(TPanelFont::Link, 800.0 / 1024).Height, 18);
    EXPECT_EQ(PanelFontSize(TPanelFont::Logo, 800.0 / 1024).Width, 17); // 35 div 2
}

TEST(PanelFrame, FillThenDarkThenLightBands) {
    auto fills = PanelFills(TRect{792, 209, 942, 259});
    EXPECT_EQ(fills[0].Colour, BackColour);
    ASSERT_EQ(fills[0].Count, 1);
    EXPECT_EQ(fills[0].Rects[0], (TRect{790, 207, 944, 261}));
    EXPECT_EQ(fills[1].Colour, ShadowColour);
    ASSERT_EQ(fills[1].Count, 2);
    EXPECT_EQ(fills[1].Rects[0], (TRect{788, 205, 946, 207})); // top
    EXPECT_EQ(fills[1].Rects[1], (TRect{788, 205, 790, 263})); // left
    EXPECT_EQ(fills[2].Colour, LightColour);
    ASSERT_EQ(fills[2].Count, 2);
    EXPECT_EQ(fills[2].Rects[0], (TRect{944, 207, 946, 263})); // right
    EXPECT_EQ(fills[2].Rects[1], (TRect{790, 261, 946, 263})); // bottom
    EXPECT_EQ(PanelDirtyRect(TRect{792, 209, 942, 259}), (TRect{790, 207, 944, 261}));
}

TEST(PanelFrame, GlassPanelFillsAndFrameReachOfTheWorkedExample) {
    TPanelDrawing d = GlassPanelDrawing(View());
    ASSERT_EQ(d.Panels.size(), 1u);
    auto fills = PanelFills(d.Panels[0]);
    EXPECT_EQ(fills[0].Rects[0], (TRect{310, 36, 714, 733}));
    TRect reach;
    for (const TPanelFill &fill : fills)
        for (int32_t i = 0; i < fill.Count; ++i)
            reach = UniteRects(reach, fill.Rects[i]);
    EXPECT_EQ(reach, (TRect{308, 34, 716, 735}));
    EXPECT_TRUE(d.Texts.empty());
}

TEST(PanelHeader, LogoWebAddressAndLabelsOfTheWorkedExample) {
    TPanelDrawing d = HeaderDrawing(View());
    EXPECT_TRUE(d.Panels.empty());
    ASSERT_EQ(Texts(d), (std::vector<std::string>{"www.vornel.com", "Vornel", "Stakko", "Cup",
                                                  "Score:", "Lines:", "Time:"}));
    EXPECT_EQ(std::strlen(WebAddress), 14u);

    const TPanelText &link = d.Texts[0];
    EXPECT_EQ(link.Rect, (TRect{0, 459, 312, 489}));
    EXPECT_EQ(link.Font, TPanelFont::Link);
    EXPECT_EQ(link.Colour, LinkColour);
    EXPECT_EQ(link.Place, TTextPlace::TopOfBand);

    const TRect bands[3] = {{0, 159, 312, 219}, {0, 219, 312, 279}, {0, 279, 312, 339}};
    for (int i = 0; i < 3; ++i) {
        const TPanelText &word = d.Texts[1 + i];
        EXPECT_EQ(word.Rect, bands[i]) << word.Text;
        EXPECT_EQ(word.Font, TPanelFont::Logo);
        EXPECT_EQ(word.Colour, LogoColour);
        EXPECT_EQ(word.Place, TTextPlace::TopOfBand);
    }

    const TRect labels[3] = {At(792, 184), At(792, 334), At(792, 484)};
    for (int i = 0; i < 3; ++i) {
        const TPanelText &label = d.Texts[4 + i];
        EXPECT_EQ(label.Rect, labels[i]) << label.Text;
        EXPECT_EQ(label.Font, TPanelFont::Label);
        EXPECT_EQ(label.Colour, LogoColour);
        EXPECT_EQ(label.Place, TTextPlace::TopLeftAt);
    }
}

TEST(PanelHeader, LeftColumnStartsAtTheClientsLeftEdge) {
    // A client rectangle that does not start at 0 moves the bands with it.
    TPanelView view = View();
    view.Client = TRect{20, 0, 1044, 768};
    TPanelDrawing header = HeaderDrawing(view);
    const TPanelText *cup = FindText(header, "Cup");
    ASSERT_NE(cup, nullptr);
    EXPECT_EQ(cup->Rect, (TRect{20, 279, 312, 339}));
}

TEST(PanelNumber, ScoreTextRectAndFormat) {
    TPanelDrawing d = NumberDrawing(View(), 1234, Layout1024().ScoreBox);
    ASSERT_EQ(d.Panels.size(), 1u);
    EXPECT_EQ(d.Panels[0], (TRect{792, 209, 942, 259}));
    ASSERT_EQ(d.Texts.size(), 1u);
    EXPECT_EQ(d.Texts[0].Text, "1234");
    EXPECT_EQ(d.Texts[0].Rect, (TRect{792, 218, 942, 250}));
    EXPECT_EQ(d.Texts[0].Place, TTextPlace::CentredInBox);
    EXPECT_EQ(d.Texts[0].Font, TPanelFont::Value);
    EXPECT_EQ(d.Texts[0].Colour, ValueColour);

    EXPECT_EQ(NumberDrawing(View(), -5, Layout1024().ScoreBox).Texts.at(0).Text, "-5");
    EXPECT_EQ(NumberDrawing(View(), INT32_MIN, Layout1024().ScoreBox).Texts.at(0).Text,
              "-2147483648");
}

TEST(PanelNumber, TextRectIsOneFontHighAndCentredOnOddBoxes) {
    // 640 wide: value font 20 high; the lines box 225..255 centres on 240.
    EXPECT_EQ(ValueTextRect(Layout640().LinesBox, 0.625), (TRect{495, 230, 588, 250}));
    // An odd font height: 32 x 0.78125 = 25; box 164..203 centres on 183.
    EXPECT_EQ(ValueTextRect(TRect{618, 164, 735, 203}, 0.78125), (TRect{618, 171, 735, 196}));
}

TEST(PanelBestScores, SortsDescendingInPlaceAndKeepsEqualOnesInPlace) {
    TSettings s;
    s.Score1 = 10;
    s.Score2 = 30;
    s.Score3 = 20;
    SortBestScores(s);
    EXPECT_EQ((std::vector<int32_t>{s.Score1, s.Score2, s.Score3}),
              (std::vector<int32_t>{30, 20, 10}));

    // Every order of three distinct scores comes out descending, and signed.
    std::vector<int32_t> scores = {-7, 0, 40};
    do {
        s.Score1 = scores[0];
        s.Score2 = scores[1];
        s.Score3 = scores[2];
        SortBestScores(s);
        EXPECT_EQ((std::vector<int32_t>{s.Score1, s.Score2, s.Score3}),
                  (std::vector<int32_t>{40, 0, -7}));
    } while (std::next_permutation(scores.begin(), scores.end()));

    s.Score1 = 5;
    s.Score2 = 5;
    s.Score3 = 5;
    SortBestScores(s);
    EXPECT_EQ((std::vector<int32_t>{s.Score1, s.Score2, s.Score3}),
              (std::vector<int32_t>{5, 5, 5}));
}

TEST(PanelBestScores, LinesAndTheirPositionsOfTheWorkedExample) {
    TPanelDrawing d = BestScoresDrawing(View(), 30, 20, 10);
    ASSERT_EQ(d.Panels.size(), 1u);
    EXPECT_EQ(d.Panels[0], (TRect{56, 339, 256, 429}));
    ASSERT_EQ(Texts(d), (std::vector<std::string>{" 1. 30", " 2. 20", " 3. 10"}));
    const TRect places[3] = {At(56, 339), At(56, 369), At(56, 399)};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(d.Texts[i].Rect, places[i]);
        EXPECT_EQ(d.Texts[i].Place, TTextPlace::TopLeftAt);
        EXPECT_EQ(d.Texts[i].Font, TPanelFont::Best);
        EXPECT_EQ(d.Texts[i].Colour, ValueColour);
    }
}

TEST(PanelTime, ElapsedTimesGrowPastADay) {
    EXPECT_EQ(ElapsedText(0), "00:00:00");
    EXPECT_EQ(ElapsedText(3725), "01:02:05");
    EXPECT_EQ(ElapsedText(360000), "100:00:00");
    EXPECT_EQ(ElapsedText(86399), "23:59:59");
    EXPECT_EQ(ElapsedText(86400), "24:00:00");
}

TEST(PanelTime, NegativeDifferencePrintsThroughTheUnsignedFormat) {
    EXPECT_EQ(ElapsedText(-5), "00:00:4294967291");
    EXPECT_EQ(ElapsedText(-3725), "4294967295:4294967294:4294967291");
}

TEST(PanelTime, ClockModesPickTheirStartingPoint) {
    const int64_t now = 1000000;
    const int64_t start = now - 3725;
    const int64_t gameStart = now - 360000;
    EXPECT_EQ(ClockText(ClockRunTime, now, start, gameStart), "01:02:05");
    EXPECT_EQ(ClockText(ClockGameTime, now, start, gameStart), "100:00:00");
    EXPECT_EQ(ClockText(105, now, start, gameStart), "100:00:00");
    EXPECT_EQ(ClockText(0, now, start, gameStart), "100:00:00");
    EXPECT_EQ(ClockText(ClockRunTime, start - 5, start, gameStart), "00:00:4294967291");
}

TEST(PanelTime, CurrentTimeIsTheLocalTimeOfDay) {
    const std::time_t now = 1700000000;
    char expected[16];
    std::strftime(expected, sizeof expected, "%H:%M:%S", std::localtime(&now));
    EXPECT_EQ(ClockText(ClockCurrentTime, now, 0, 0), expected);
    // Neither start time matters for the time of day.
    EXPECT_EQ(ClockText(ClockCurrentTime, now, now + 99, now - 99), expected);
}

TEST(PanelTime, TimeBoxTextRect) {
    TPanelDrawing d = TimeDrawing(View(), "01:02:05");
    ASSERT_EQ(d.Panels.size(), 1u);
    EXPECT_EQ(d.Panels[0], (TRect{792, 509, 942, 559}));
    ASSERT_EQ(d.Texts.size(), 1u);
    EXPECT_EQ(d.Texts[0].Rect, (TRect{792, 518, 942, 550}));
    EXPECT_EQ(d.Texts[0].Text, "01:02:05");
}

namespace {
TPanelScores SomeScores() {
    TPanelScores s;
    s.Score = 17;
    s.Lines = 4;
    s.Best[0] = 30;
    s.Best[1] = 20;
    s.Best[2] = 10;
    s.Time = "00:01:00";
    return s;
}

const std::vector<TRect> AllFiveBoxes = {{56, 339, 256, 429},
                                         {312, 38, 712, 731},
                                         {792, 209, 942, 259},
                                         {792, 359, 942, 409},
                                         {792, 509, 942, 559}};
} // namespace

TEST(PanelScreen, SaverWithInfoDrawsEverythingInOrder) {
    TPanelDrawing d = ScreenDrawing(View(true, true), SomeScores());
    EXPECT_EQ(d.Panels, AllFiveBoxes);
    EXPECT_EQ(Texts(d), (std::vector<std::string>{"www.vornel.com", "Vornel", "Stakko", "Cup",
                                                  "Score:", "Lines:", "Time:", " 1. 30", " 2. 20",
                                                  " 3. 10", "17", "4", "00:01:00"}));
}

TEST(PanelScreen, PreviewDrawsEmptyFramesAndNoText) {
    TPanelDrawing d = ScreenDrawing(View(false, true), SomeScores());
    EXPECT_EQ(d.Panels, AllFiveBoxes);
    EXPECT_TRUE(d.Texts.empty());
}

TEST(PanelScreen, ShowInfoOffLeavesOnlyTheGlassFrame) {
    for (bool saver : {true, false}) {
        TPanelDrawing d = ScreenDrawing(View(saver, false), SomeScores());
        EXPECT_EQ(d.Panels, (std::vector<TRect>{{312, 38, 712, 731}})) << saver;
        EXPECT_TRUE(d.Texts.empty()) << saver;
        EXPECT_TRUE(NumberDrawing(View(saver, false), 1, Layout1024().ScoreBox).Panels.empty());
        EXPECT_TRUE(TimeDrawing(View(saver, false), "x").Panels.empty());
    }
}
