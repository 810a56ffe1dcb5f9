// The portable halves of the Linux hack and the web page: the hack's
// command line, the best-score record that copies share, and the page's
// settings read from its address as the profile is read.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "saver/HackOptions.h"
#include "saver/ProfileReading.h"
#include "saver/ScoreRecord.h"

namespace {

std::vector<int32_t> Scores(const TBestScores &b) {
    return {b.Score1, b.Score2, b.Score3};
}

// One dash or two; names and numbers for the palette; flags both ways; the
// last target wins.
TEST(HackOptions, XScreenSaverStyleOptionsSetWhatTheDialogSets) {
    THackOptions o;
    std::string problem;
    ASSERT_TRUE(ParseHackOptions({"-root", "--palette", "green", "-plain", "--no-info", "-clock",
                                  "run", "--no-manual", "-geometry", "800x600-10+20"},
                                 o, problem))
        << problem;
    EXPECT_EQ(o.Target, THackTarget::Root);
    EXPECT_EQ((std::vector<int32_t>{o.Settings.Palette, o.Settings.ShowBkgr, o.Settings.ShowInfo,
                                    o.Settings.Time, o.Settings.ManualControl}),
              (std::vector<int32_t>{2, 0, 0, ClockRunTime, 0}));
    EXPECT_TRUE(o.Geometry.HasSize && o.Geometry.HasPlace && o.Geometry.FromRight &&
                !o.Geometry.FromBottom);
    EXPECT_EQ((std::vector<int32_t>{int32_t(o.Geometry.Width), int32_t(o.Geometry.Height),
                                    o.Geometry.X, o.Geometry.Y}),
              (std::vector<int32_t>{800, 600, 10, 20}));
    ASSERT_TRUE(ParseHackOptions(
        {"--window-id", "0x2a00005", "-palette", "3", "--plain", "--no-plain"}, o, problem));
    EXPECT_TRUE(o.Target == THackTarget::WindowId && o.WindowId == 0x2a00005u);
    EXPECT_TRUE(o.Settings.Palette == 3 && o.Settings.ShowBkgr);
}

TEST(HackOptions, ABadOrMissingValueOrAnUnknownOptionIsRefusedWithAReason) {
    // clang-format off
    const std::vector<std::string> bad[] = {
        {"--palette"},         {"--palette", "4"},    {"--palette", "-1"},
        {"--clock", "noon"},   {"--window-id", "0"},  {"--window-id", "0x1zz"},
        {"--window-id", "-5"}, {"--geometry", "0x0"}, {"--geometry", "800x"},
        {"--geometry", "+5"},  {"--fast"},            {"root"}};
    // clang-format on
    for (const std::vector<std::string> &args : bad) {
        THackOptions o;
        std::string problem;
        EXPECT_FALSE(ParseHackOptions(args, o, problem)) << args[0];
        EXPECT_NE(problem.find(args[0]), std::string::npos) << problem;
    }
    TGeometry g;
    EXPECT_TRUE(ParseGeometry("=+0-0", g) && g.HasPlace && !g.HasSize && g.FromBottom);
    uint64_t id = 0;
    EXPECT_TRUE(ParseWindowId("12345", id) && id == 12345u);
    EXPECT_TRUE(ParseWindowId("010", id) && id == 10u) << "decimal, not octal";
    EXPECT_FALSE(ParseWindowId("\t5", id) || ParseWindowId("0x1FFFFFFFF", id));
}

// Three lines in order or nothing: a damaged record is no record.
TEST(ScoreRecord, TheTextRoundTripsAndAnythingElseIsDamaged) {
    TBestScores best{30, -2, 2147483647};
    TBestScores read;
    ASSERT_TRUE(ParseScoreText(ScoreText(best), read));
    EXPECT_EQ(Scores(read), Scores(best));
    for (const char *damaged :
         {"", "Score1=30\nScore2=20\n", "Score2=20\nScore1=30\nScore3=10\n",
          "Score1=30\nScore2=20\nScore3=10", "Score1=30\nScore2=20\nScore3=10\nmore\n",
          "Score1=3x\nScore2=20\nScore3=10\n", "Score1=\nScore2=20\nScore3=10\n",
          "Score1=2147483648\nScore2=20\nScore3=10\n", "Score1= 3\nScore2=20\nScore3=10\n"})
        EXPECT_FALSE(ParseScoreText(damaged, read)) << damaged;
}

// What another copy stored meanwhile stays; what this copy brought in since
// it last read or wrote enters as a game's score does, once.
TEST(ScoreRecord, AMergeKeepsEveryCopysScores) {
    EXPECT_EQ(Scores(MergeScores({40, 30, 20}, {30, 20, 10}, {30, 20, 10})), Scores({40, 30, 20}));
    EXPECT_EQ(Scores(MergeScores({40, 30, 20}, {30, 20, 10}, {30, 25, 20})), Scores({40, 30, 25}));
    // Another copy's 3 and this one's.
    EXPECT_EQ(Scores(MergeScores({5, 3, 0}, {5, 0, 0}, {5, 3, 0})), Scores({5, 3, 3}));
    EXPECT_EQ(Scores(MergeScores({10, 20, 30}, {0, 0, 0}, {0, 0, 15})), Scores({30, 20, 15}));
}

// A store another player writes to as well; it refuses while Refusing.
struct TSharedStore final : TScoreStore {
    TBestScores Stored{40, 30, 20};
    bool Refusing = false;
    int Writes = 0;
    bool Read(TBestScores &stored) override {
        stored = Stored;
        return true;
    }
    bool Update(const std::function<TBestScores(const TBestScores &)> &merge) override {
        if (Refusing)
            return false;
        Stored = merge(Stored);
        ++Writes;
        return true;
    }
};

// Nothing new, nothing written (but at the end); a refused save's score
// goes with the next one; what the other player wrote stays.
TEST(ScoreRecord, AShareWritesWhatItBroughtInOnce) {
    TSharedStore store;
    TScoreShare share(store);
    TBestScores best = share.Load();
    share.Save(best);
    EXPECT_EQ(store.Writes, 0);
    store.Refusing = true;
    best.OfferScore3(35);
    share.Save(best);
    store.Refusing = false;
    store.Stored = TBestScores{45, 10, 5}; // the other player's
    share.Save(best);
    EXPECT_EQ(store.Writes, 0) << "the refused scores are not tried again unchanged";
    best.Sort();
    best.OfferScore3(33);
    share.Save(best);
    EXPECT_EQ(Scores(store.Stored), Scores({45, 35, 33}));
    share.Save(best, true);
    EXPECT_EQ(store.Writes, 2);
    EXPECT_EQ(Scores(store.Stored), Scores({45, 35, 33})) << "nothing twice";
}

// Blanks, a sign, 0x, the digits up to the first other character, 32 bits;
// nothing (or nothing at all) is the fallback.
TEST(ProfileReading, NumbersAsTheProfileReaderReadsThem) {
    const std::pair<const char *, int32_t> cases[] = {{"12abc", 12}, {"0x10", 16},      {"-3", -3},
                                                      {"abc", 0},    {" 7", 7},         {"+5", 5},
                                                      {"0x", 0},     {"4294967297", 1}, {"", 99}};
    for (auto [text, number] : cases) {
        const std::string value(text);
        EXPECT_EQ(ProfileNumber(&value, 99), number) << text;
    }
    EXPECT_EQ(ProfileNumber(nullptr, 99), 99);
}

// The profile's keys in any case, percent-decoded, the first of a repeated
// one; no range check; anything else is left alone.
TEST(ProfileReading, TheQuerySetsWhatTheProfileSets) {
    const TSettings s = SettingsFromQuery(
        "?Palette=2&showinfo=0&ShowBkgr=5&Time=%31%30%33&ManualControl=0x0&Palette=3&Score1=9");
    EXPECT_EQ((std::vector<int32_t>{s.Palette, s.ShowInfo, s.ShowBkgr, s.Time, s.ManualControl,
                                    s.Best.Score1}),
              (std::vector<int32_t>{2, 0, 1, 103, 0, 9}));
    const TSettings defaults;
    for (const char *query : {"", "?", "?Palette=&Time&=5&&ShowInfo="}) {
        const TSettings d = SettingsFromQuery(query);
        EXPECT_TRUE(d.Palette == defaults.Palette && d.Time == defaults.Time && d.ShowInfo &&
                    d.ShowBkgr && d.ManualControl)
            << query;
    }
    EXPECT_EQ(SettingsFromQuery("?Palette=7").Palette, 7);
}

} // namespace
