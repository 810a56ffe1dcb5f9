#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <utility>

#include "driver/PlaySession.h"
#include "game/Figures.h"
#include "game/Lattice.h"
#include "player/Player.h"
#include "tests/core/TestSupport.h"

namespace {
// The standard glass and a large one, in microseconds.
void Glasses(benchmark::internal::Benchmark *b) {
    b->Args({11, 33})->Args({31, 71})->Unit(benchmark::kMicrosecond);
}

// Four full up lines at the bottom, a column standing on them, and loose
// groups in the middle that fall a cell per pass once the lines are gone.
void BuildClearingGlass(TStakko &s, int32_t width, int32_t height) {
    test::MakeGlass(s, width, height);
    for (int32_t line = 0; line < 4; ++line)
        test::FillUpLine(s, height - 1 - 2 * line);
    for (int32_t row = height - 9; row > height - 17; row -= 2)
        s.SetCell(0, row, 1);         // grounded on the lines
    const int32_t m = height / 2 - 1; // a zigzag of three and, apart, a vertical pair
    for (auto [column, row] :
         {std::pair{2, m}, {3, m + 1}, {4, m}, {width - 2, m - 4}, {width - 2, m - 2}})
        s.SetCell(column, row, 1);
}

// ClearLines changes the glass: each iteration starts from a copy of it,
// with no change record, as in the placement search.
void BM_ClearLines(benchmark::State &state) {
    const int32_t width = int32_t(state.range(0)), height = int32_t(state.range(1));
    TStakko s;
    BuildClearingGlass(s, width, height);
    uint8_t original[StoreSize];
    std::memcpy(original, s.Glass, sizeof original);

    int32_t removed = s.ClearLines();
    if (removed != 4) {
        state.SkipWithError("the glass does not clear four lines");
        return;
    }
    for (auto _ : state) {
        std::memcpy(s.Glass, original, sizeof original);
        benchmark::ClobberMemory();
        removed = s.ClearLines();
        benchmark::DoNotOptimize(removed);
    }
}
BENCHMARK(BM_ClearLines)->Apply(Glasses);

// A fixed sequence of kinds for the figures that come into play.
struct TFixedKinds final : TKindSource {
    std::minstd_rand Random{20240601u};
    int32_t NextKind() override { return static_cast<int32_t>(Random() % KindCount); }
};

int32_t TopFilledRow(const TStakko &s) {
    for (int32_t row = 0; row < s.Height; ++row)
        for (int32_t column = 0; column < s.Width; ++column)
            if (s.GetCell(column, row) == FilledCell)
                return row;
    return s.Height;
}

// A mid-game position: the automatic player plays a fixed game until the
// stack fills about a third of the rows; the next figure is then in play.
std::unique_ptr<TPlaySession> MidGame(int32_t width, int32_t height, TFixedKinds &kinds) {
    auto session = std::make_unique<TPlaySession>(TSessionOptions{}, TNow{}, &kinds);
    session->FitGlass(TGlassFit{true, 0, 0, width, height}, TNow{});
    TSteppedPlay play(*session, TNow{});
    const TStakko &s = session->Game();
    while (!s.GameOver && TopFilledRow(s) > height - height / 3)
        while (!play.Next().Landed) {
        }
    return session;
}

void BM_SearchPlacement(benchmark::State &state) {
    const int32_t width = int32_t(state.range(0)), height = int32_t(state.range(1));
    TFixedKinds kinds;
    std::unique_ptr<TPlaySession> session = MidGame(width, height, kinds);
    const TStakko &s = session->Game();
    if (s.GameOver) {
        state.SkipWithError("the fixed game ended before reaching mid-game");
        return;
    }
    // The search works on copies: each iteration searches the same position.
    TPlacement placement;
    for (auto _ : state) {
        placement = SearchPlacement(s);
        benchmark::DoNotOptimize(placement);
    }
    state.counters["trials"] = placement.Trials;
    state.SetLabel("kind " + std::to_string(s.Kind));
}
BENCHMARK(BM_SearchPlacement)->Apply(Glasses)->UseRealTime();
} // namespace
