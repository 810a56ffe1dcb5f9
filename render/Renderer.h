#pragma once
#include <cstdint>

#include "game/BestScores.h"
#include "game/Changes.h"
#include "game/Stakko.h"
#include "render/Canvas.h"
#include "render/Colours.h"
#include "render/Layout.h"
#include "render/Panel.h"
#include "render/Texture.h"

// How the picture looks, fixed for a run.
struct TLook {
    int32_t Palette = 1;
    bool Texture = true;  // off: a plain background
    bool ShowInfo = true; // off: no panel but the glass frame
    bool Saver = true;    // the full-screen saver's texts; the preview has frames alone
    TClockKind Clock = TClockKind::TimeOfDay;
};

// What the picture shows besides the changes: the game, the best scores
// and the calendar time (seconds) now and at the program's start.
struct TScene {
    const TStakko &Game;
    TBestScores Best;
    int64_t Now = 0;
    int64_t StartTime = 0;
};

// How far the drawing of a session's changes has come: the next change
// and, at a line's flash, the next of its frames.
struct TDrawCursor {
    size_t Next = 0;
    int32_t Frame = 0;
};

// The picture: its colours, texture, layout and the dirty rectangle of the
// back buffer that has not yet reached the window. It draws what a play
// session reports through a platform's canvas, and copies only what changed.
class TRenderer {
public:
    explicit TRenderer(const TLook &look);
    TRenderer(const TRenderer &) = delete;
    TRenderer &operator=(const TRenderer &) = delete;

    // Bound to a canvas whose back buffer covers the client rectangle: the
    // layout, the palette's colours and, with a texture, a new height field
    // drawn from the game's generator, all handed to the canvas. Unbound,
    // nothing is drawn. The game is laid out in the part `game` of the
    // client (one monitor of several), the rest shows the background; an
    // empty part, or one not inside the client, is the whole client.
    void Bind(TCanvas &canvas, const TRect &client, const TRect &game = TRect{});
    void Unbind();
    bool Bound() const { return Canvas != nullptr; }

    const TLook &Look() const { return Style; }
    const TLayout &Layout() const { return Places; }
    const TRect &Client() const { return ClientRect; }
    const TRect &GameArea() const { return GameRect; }
    const TColourTable &Colours() const { return Table; }
    const TTexture &Texture() const { return Background; }
    const TRect &DirtyRect() const { return Dirty; }

    // A session's changes, in order, from the cursor on: up to the next
    // frame of a line's flash (false; nothing of it drawn yet), or to the end
    // (true). Then the frame at the cursor, shown; the next one is due
    // FlashFrameMs after this one began. Nothing here waits.
    bool DrawUntilFlash(const TChanges &changes, const TScene &scene, TDrawCursor &cursor);
    void DrawFlashFrame(const TChanges &changes, const TScene &scene, TDrawCursor &cursor);
    // Both: up to and including the next flash frame; true once all is drawn.
    bool Draw(const TChanges &changes, const TScene &scene, TDrawCursor &cursor);

    // The parts, as Draw issues them.
    void ClearScreen(const TScene &scene); // the whole picture, then to the window
    void ShowScore(const TScene &scene);
    void ShowTime(const TScene &scene);
    void ShowBestScores(const TScene &scene);
    void ShowCell(const TStakko &game, int32_t column, int32_t row, uint8_t look);
    void FlashFrame(const TStakko &game, int32_t row, int32_t step); // one frame, shown
    void Flush();   // the dirty rectangle to the window
    void ShowAll(); // the whole back buffer to the window, as it is

private:
    TPanelView View() const;
    TCellGrid Grid(int32_t columns, int32_t rows) const;
    void DrawChange(const TChange &change, const TChanges &changes, const TScene &scene);
    void PaintCell(const TCellGrid &grid, int32_t column, int32_t row, uint8_t look);
    void RedrawGlass(int32_t width, int32_t height, const uint8_t *cells);
    void FillBackground();
    void ShowNumber(int32_t value, const TRect &box);
    void PaintPanel(const TRect &box);
    void Issue(const TPanelDrawing &drawing);
    void AddDirty(const TRect &r) { Dirty = UniteRects(Dirty, r); }

    TLook Style;
    TCanvas *Canvas = nullptr;
    TRect ClientRect;
    TRect GameRect;
    TLayout Places;
    TColourTable Table = InitialColours;
    TTexture Background;
    TRect Dirty;
};
