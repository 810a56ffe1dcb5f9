// The play routine's contract, on a stepped clock: what each step moves,
// shows and waits.
#include "driver/PlaySession.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "player/Player.h"
#include "tests/core/TestSupport.h"

namespace {

constexpr uint32_t Start = 100000;

class Session : public ::testing::Test {
protected:
    // An empty 11 x 31 glass whose figures are all of one kind; the first
    // call, which only draws the picture, is made.
    void Begin(int32_t kind, TSessionOptions options = {}) {
        kinds.Kind = kind;
        session = std::make_unique<TPlaySession>(options, TNow{Start, 50}, &kinds);
        session->FitGlass(TGlassFit{true, 0, 0, 11, 31}, TNow{Start, 50});
        first = Step();
    }
    TStepResult Step(bool automatic = true, bool stop = false, uint32_t holdLeft = 0,
                     bool bound = true) {
        TStepResult result =
            session->Step(TStepInput{TNow{now, 60}, automatic, holdLeft, stop, bound});
        now += result.Busy + result.Wait;
        return result;
    }
    // The kinds of the last call's changes, a letter each: Cell, Glass,
    // Flash, Show, Numbers (score and lines), Picture (the whole), Klock.
    std::string Shown() const {
        std::string kinds;
        for (const TChange &c : session->Changes().All())
            kinds += "CGFSNPK"[c.Kind];
        return kinds;
    }
    TStakko &Game() { return const_cast<TStakko &>(session->Game()); }

    test::FixedKind kinds;
    std::unique_ptr<TPlaySession> session;
    TStepResult first;
    uint32_t now = Start;
};

// The first call only draws, with the score at 0; without a window to draw
// into nothing moves; the next call opens the figure's loop.
TEST_F(Session, TheFirstCallOnlyDrawsThePicture) {
    Begin(4);
    EXPECT_EQ(first.Wait, StepTime);
    EXPECT_FALSE(first.Landed || first.Planned);
    EXPECT_EQ(Shown(), "PNS");
    const test::Cells cells = test::FigureCells(Game());
    EXPECT_EQ(cells, (test::Cells{{6, 0}, {7, 1}, {5, 1}, {4, 0}}));
    EXPECT_EQ(Step(true, false, 0, false).Wait, StepTime);
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(test::FigureCells(Game()), cells);
    EXPECT_EQ(Step().Wait, 0u);
    EXPECT_EQ(Shown(), "");
}

// The plans of the empty glass: kind 4 goes 3 to the right, kind 8 turns
// once and goes 5 to the left, kind 1 only falls; the search is made once.
// Pauses: 150 after each step with a sideways move due, 50 after every
// other; the landing ends the call (score shown, StepTime).
TEST_F(Session, AutomaticStepsFollowOnePlanAtTheirPace) {
    const struct {
        int32_t Kind;
        std::vector<uint32_t> Waits; // the first ones
        int32_t Column;              // the landed figure's leftmost column
    } cases[] = {{4, {0, 150, 150, 150, 50, 50}, 7},
                 {8, {0, 150, 150, 150, 150, 150, 50}, 0},
                 {1, {0, 50, 50, 50}, 5}};
    for (const auto &c : cases) {
        SCOPED_TRACE("kind " + std::to_string(c.Kind));
        Begin(c.Kind);
        std::vector<uint32_t> waits;
        int plans = 0;
        for (TStepResult r; !r.Landed && waits.size() < 100; plans += r.Planned) {
            r = Step();
            waits.push_back(r.Wait);
        }
        EXPECT_EQ(plans, 1);
        EXPECT_EQ(std::vector<uint32_t>(waits.begin(), waits.begin() + c.Waits.size()), c.Waits);
        EXPECT_EQ(waits.back(), StepTime);
        EXPECT_EQ(Shown(), "SSNS"); // no move is due, the landing, the closing
        EXPECT_EQ(test::FilledCells(Game()).front().first, c.Column);
        EXPECT_EQ(test::FigureCells(Game()).front(), (test::Cell{6, 0})); // the next figure
    }
}

// After a manual step, or a call dropped for want of the game lock (without
// its closing), the next automatic step plans anew from where the figure is.
TEST_F(Session, ANewPlanAfterAManualStepOrADroppedCall) {
    Begin(4);
    Step(); // the opening
    EXPECT_TRUE(Step().Planned);
    EXPECT_FALSE(Step().Planned);
    for (bool dropped : {false, true}) {
        if (dropped) {
            session->DropCall();
            EXPECT_EQ(Step().Wait, 0u); // a new call's opening
            EXPECT_EQ(Shown(), "");
        } else {
            Step(false);
        }
        const TPlacement fromHere = SearchPlacement(Game());
        TStepResult again = Step();
        EXPECT_TRUE(again.Planned);
        EXPECT_EQ((std::vector<int32_t>{again.Plan.Rotation, again.Plan.Shift, again.Plan.Trials}),
                  (std::vector<int32_t>{fromHere.Rotation, fromHere.Shift, fromHere.Trials}));
    }
}

// Under manual control the figure falls once more than StepTime has passed
// since the loop began or since its last such fall; a step waits for the
// next fall, or for the end of the user's hold when that comes first.
TEST_F(Session, ManualStepsFallAfterMoreThanStepTime) {
    Begin(1);
    Step(); // the loop begins now
    const uint32_t loop = now;
    const struct {
        uint32_t After, HoldLeft;
        bool Fell;
        uint32_t Wait;
    } steps[] = {{100, 0, false, 401}, {500, 0, false, 1},    {501, 0, true, 501},
                 {600, 30, false, 30}, {1001, 600, false, 1}, {1002, 0, true, 501}};
    for (const auto &step : steps) {
        now = loop + step.After;
        int32_t y = Game().FigY;
        TStepResult r = Step(false, false, step.HoldLeft);
        EXPECT_EQ(Game().FigY, step.Fell ? y + 2 : y) << step.After;
        EXPECT_EQ(r.Wait, step.Wait) << step.After;
        EXPECT_EQ(Shown(), step.Fell ? "CCCCCCCCS" : "S") << step.After;
    }
    // Across the tick counter's wrap the difference still measures time.
    now = 0xFFFFFF00u;
    Step(false);
    now += 501;
    int32_t y = Game().FigY;
    Step(false);
    EXPECT_EQ(Game().FigY, y + 2);
}

// A stop ends the figure's loop at once with the closing section; the next
// call sees it before anything else and the thread ends.
TEST_F(Session, AStopEndsTheCallAndThenTheThread) {
    Begin(4);
    Step();
    Step();
    const test::Cells cells = test::FigureCells(Game());
    TStepResult closing = Step(true, true);
    EXPECT_EQ(Shown(), "NS");
    EXPECT_EQ(std::pair(closing.Wait, closing.Ended), std::pair(StepTime, false));
    EXPECT_TRUE(Step(true, true).Ended);
    EXPECT_EQ(test::FigureCells(Game()), cells);
}

// At a game over only a greater score replaces the third best; the next
// call starts a new game with the figure still in play and the whole
// picture, whose best scores are put in order when the panel shows them.
TEST_F(Session, AGameOverOffersTheScoreAndStartsANewGame) {
    const struct {
        int32_t Score3, Score;
        bool ShowInfo;
        TBestScores Best;
        // clang-format off
    } cases[] = {{5, 5, true, {40, 20, 5}}, {5, 6, true, {40, 20, 6}}, {-3, 0, true, {40, 20, 0}},
                 {50, 6, true, {50, 40, 20}}, {50, 60, false, {40, 20, 60}}};
    // clang-format on
    for (const auto &c : cases) {
        Begin(0, TSessionOptions{TBestScores{40, 20, c.Score3}, c.ShowInfo});
        Game().Score = c.Score;
        Game().GameOver = true; // as a landing at the top leaves it
        const test::Cells figure = test::FigureCells(Game());
        Step();
        EXPECT_EQ(test::FigureCells(Game()), figure);
        EXPECT_EQ((std::vector<int64_t>{Game().GameOver, Game().Score, Game().GameStartTime}),
                  (std::vector<int64_t>{false, 0, 60}));
        EXPECT_EQ(Shown(), "P");
        EXPECT_EQ(session->Best(), c.Best) << c.Score3 << " " << c.Score;
        EXPECT_EQ(session->OfferScore().Score3, c.Best.Score3); // the new game's 0 at the end
    }
}

// Every key moves at once and shows each change; the score is shown again
// only when the key changed it.
TEST_F(Session, KeysMoveTheFigureAndShowTheScoreOnlyWhenItChanged) {
    Begin(0);
    const struct {
        TKeyAction Key;
        test::Cell To;
        const char *Shown;
    } moves[] = {{TKeyAction::Left, {5, 1}, "SCCCCCCCCS"},
                 {TKeyAction::Right, {6, 2}, "SCCCCCCCCS"},
                 {TKeyAction::Down, {6, 4}, "SCCCCCCCCS"},
                 {TKeyAction::Turn, {6, 4}, "SCCCCCCCCS"},
                 {TKeyAction::NoMove, {6, 4}, "SS"}};
    for (const auto &m : moves) {
        session->Key(m.Key, now);
        EXPECT_EQ((test::Cell{Game().FigX, Game().FigY}), m.To);
        EXPECT_EQ(Shown(), m.Shown);
    }
    session->Key(TKeyAction::Drop, now); // each cell of the fall shown, then the landing
    EXPECT_EQ(Shown().substr(0, 11), "SCCCCCCCCSC");
    EXPECT_EQ(Shown().back(), 'S');
    EXPECT_EQ(Shown().find('N'), std::string::npos);
    EXPECT_EQ(test::FigureCells(Game()).front(), (test::Cell{6, 0}));

    test::BarOverGaps(Game(), {30}, 20);
    session->Key(TKeyAction::Drop, now);
    EXPECT_EQ(Game().Score, 1);
    EXPECT_EQ(Shown().substr(Shown().size() - 2), "NS");
}

TEST(ControlSwitch, TheUserSteersUntilStrictlyMoreThan1500msAfterTheLastKey) {
    for (uint32_t key : {10000u, 0xFFFFFF00u}) {
        TControlSwitch control;
        EXPECT_TRUE(control.IsAutoPlay(key));
        EXPECT_EQ(control.HoldLeft(key), 0u);
        control.TakeOver(key);
        EXPECT_FALSE(control.IsAutoPlay(key + 1500u));
        EXPECT_EQ(control.HoldLeft(key + 1500u), 1u);
        control.TakeOver(key + 1000u); // a second key renews the hold
        EXPECT_EQ(control.HoldLeft(key + 1100u), 1401u);
        EXPECT_FALSE(control.IsAutoPlay(key + 2500u));
        EXPECT_EQ(control.HoldLeft(key + 2501u), 0u);
        EXPECT_TRUE(control.IsAutoPlay(key + 2501u));
        EXPECT_TRUE(control.IsAutoPlay(key + 2502u));
    }
}

} // namespace
