// What the renderer draws for a session's changes, and in which order, seen
// through a canvas that records; the pixels are the GDI tests' part.
#include "render/Renderer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

#include "TestSupport.h"

namespace {

std::string Box(const TRect &r) {
    char text[48];
    std::snprintf(text, sizeof text, "[%d,%d,%d,%d]", r.Left, r.Top, r.Right, r.Bottom);
    return text;
}

// One letter per call: Cell (F when flashing), Rectangles, Text, Stretch,
// Copy (with its rectangle).
struct TRecordingCanvas final : TCanvas {
    std::string Calls;
    std::vector<TRect> Copies, Stretched;
    bool Stretches = true;
    bool CopySucceeds = true;

    void PaintCell(const TCellPicture &p) override { Calls += p.ClipToOutline ? 'F' : 'C'; }
    void FillRectangles(TColour, int32_t, const TRect *, int32_t) override { Calls += 'R'; }
    void WriteText(const TPanelText &, const TFontSize &, TColour, TColour) override {
        Calls += 'T';
    }
    bool StretchTexture(const TRect &onto) override {
        Calls += 'S';
        Stretched.push_back(onto);
        return Stretches;
    }
    bool CopyToScreen(const TRect &area) override {
        Calls += 'K';
        Copies.push_back(area);
        return CopySucceeds;
    }
};

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

// Ticks move on by 10 ms per call; waits are recorded.
struct TFakePacer final : TPacer {
    uint32_t Now = 0;
    std::vector<uint32_t> Waits;
    uint32_t Ticks() override { return Now += 10; }
    void Wait(uint32_t ms) override { Waits.push_back(ms); }
};

class Renderer : public ::testing::Test {
protected:
    void Bind(TLook look = TLook{}) {
        renderer = std::make_unique<TRenderer>(look);
        renderer->Bind(canvas, TRect{0, 0, 1024, 768});
        test::MakeGlass(game, 11, 33); // the glass that fits the layout
        canvas.Calls.clear();
        canvas.Copies.clear();
    }
    TScene Scene() { return TScene{game, TBestScores{30, 20, 10}, 3600, 0}; }

    TRecordingCanvas canvas;
    std::unique_ptr<TRenderer> renderer;
    TStakko game;
    TFakePacer pacer;
};

// Background, logo and labels, the best scores, the glass frame, score,
// lines and time, every cell of the glass (6 columns of 17, 5 of 16), then
// one copy of the whole window.
TEST_F(Renderer, AFullRedrawDrawsEverythingInOrderAndCopiesTheWindow) {
    Bind();
    renderer->ClearScreen(Scene());
    EXPECT_EQ(Runs(canvas.Calls), "S1T7R3T3R6T1R3T1R3T1C182K1");
    EXPECT_EQ(canvas.Copies, std::vector<TRect>{(TRect{0, 0, 1024, 768})});
    EXPECT_TRUE(renderer->DirtyRect().IsEmpty());

    // Without a texture (or when it cannot be stretched) the plain colour.
    canvas.Stretches = false;
    canvas.Calls.clear();
    renderer->ClearScreen(Scene());
    EXPECT_EQ(Runs(canvas.Calls).substr(0, 6), "S1R1T7");
}

// Two monitors, the primary one on the right: the texture over the whole
// window and once more over the primary one, the game there, all copied.
TEST_F(Renderer, AGameOnOneMonitorOfSeveralIsLaidOutThereTheRestIsBackground) {
    Bind();
    const TRect client{0, 0, 2304, 968}, game{1280, 200, 2304, 968};
    renderer->Bind(canvas, client, game);
    EXPECT_EQ(renderer->Layout().Glass, (TRect{1596, 252, 1987, 915}));
    renderer->ClearScreen(Scene());
    EXPECT_EQ(Runs(canvas.Calls), "S2T7R3T3R6T1R3T1R3T1C182K1");
    EXPECT_EQ(canvas.Stretched, (std::vector<TRect>{client, game}));
    EXPECT_EQ(canvas.Copies, std::vector<TRect>{client});
    // Without a texture one plain fill covers both.
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

TEST_F(Renderer, PreviewAndShowInfoOffLeaveOutTheirParts) {
    Bind(TLook{1, true, true, false, TClockKind::CurrentTime}); // the preview: frames only
    renderer->ClearScreen(Scene());
    EXPECT_EQ(Runs(canvas.Calls), "S1R15C182K1");
    Bind(TLook{1, true, false, true, TClockKind::CurrentTime}); // no panel, the glass frame
    renderer->ClearScreen(Scene());
    EXPECT_EQ(Runs(canvas.Calls), "S1R3C182K1");
    TChanges changes;
    changes.Counters();
    changes.Clock();
    renderer->Draw(changes, Scene(), pacer);
    EXPECT_EQ(Runs(canvas.Calls), "S1R3C182K1");
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
    renderer->Draw(changes, Scene(), pacer);
    EXPECT_EQ(canvas.Calls, "CCK");
    EXPECT_EQ(canvas.Copies, std::vector<TRect>{(TRect{316, 52, 396, 110})});

    canvas.CopySucceeds = false;
    changes.Clear();
    changes.Cell(0, 0, LookFilled);
    changes.Show();
    renderer->Draw(changes, Scene(), pacer);
    EXPECT_EQ(renderer->DirtyRect(), (TRect{316, 52, 362, 91}));
    canvas.CopySucceeds = true;
    changes.Clear();
    changes.Cell(10, 32, LookFilled); // touching the glass's right and bottom edges
    changes.Show();
    renderer->Draw(changes, Scene(), pacer);
    EXPECT_EQ(canvas.Copies.back(), (TRect{316, 52, 707, 715}));
    EXPECT_TRUE(renderer->DirtyRect().IsEmpty());
}

// Twenty frames over the line's two rows (one at the top), each copied and
// padded to 50 ms; a glass change draws every cell as the glass was then.
TEST_F(Renderer, AFlashTakesTwentyShownFramesOfFiftyMilliseconds) {
    Bind();
    const struct {
        int32_t Row, Step, Cells;
    } flashes[] = {{32, -1, 11}, {31, +1, 11}, {0, -1, 6}, {0, +1, 11}};
    for (const auto &f : flashes) {
        canvas.Calls.clear();
        pacer.Waits.clear();
        TChanges changes;
        changes.Flash(f.Row, f.Step);
        renderer->Draw(changes, Scene(), pacer);
        std::string frame = std::string(f.Cells, 'F') + "K";
        std::string twenty;
        for (int i = 0; i < 20; ++i)
            twenty += frame;
        EXPECT_EQ(canvas.Calls, twenty) << f.Row << " " << f.Step;
        EXPECT_EQ(pacer.Waits, std::vector<uint32_t>(20, 40u)); // 10 ms of each went by
    }
    TStakko then = game;
    test::Fill(then, test::Column(0, 0, 32));
    TChanges changes;
    changes.Glass(then.Width, then.Height, then.Glass);
    test::MakeGlass(game, 11, 33); // the game has moved on since
    canvas.Calls.clear();
    renderer->Draw(changes, Scene(), pacer);
    EXPECT_EQ(canvas.Calls.size(), 182u);
}

TEST_F(Renderer, NumbersAndTheTimeDrawTheirOwnBoxes) {
    Bind(TLook{1, true, true, true, TClockKind::RunTime});
    TChanges changes;
    changes.Counters();
    changes.Clock();
    changes.Show();
    renderer->Draw(changes, Scene(), pacer);
    EXPECT_EQ(Runs(canvas.Calls), "R3T1R3T1R3T1K1");
    // The score box, the lines box and the time box, each grown by 2.
    EXPECT_EQ(Box(canvas.Copies.at(0)), "[790,207,944,561]");
}

TEST_F(Renderer, UnboundItDrawsNothing) {
    Bind();
    renderer->Unbind();
    TChanges changes;
    changes.Screen();
    changes.Cell(0, 0, LookFilled);
    changes.Flash(32, -1);
    changes.Counters();
    changes.Clock();
    changes.Show();
    renderer->Draw(changes, Scene(), pacer);
    EXPECT_EQ(canvas.Calls, "");
    EXPECT_TRUE(pacer.Waits.empty());
}

} // namespace
