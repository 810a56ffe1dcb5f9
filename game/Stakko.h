#pragma once
#include <cstdint>

#include "game/Lattice.h"
#include "game/Rect.h"

class TGlassPainter;

// A platform handle (device context, brush) kept opaque in the portable core.
using NativeHandle = void *;

// Where the kind of each new figure comes from. The default is the game's
// random pick; tests and the simulator place kinds of their choosing.
using KindSource = int32_t (*)(void *context);

// Cell looks for ShowCell.
constexpr uint8_t LookEmpty = 0;
constexpr uint8_t LookFilled = 1;
constexpr uint8_t LookFlash = 2;

// The result of the placement search, with what the tools report of it.
struct TPlacement {
    int32_t Rotation = 0; // 60° steps from the present orientation
    int32_t Shift = 0;    // ShiftX steps, negative to the left
    int32_t Value = 0;    // the best ValueGlass; -1,000,000 if no trial scored above it
    int32_t Trials = 0;   // placements landed and scored
};

// The game object: the glass, the falling figure, the score, and the drawing
// it does through its painter.
class TStakko {
public:
    TStakko();
    ~TStakko();
    TStakko(const TStakko &) = delete;
    TStakko &operator=(const TStakko &) = delete;

    // Cell store (board).
    int32_t GetCell(int32_t column, int32_t row) const;
    void SetCell(int32_t column, int32_t row, int32_t value);
    void NewGame();
    bool TopCellFilled() const; // the game-over test

    // Dimensions: the search for the largest cell size that gives at least
    // 11 columns and 31 rows, the glass centred in r, a new figure placed.
    void SetBoundsRect(const TRect &r);

    // Figures and moves.
    void NewFigure();
    int32_t ShiftX(int32_t n);
    int32_t ShiftY(int32_t n);
    int32_t Rotate(int32_t n);

    // Line clearing.
    int32_t ClearLines();
    int32_t MarkGroup(int32_t column, int32_t row, int32_t label);

    // Automatic player.
    int32_t ValueGlass() const;
    void FindBestMove(int32_t &rotation, int32_t &shift);
    TPlacement SearchPlacement(); // FindBestMove with its value and trial count

    // Drawing; every one paints nothing while Drawing is off or BackDC is null.
    void ShowCell(int32_t column, int32_t row, uint8_t look);
    void DrawFigure();
    void EraseFigure();
    void RedrawGlass();
    void FlashLine(int32_t row, int32_t step);
    void FlushDirty();
    void CreateBrushes();

    void SetKindSource(KindSource source, void *context);

    int32_t SavedScreenState = 0;
    int32_t SavedBackState = 0;
    NativeHandle ScreenDC = nullptr;
    NativeHandle BackDC = nullptr;
    NativeHandle Brushes[4] = {};
    TRect DirtyRect;
    int32_t FigX = 0;
    int32_t FigY = 0;
    int32_t Score = 0;
    int32_t Lines = 0;
    bool GameOver = false;
    int32_t Kind = 0;
    int32_t SavedKind = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    TRect GlassRect;
    int32_t CellX[12] = {};
    int32_t CellY[12] = {};
    uint8_t Glass[StoreSize] = {};
    int32_t Marks[StoreSize] = {};
    bool Drawing = false;

    // Where drawing goes; null draws nothing. Set by the renderer.
    TGlassPainter *Painter = nullptr;

private:
    bool CanPaint() const { return Drawing && BackDC != nullptr; }
    // GetCell(column, row) == FilledCell, without the call: the search's hot path.
    bool FilledAt(int32_t column, int32_t row) const {
        return column >= 0 && row >= 0 && column < Width && row < Height && column < MaxWidth &&
               row < MaxHeight && SameParity(column, row) &&
               Glass[StoreIndex(column, row)] == FilledCell;
    }
    bool FigureStepBlocked(int32_t dx, int32_t dy) const;
    bool LandingBelow() const;
    void LandFigure();
    bool UpLineFull(int32_t r) const;
    bool DownLineFull(int32_t r) const;
    void RemoveLine(int32_t r, int32_t oddRowOffset);
    int32_t RemoveFullLines(int32_t firstRow, int32_t lowestRow, int32_t oddRowOffset);
    void LabelGroups();
    bool DropLooseGroups();
    void FlashFullLines(int32_t firstRow, int32_t lowestRow, int32_t oddRowOffset, int32_t step);
    int32_t ValueGlassUnguarded() const;
    int32_t NextKind();

    KindSource KindPicker = nullptr;
    void *KindContext = nullptr;
};

// Calendar time, in seconds, at which the current game began.
extern int64_t GameStartTime;
