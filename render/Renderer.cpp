#include "render/Renderer.h"

#include <cstdlib>
#include <memory>
#include <string>

#include "game/Trace.h"

namespace {

// A failure while one part is drawn ends that part only; it is traced.
template <typename Body> void Guarded(const char *name, Body &&body) {
    try {
        body();
    } catch (...) {
        Trace(name);
    }
}

// The part wholly inside the client, or the whole client.
TRect GameAreaWithin(const TRect &client, const TRect &game) {
    bool inside = !game.IsEmpty() && game.Left >= client.Left && game.Top >= client.Top &&
                  game.Right <= client.Right && game.Bottom <= client.Bottom;
    return inside ? game : client;
}
} // namespace

TRenderer::TRenderer(const TLook &look) : Style(look) {}

void TRenderer::Bind(TCanvas &canvas, const TRect &client, const TRect &game) {
    ClientRect = client;
    GameRect = GameAreaWithin(client, game);
    Places = ComputeLayout(GameRect);
    ChooseColours(Style.Palette, Table);
    std::unique_ptr<TTexturePixels> pixels; // 500 KB: not on the stack
    if (Style.Texture) {
        Background.Build(Style.Palette);
        pixels = std::make_unique<TTexturePixels>();
        Background.RenderPixels(*pixels);
    }
    Dirty = TRect{};
    Canvas = &canvas;
    Canvas->Prepare(Table, pixels.get());
}

void TRenderer::Unbind() {
    Canvas = nullptr;
    Dirty = TRect{};
}

TPanelView TRenderer::View() const {
    TPanelView view;
    view.Client = GameRect;
    view.Layout = Places;
    view.SaverMode = Style.Saver;
    view.ShowInfo = Style.ShowInfo;
    return view;
}

TCellGrid TRenderer::Grid(int32_t columns, int32_t rows) const {
    return MakeCellGrid(Places.Glass, columns, rows);
}

bool TRenderer::DrawUntilFlash(const TChanges &changes, const TScene &scene, TDrawCursor &cursor) {
    const std::vector<TChange> &all = changes.All();
    for (; cursor.Next < all.size(); ++cursor.Next) {
        const TChange &change = all[cursor.Next];
        if (change.Kind == TChange::Flash && Canvas)
            return false;
        DrawChange(change, changes, scene);
    }
    return true;
}

void TRenderer::DrawFlashFrame(const TChanges &changes, const TScene &scene, TDrawCursor &cursor) {
    const TChange &flash = changes.All()[cursor.Next];
    FlashFrame(scene.Game, flash.Row, flash.Step);
    if (++cursor.Frame == FlashFrames) {
        cursor.Frame = 0;
        ++cursor.Next;
    }
}

bool TRenderer::Draw(const TChanges &changes, const TScene &scene, TDrawCursor &cursor) {
    if (DrawUntilFlash(changes, scene, cursor))
        return true;
    DrawFlashFrame(changes, scene, cursor);
    return false;
}

void TRenderer::DrawChange(const TChange &change, const TChanges &changes, const TScene &scene) {
    switch (change.Kind) {
    case TChange::Cell:
        ShowCell(scene.Game, change.Column, change.Row, change.Look);
        break;
    case TChange::Glass: {
        const TGlassSnapshot &glass = changes.Snapshot(change.Snapshot);
        RedrawGlass(glass.Width, glass.Height, glass.Cells.data());
        break;
    }
    case TChange::Flash: // unbound: no frame to show
        break;
    case TChange::Show:
        Flush();
        break;
    case TChange::Counters:
        ShowScore(scene);
        break;
    case TChange::Screen:
        ClearScreen(scene);
        break;
    case TChange::Clock:
        ShowTime(scene);
        break;
    }
}

// ---- The glass ----

void TRenderer::ShowCell(const TStakko &game, int32_t column, int32_t row, uint8_t look) {
    PaintCell(Grid(game.Width, game.Height), column, row, look);
}

// Only a cell wholly inside the glass is drawn; its box joins the dirty area.
void TRenderer::PaintCell(const TCellGrid &grid, int32_t column, int32_t row, uint8_t look) {
    if (!Canvas)
        return;
    Guarded("ShowCell", [&] {
        TCellPicture picture;
        if (!PlanCell(grid, column, row, look, picture))
            return;
        AddDirty(picture.Box);
        Canvas->PaintCell(picture);
    });
}

// Every cell by its stored value, rows from the top; the falling figure is
// painted again by its next move.
void TRenderer::RedrawGlass(int32_t width, int32_t height, const uint8_t *cells) {
    if (!Canvas)
        return;
    const TCellGrid grid = Grid(width, height);
    for (int32_t row = 0; row < height; ++row)
        for (int32_t column = 0; column < width; ++column) {
            int32_t cell = StoredCell(cells, width, height, column, row);
            if (cell == FilledCell)
                PaintCell(grid, column, row, LookFilled);
            else if (cell == EmptyCell)
                PaintCell(grid, column, row, LookEmpty);
        }
}

// One frame of random pixels over rows row and row + step, shown; the
// pixels gather over the twenty frames of a flash.
void TRenderer::FlashFrame(const TStakko &game, int32_t row, int32_t step) {
    if (!Canvas)
        return;
    const TCellGrid grid = Grid(game.Width, game.Height);
    for (int32_t d = row; std::abs(d - row) <= std::abs(step) && d < game.Height; d += step) {
        for (int32_t column = 0; column < game.Width; ++column)
            PaintCell(grid, column, d, LookFlash);
        if (step == 0)
            break;
    }
    Flush();
}

// A failed copy keeps the area, so the next one copies it again.
void TRenderer::Flush() {
    if (!Canvas)
        return;
    if (Dirty.IsEmpty()) {
        Dirty = TRect{};
        return;
    }
    if (Canvas->CopyToScreen(Dirty))
        Dirty = TRect{};
}

void TRenderer::ShowAll() {
    AddDirty(ClientRect);
    Flush();
}

// ---- The panel ----

void TRenderer::ClearScreen(const TScene &scene) {
    Guarded("TForm::ClearScreen()", [&] {
        Dirty = TRect{};
        if (!Canvas)
            return;
        FillBackground();
        const TPanelView view = View();
        Issue(HeaderDrawing(view));
        ShowBestScores(scene);
        Issue(GlassPanelDrawing(view)); // the glass frame whatever ShowInfo says
        ShowScore(scene);
        ShowTime(scene);
        RedrawGlass(scene.Game.Width, scene.Game.Height, scene.Game.Glass);
        Flush();
    });
}

// The stretched texture, or without one the plain background colour. When
// the game has a part of the client only, the texture is stretched over
// that part once more, so that it looks there as it would alone (should
// that copy fail, the whole client's stretch stays).
void TRenderer::FillBackground() {
    if (!Canvas->StretchTexture(ClientRect))
        Canvas->FillRectangles(BackColour, &ClientRect, 1);
    else if (GameRect != ClientRect)
        Canvas->StretchTexture(GameRect);
    AddDirty(ClientRect);
}

void TRenderer::ShowScore(const TScene &scene) {
    if (!Style.ShowInfo)
        return;
    ShowNumber(scene.Game.Score, Places.ScoreBox);
    ShowNumber(scene.Game.Lines, Places.LinesBox);
}

void TRenderer::ShowNumber(int32_t value, const TRect &box) {
    if (!Canvas)
        return;
    Guarded("TForm::ShowNumber()", [&] { Issue(NumberDrawing(View(), value, box)); });
}

void TRenderer::ShowBestScores(const TScene &scene) {
    if (!Style.ShowInfo)
        return;
    Guarded("TForm::ShowBestScores()", [&] {
        if (!Canvas)
            return;
        const TBestScores &best = scene.Best;
        Issue(BestScoresDrawing(View(), best.Score1, best.Score2, best.Score3));
        if (Style.Saver)
            AddDirty(Places.BestBox);
    });
}

void TRenderer::ShowTime(const TScene &scene) {
    if (!Style.ShowInfo)
        return;
    Guarded("TForm::ShowTime()", [&] {
        if (!Canvas)
            return;
        std::string text =
            ClockText(Style.Clock, scene.Now, scene.StartTime, scene.Game.GameStartTime);
        Issue(TimeDrawing(View(), text));
    });
}

// A framed box: its fill and frame bands, each colour's rectangles together.
void TRenderer::PaintPanel(const TRect &box) {
    AddDirty(PanelDirtyRect(box));
    for (const TPanelFill &fill : PanelFills(box))
        Canvas->FillRectangles(fill.Colour, fill.Rects.data(), fill.Count);
}

// Frames the drawing's boxes, then writes its texts; each text's rectangle
// joins the dirty area.
void TRenderer::Issue(const TPanelDrawing &drawing) {
    for (const TRect &box : drawing.Panels)
        PaintPanel(box);
    for (const TPanelText &text : drawing.Texts) {
        Canvas->WriteText(text, PanelFont(text.Font, Places.Scale));
        AddDirty(text.Rect);
    }
}
