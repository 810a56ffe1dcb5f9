// The play loop and the one-thread front end on a stepped clock, drawing
// into a recording canvas: what each call draws and how long it says to wait.
#include "driver/PlayLoop.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "driver/OneThreadPlay.h"
#include "game/Figures.h"
#include "tests/core/TestSupport.h"
#include "tests/render/RecordingCanvas.h"

namespace {

struct TSteppedClock final : TClock {
    TNow Time{100000, 5000};
    TNow Now() override { return Time; }
};

class Loop : public ::testing::Test {
protected:
    void SetUp() override {
        loop = std::make_unique<TPlayLoop>(TSessionOptions{}, TLook{}, clock.Now(), clock);
        loop->Bind(canvas, TRect{0, 0, 1024, 768});
        EXPECT_EQ(Step().Wait, StepTime); // the first picture
        EXPECT_EQ(Step().Wait, 0u);       // a call opens
    }
    TLoopResult Step(bool automatic = true) { return loop->Step(TControlInput{automatic}); }
    TStakko &Game() { return const_cast<TStakko &>(loop->Session().Game()); }
    // A bar in column 0 whose next manual fall lands it and fills two lines.
    TLoopResult LandOnTwoLines() {
        test::BarOverGaps(Game(), {32, 30}, 30);
        clock.Time.Ticks += StepTime + 1;
        return Step(false);
    }
    // Steps through the flash's frames, each after its wait; the frames.
    int FlashOn(TLoopResult &r) {
        int frames = 1;
        while (r.Flashing && frames < 1000) {
            clock.Time.Ticks += r.Wait;
            r = Step();
            frames += r.Flashing;
        }
        return frames;
    }
    int ClockTexts() const {
        return int(
            std::count_if(canvas.Texts.begin(), canvas.Texts.end(),
                          [](const std::string &t) { return t.size() == 8 && t[2] == ':'; }));
    }

    TSteppedClock clock;
    test::RecordingCanvas canvas;
    std::unique_ptr<TPlayLoop> loop;
};

// Each of a line's twenty frames is a returned wait; the step's own wait
// follows the last, and the next kind is the one the session picked for
// the tick count at which the flashes end.
TEST_F(Loop, AFlashIsDrawnAFrameAStep) {
    TLoopResult r = LandOnTwoLines();
    const uint32_t landing = clock.Time.Ticks;
    EXPECT_TRUE(r.Stepped && r.Step.Landed && r.Flashing);
    EXPECT_EQ(r.Wait, FlashFrameMs);
    canvas.Copies.clear();
    EXPECT_EQ(FlashOn(r), 2 * FlashFrames);
    EXPECT_FALSE(r.Stepped);
    EXPECT_EQ(r.Wait, StepTime);
    EXPECT_GE(canvas.Copies.size(), size_t(2 * FlashFrames - 1)) << "every frame shown";
    EXPECT_EQ(clock.Time.Ticks - landing, 2 * LineFlashTime);
    ASSERT_NE(PickRandomKind(landing), PickRandomKind(clock.Time.Ticks));
    EXPECT_EQ(Game().Kind, PickRandomKind(clock.Time.Ticks));
    EXPECT_EQ(Game().Lines, 2);
}

// A frame's time begins just before it is drawn: the cells a drop drew
// before it do not shorten the first frame, only its own drawing does.
TEST_F(Loop, AFlashFramesTimeBeginsWithIt) {
    test::BarOverGaps(Game(), {32}, 20);
    canvas.Ticks = &clock.Time.Ticks;
    const TLoopResult first = loop->Key(TKeyAction::Drop);
    const TLoopResult second = loop->NextFrame();
    EXPECT_TRUE(first.Flashing && second.Flashing);
    EXPECT_LT(first.Wait, FlashFrameMs);
    EXPECT_EQ(first.Wait, second.Wait);
}

// During a flash a key and the clock wait for its end (the clock once), and
// a repaint shows the back buffer as it is.
TEST_F(Loop, WhatComesDuringAFlashWaitsForItsEnd) {
    TLoopResult r = LandOnTwoLines();
    const int32_t x = Game().FigX;
    EXPECT_TRUE(loop->Key(TKeyAction::Left).Flashing);
    EXPECT_TRUE(loop->ClockTick().Flashing);
    EXPECT_TRUE(loop->ClockTick().Flashing);
    canvas = {};
    EXPECT_TRUE(loop->Repaint().Flashing);
    EXPECT_EQ(canvas.Copies, std::vector<TRect>{(TRect{0, 0, 1024, 768})});
    EXPECT_EQ(std::pair(Game().FigX, ClockTexts()), std::pair(x, 0));
    FlashOn(r);
    EXPECT_EQ(std::pair(Game().FigX, ClockTexts()), std::pair(x - 1, 1));
}

// A key's flash, too: the key returns its first frame, Step the others;
// the step that fell due meanwhile is due at once after the last. The next
// kind is picked for the tick count at which the flash ends.
TEST_F(Loop, AKeysFlashGoesOnThroughSteps) {
    test::BarOverGaps(Game(), {32}, 20);
    EXPECT_GT(Step().Wait, 0u); // an automatic step's pause
    test::PlaceFigure(Game(), 0, 0, 20);
    const uint32_t pressed = clock.Time.Ticks;
    TLoopResult r = loop->Key(TKeyAction::Drop);
    EXPECT_TRUE(r.Flashing);
    EXPECT_EQ(FlashOn(r), FlashFrames);
    EXPECT_EQ(r.Wait, 0u);
    ASSERT_NE(PickRandomKind(pressed), PickRandomKind(pressed + LineFlashTime));
    EXPECT_EQ(Game().Kind, PickRandomKind(pressed + LineFlashTime));
}

// A window of another size ends the game (its score offered) and begins a
// new one; one of the same size keeps everything.
TEST_F(Loop, ABindingOfAnotherGlassSizeBeginsANewGame) {
    Game().Score = 7;
    test::PlaceFigure(Game(), 3, 4, 6);
    loop->Bind(canvas, TRect{0, 0, 1024, 768});
    EXPECT_EQ(std::pair(Game().Score, Game().FigX), std::pair(7, 4));
    loop->Bind(canvas, TRect{0, 0, 1600, 1440});
    EXPECT_EQ((test::Cell{Game().Width, Game().Height}), (test::Cell{13, 39}));
    EXPECT_EQ(std::pair(Game().Score, loop->Session().Best().Score3), std::pair(0, 7));
    EXPECT_EQ(Step().Wait, 0u) << "a new call opens";
}

// One thread: the clock ticks once a second, a step whenever due; after a
// long sleep one step and one tick, not the ones missed. A key takes over
// for 1.5 s.
TEST_F(Loop, OneThreadDoesWhatIsDueAndNeverCatchesUp) {
    TOneThreadPlay one(*loop, clock);
    canvas.Texts.clear();
    const uint32_t start = clock.Time.Ticks;
    while (clock.Time.Ticks - start <= 3000)
        clock.Time.Ticks += std::max(one.Run(), 1u);
    EXPECT_EQ(ClockTexts(), 3);
    canvas.Texts.clear();
    clock.Time.Ticks += 60000;
    const int32_t y = Game().FigY;
    one.Run();
    EXPECT_EQ(ClockTexts(), 1);
    EXPECT_LE(Game().FigY - y, 2) << "one step at most";
    one.Key(TKeyAction::Turn);
    EXPECT_FALSE(loop->Control().IsAutoPlay(clock.Time.Ticks + ManualHoldTime));
    EXPECT_TRUE(loop->Control().IsAutoPlay(clock.Time.Ticks + ManualHoldTime + 1));
}

} // namespace
