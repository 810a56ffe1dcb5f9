#include <benchmark/benchmark.h>

#include <cstring>
#include <utility>

#include "game/Lattice.h"
#include "tests/core/TestSupport.h"

namespace {
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
BENCHMARK(BM_ClearLines)->Args({11, 33})->Args({31, 71})->Unit(benchmark::kMicrosecond);

} // namespace
