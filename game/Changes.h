#pragma once
#include <algorithm>
#include <array>
#include <cstdint>
#include <iterator>
#include <vector>

#include "game/Lattice.h"

// What the picture must show again, in the order it happened: the record
// that the game's moves and the play session write and the renderer draws.

// Cell looks.
constexpr uint8_t LookEmpty = 0;
constexpr uint8_t LookFilled = 1;
constexpr uint8_t LookFlash = 2;

// A line's flash on the screen: twenty frames of at least 50 ms each.
constexpr int32_t FlashFrames = 20;
constexpr uint32_t FlashFrameMs = 50;

struct TChange {
    enum TKind : uint8_t {
        Cell,     // one cell in a look: Column, Row, Look
        Glass,    // every cell as the glass was then: Snapshot
        Flash,    // a full line flashes: rows Row and Row + Step
        Show,     // what has changed so far reaches the screen
        Counters, // the score and the line count
        Screen,   // the whole picture
        Clock,    // the time
    };
    TKind Kind = Show;
    uint8_t Look = 0;
    int32_t Column = 0;
    int32_t Row = 0;
    int32_t Step = 0;
    int32_t Snapshot = 0;
};

// A glass as it was at one moment.
struct TGlassSnapshot {
    int32_t Width = 0;
    int32_t Height = 0;
    std::array<uint8_t, StoreSize> Cells{};
};

// Cleared and filled again for every step; its storage is kept, so a
// session that plays on allocates nothing after its first steps.
class TChanges {
public:
    void Clear() {
        Items.clear();
        SnapshotCount = 0;
    }
    void Cell(int32_t column, int32_t row, uint8_t look) {
        Add(TChange{TChange::Cell, look, column, row, 0, 0});
    }
    void Glass(int32_t width, int32_t height, const uint8_t (&cells)[StoreSize]);
    void Flash(int32_t row, int32_t step) { Add(TChange{TChange::Flash, 0, 0, row, step, 0}); }
    void Show() { Add(TChange{TChange::Show}); }
    void Counters() { Add(TChange{TChange::Counters}); }
    void Screen() { Add(TChange{TChange::Screen}); }
    void Clock() { Add(TChange{TChange::Clock}); }

    const std::vector<TChange> &All() const { return Items; }
    const TGlassSnapshot &Snapshot(int32_t index) const { return Snapshots[index]; }

private:
    void Add(const TChange &change) { Items.push_back(change); }

    std::vector<TChange> Items;
    std::vector<TGlassSnapshot> Snapshots; // the first SnapshotCount are this step's
    int32_t SnapshotCount = 0;
};

inline void TChanges::Glass(int32_t width, int32_t height, const uint8_t (&cells)[StoreSize]) {
    if (SnapshotCount == static_cast<int32_t>(Snapshots.size()))
        Snapshots.emplace_back();
    TGlassSnapshot &snapshot = Snapshots[SnapshotCount];
    snapshot.Width = width;
    snapshot.Height = height;
    std::copy(std::begin(cells), std::end(cells), snapshot.Cells.begin());
    Add(TChange{TChange::Glass, 0, 0, 0, 0, SnapshotCount++});
}
