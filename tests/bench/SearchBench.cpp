#include <benchmark/benchmark.h>

#include <memory>
#include <random>
#include <string>

#include "driver/PlaySession.h"
#include "game/Figures.h"
#include "game/Lattice.h"
#include "player/Player.h"

namespace {
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
BENCHMARK(BM_SearchPlacement)
    ->Args({11, 33})
    ->Args({31, 71})
    ->Unit(benchmark::kMicrosecond)
    ->UseRealTime();
} // namespace
