// What the renderer draws for a session's changes, and in which order, seen
// through a canvas that records; the pixels are the GDI tests' part.
#include "render/Renderer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/core/TestSupport.h"
#include "tests/render/RecordingCanvas.h"

namespace {

// Each run of one letter once, with its length: "S1T7R3".
std::string Runs(const std::string &calls) {
    std::string runs;
    for (size_t i = 0; i < calls.size();) {
        size_t j = i;
        while (j < calls.size() && calls[j] == calls[i])
            ++j;
        runs += calls[i] + std::to_string(j - i);
        i = j;
    }
    return runs;
}

class Renderer : public ::testing::Test {
protected:
    void Bind(TLook look = TLook{}) {
        renderer = std::make_unique<TRenderer>(look);
        renderer->Bind(canvas, TRect{0, 0, 1024, 768});
        test::MakeGlass(game, 11, 33); // the glass that fits the layout
        canvas = {};                   // only what follows is recorded
    }
    TScene Scene() { return TScene{game, TBestScores{30, 20, 10}, 3600, 0}; }

    test::RecordingCanvas canvas;
    std::unique_ptr<TRenderer> renderer;
    // Draws all the changes; the number of flash frames on the way.
    int Draw(const TChanges &changes) {
        TDrawCursor cursor;
        int frames = 0;
        while (!renderer->Draw(changes, Scene(), cursor) && frames < 1000)
            ++frames;
        return frames;
    }

    TStakko game;
};

// Background, logo and labels, the best scores, the glass frame, score,
// lines and time, every cell of the glass (6 columns of 17, 5 of 16), then
// one copy of the whole window. With two monitors, the primary one on the
// right: the texture over the whole window and once more over the primary
// one, the game laid out there, all copied; the rest is background.
TEST_F(Renderer, AFullRedrawDrawsEverythingInOrderOnOneMonitorOrOneOfSeveral) {
    Bind();
    renderer->ClearScreen(Scene());
    EXPECT_EQ(Runs(canvas.Calls), "S1T7R3T3R6T1R3T1R3T1C182K1");
    EXPECT_EQ(canvas.Copies, std::vector<TRect>{(TRect{0, 0, 1024, 768})});
    EXPECT_TRUE(renderer->DirtyRect().IsEmpty());

    const TRect client{0, 0, 2304, 968}, game{1280, 200, 2304, 968};
    renderer->Bind(canvas, client, game);
    EXPECT_EQ(renderer->Layout().Glass, (TRect{1596, 252, 1987, 915}));
    canvas = {};
    renderer->ClearScreen(Scene());
    EXPECT_EQ(Runs(canvas.Calls), "S2T7R3T3R6T1R3T1R3T1C182K1");
    EXPECT_EQ(canvas.Stretched, (std::vector<TRect>{client, game}));
    EXPECT_EQ(canvas.Copies, std::vector<TRect>{client});
    // Without a texture (or when it cannot be stretched) one plain fill covers both.
    canvas.Stretches = false;
    canvas.Calls.clear();
    renderer->ClearScreen(Scene());
    EXPECT_EQ(Runs(canvas.Calls).substr(0, 6), "S1R1T7");

    // An area that does not lie inside the client: the whole client.
    for (const TRect &outside : {TRect{1280, 200, 2305, 968}, TRect{-1, 0, 1024, 768}, TRect{}}) {
        renderer->Bind(canvas, client, outside);
        EXPECT_EQ(renderer->GameArea(), client);
        EXPECT_EQ(renderer->Layout().Glass, ComputeLayout(client).Glass);
    }
}

// The preview draws the frames without their texts, also when the numbers
// or the time change; no panel leaves the glass frame alone, and nothing to
// redraw. Otherwise each draws its own box; the score, lines and time boxes,
// each grown by 2, are copied.
TEST_F(Renderer, ThePanelsPartsAreDrawnOnlyWhereTheLookShowsThem) {
    const struct {
        TLook Look;
        const char *Full, *Numbers;
    } cases[] = {{TLook{1, true, true, false, TClockKind::TimeOfDay}, "S1R15C182K1", "R9K1"},
                 {TLook{1, true, false, true, TClockKind::TimeOfDay}, "S1R3C182K1", ""},
                 {TLook{1, true, true, true, TClockKind::RunTime}, "S1T7R3T3R6T1R3T1R3T1C182K1",
                  "R3T1R3T1R3T1K1"}};
    for (const auto &c : cases) {
        Bind(c.Look);
        renderer->ClearScreen(Scene());
        EXPECT_EQ(Runs(canvas.Calls), c.Full);
        canvas = {};
        TChanges changes;
        changes.Counters();
        changes.Clock();
        changes.Show();
        Draw(changes);
        EXPECT_EQ(Runs(canvas.Calls), c.Numbers) << c.Full;
    }
    EXPECT_EQ(canvas.Copies.at(0), (TRect{790, 207, 944, 561}));
}

// Each cell's box joins the dirty area, which a Show copies whole and
// empties; a failed copy keeps it, so the next copies it again.
TEST_F(Renderer, ShowCopiesTheUnionOfWhatChanged) {
    Bind();
    TChanges changes;
    changes.Cell(0, 0, LookFilled);
    changes.Cell(1, 1, LookEmpty);
    changes.Cell(1, 0, LookFilled); // no cell there: nothing
    changes.Cell(11, 0, LookFilled);
    changes.Show();
    changes.Show(); // nothing left to copy
    Draw(changes);
    EXPECT_EQ(canvas.Calls, "CCK");
    EXPECT_EQ(canvas.Copies, std::vector<TRect>{(TRect{316, 52, 396, 110})});

    canvas.CopySucceeds = false;
    changes.Clear();
    changes.Cell(0, 0, LookFilled);
    changes.Show();
    Draw(changes);
    EXPECT_EQ(renderer->DirtyRect(), (TRect{316, 52, 362, 91}));
    canvas.CopySucceeds = true;
    changes.Clear();
    changes.Cell(10, 32, LookFilled); // touching the glass's right and bottom edges
    changes.Show();
    Draw(changes);
    EXPECT_EQ(canvas.Copies.back(), (TRect{316, 52, 707, 715}));
    EXPECT_TRUE(renderer->DirtyRect().IsEmpty());
}

// Twenty frames over the line's two rows (one at the top), each shown and
// each a stop of the drawing; a glass change draws every cell as the glass
// was then.
TEST_F(Renderer, AFlashIsTwentyShownFramesEachAStop) {
    Bind();
    const struct {
        int32_t Row, Step, Cells;
    } flashes[] = {{32, -1, 11}, {31, +1, 11}, {0, -1, 6}, {0, +1, 11}};
    for (const auto &f : flashes) {
        canvas.Calls.clear();
        TChanges changes;
        changes.Cell(0, 0, LookFilled);
        changes.Flash(f.Row, f.Step);
        changes.Show();
        EXPECT_EQ(Draw(changes), FlashFrames) << f.Row << " " << f.Step;
        std::string all = "C";
        for (int i = 0; i < FlashFrames; ++i)
            all += std::string(f.Cells, 'F') + "K";
        EXPECT_EQ(canvas.Calls, all) << "the last Show has nothing left to copy";
    }
    TStakko then = game;
    test::Fill(then, test::Column(0, 0, 32));
    TChanges changes;
    changes.Glass(then.Width, then.Height, then.Glass);
    test::MakeGlass(game, 11, 33); // the game has moved on since
    canvas.Calls.clear();
    Draw(changes);
    EXPECT_EQ(canvas.Calls.size(), 182u);
}

TEST_F(Renderer, UnboundItDrawsNothingAndNeverStops) {
    Bind();
    renderer->Unbind();
    TChanges changes;
    changes.Screen();
    changes.Cell(0, 0, LookFilled);
    changes.Flash(32, -1);
    changes.Counters();
    changes.Clock();
    changes.Show();
    EXPECT_EQ(Draw(changes), 0);
    EXPECT_EQ(canvas.Calls, "");
}

// Binding hands the canvas the palette's colours and, with a texture, its
// pixels; a plain look hands none.
TEST_F(Renderer, BindingHandsOverTheColoursAndTheTexture) {
    TRenderer plain(TLook{2, false});
    plain.Bind(canvas, TRect{0, 0, 640, 480});
    EXPECT_EQ(canvas.Calls, "P");
    EXPECT_EQ(canvas.Prepared[BackColour], (TColour{0, 186, 155}));
    EXPECT_FALSE(canvas.Textured);
    TRenderer textured(TLook{0, true});
    textured.Bind(canvas, TRect{0, 0, 640, 480});
    EXPECT_EQ(canvas.Prepared[CellColour1], (TColour{162, 81, 1}));
    EXPECT_TRUE(canvas.Textured);
}

} // namespace
