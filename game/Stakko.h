#pragma once
#include <cstdint>

#include "game/Changes.h"
#include "game/Figures.h"
#include "game/Lattice.h"

// Where the kind of each new figure comes from: the play session's random
// pick, a simulator's list, or (in a trial of the search) a fixed kind.
class TKindSource {
public:
    virtual int32_t NextKind() = 0;

protected:
    ~TKindSource() = default;
};

// The game state: the glass, the falling figure, the score. A plain value:
// copying it copies the whole game, which is how the placement search tries
// moves without touching the game in play. Moves that change what the
// picture shows say so in the optional change record; without one they
// change the state alone.
class TStakko {
public:
    TStakko() { NewFigure(0); }

    // Cell store (board).
    int32_t GetCell(int32_t column, int32_t row) const;
    void SetCell(int32_t column, int32_t row, int32_t value);
    // Empties the glass, zeroes the counters, notes when the game began
    // (calendar seconds) and clears GameOver; the figure stays.
    void NewGame(int64_t startTime);
    bool TopCellFilled() const; // the game-over test
    bool FilledAt(int32_t column, int32_t row) const {
        return StoredCell(Glass, Width, Height, column, row) == FilledCell;
    }

    // Figures and moves. ShiftY's landing places the next figure with a kind
    // from kinds, unless the game is over.
    void NewFigure(int32_t kind);
    int32_t ShiftX(int32_t n, TChanges *changes = nullptr);
    int32_t ShiftY(int32_t n, TKindSource &kinds, TChanges *changes = nullptr);
    int32_t Rotate(int32_t n, TChanges *changes = nullptr);

    // Line clearing: loose groups fall, full lines go; returns the lines
    // removed and adds them to Score and Lines.
    int32_t ClearLines(TChanges *changes = nullptr);
    // Labels the group of filled cells reached from (column, row) in marks;
    // returns how many cells it labelled.
    int32_t MarkGroup(TGroupMarks &marks, int32_t column, int32_t row, int32_t label) const;

    int32_t FigX = 0;
    int32_t FigY = 0;
    int32_t Score = 0;
    int32_t Lines = 0;
    bool GameOver = false;
    int32_t Kind = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t CellX[FigureCells] = {};
    int32_t CellY[FigureCells] = {};
    uint8_t Glass[StoreSize] = {};
    int64_t GameStartTime = 0; // calendar seconds at which the game began

private:
    void RecordFigure(TChanges *changes, uint8_t look) const;
    bool FigureStepBlocked(int32_t dx, int32_t dy) const;
    bool LandingBelow() const;
    void LandFigure(TKindSource &kinds, TChanges *changes);
    bool LineFull(int32_t r, int32_t oddRowOffset) const;
    void RemoveLine(int32_t r, int32_t oddRowOffset);
    int32_t RemoveFullLines(int32_t firstRow, int32_t lowestRow, int32_t oddRowOffset);
    void LabelGroups(TGroupMarks &marks) const;
    bool DropLooseGroups(TChanges *changes);
    void FlashFullLines(int32_t firstRow, int32_t lowestRow, int32_t oddRowOffset, int32_t step,
                        TChanges *changes) const;
};
