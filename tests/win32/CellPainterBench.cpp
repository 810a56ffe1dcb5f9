// Timing of one figure move on the real drawing path: EraseFigure and
// DrawFigure (four cells each) into a back buffer compatible with a window,
// then FlushDirty to the window. Prints medians of several runs; it asserts
// nothing and is not run by ctest.
//   stakko_cell_bench [moves per run] [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "game/Stakko.h"
#include "render/Colours.h"
#include "render/win32/GdiPainter.h"

namespace {

constexpr int ClientWidth = 1024;
constexpr int ClientHeight = 768;

double Now() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return double(t.QuadPart) / double(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

HWND MakeWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "StakkoCellBench";
    RegisterClassA(&wc);
    HWND window =
        CreateWindowExA(0, wc.lpszClassName, "bench", WS_POPUP | WS_VISIBLE, 0, 0, ClientWidth,
                        ClientHeight, nullptr, nullptr, wc.hInstance, nullptr);
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageA(&msg);
    return window;
}

// A vertical bar of four cells that falls a cell per move, from the top again.
void PlaceBar(TStakko &game) {
    const int32_t offsets[4] = {0, 2, -2, -4};
    for (int i = 0; i < 4; ++i) {
        game.CellX[i] = 0;
        game.CellY[i] = offsets[i];
    }
    game.FigX = 4;
    game.FigY = 4;
}

void MoveBar(TStakko &game) {
    game.FigY = game.FigY + 2 > game.Height - 3 ? 4 : game.FigY + 2;
}

struct TRun {
    double Redraw; // µs per move: EraseFigure + DrawFigure
    double Flush;  // µs per move: FlushDirty
};

TRun TimeMoves(TStakko &game, int moves) {
    double redraw = 0, flush = 0;
    for (int i = 0; i < moves; ++i) {
        double t0 = Now();
        game.EraseFigure();
        MoveBar(game);
        game.DrawFigure();
        double t1 = Now();
        game.FlushDirty();
        double t2 = Now();
        redraw += t1 - t0;
        flush += t2 - t1;
    }
    return TRun{redraw * 1e6 / moves, flush * 1e6 / moves};
}

double TimeFullRedraws(TStakko &game, int count) {
    double t0 = Now();
    for (int i = 0; i < count; ++i) {
        game.RedrawGlass();
        game.FlushDirty();
    }
    return (Now() - t0) * 1e6 / count;
}

} // namespace

int main(int argc, char **argv) {
    int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;

    HWND window = MakeWindow();
    HDC screen = GetDC(window);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, ClientWidth, ClientHeight);
    HDC back = CreateCompatibleDC(screen);
    if (!window || !screen || !bitmap || !back) {
        std::printf("no window or back buffer\n");
        return 1;
    }
    HGDIOBJ previous = SelectObject(back, bitmap);

    static TStakko game; // as in the saver: one static game object
    ChooseColours(0);
    game.Painter = &GdiPainter();
    game.CreateBrushes();
    game.SetBoundsRect(TRect{312, 38, 711, 730}); // the glass area of 1024 x 768
    game.BackDC = back;
    game.ScreenDC = screen;
    game.Drawing = true;
    game.RedrawGlass();
    game.FlushDirty();
    PlaceBar(game);
    game.DrawFigure();
    game.FlushDirty();

    std::vector<double> redraw, flush, total, full;
    TimeMoves(game, moves / 10 + 1); // warm-up
    for (int r = 0; r < runs; ++r) {
        TRun run = TimeMoves(game, moves);
        redraw.push_back(run.Redraw);
        flush.push_back(run.Flush);
        total.push_back(run.Redraw + run.Flush);
        full.push_back(TimeFullRedraws(game, 20));
    }
    std::printf("glass %dx%d at x %d..%d, %d moves x %d runs (medians)\n", game.Width, game.Height,
                game.GlassRect.Left, game.GlassRect.Right, moves, runs);
    std::printf("move redraw (EraseFigure + DrawFigure, 8 cells): %8.1f us\n", Median(redraw));
    std::printf("move flush (FlushDirty to the window):             %8.1f us\n", Median(flush));
    std::printf("move total:                                        %8.1f us\n", Median(total));
    std::printf("full RedrawGlass + FlushDirty:                     %8.1f us\n", Median(full));

    game.Painter->Release(game);
    game.Painter = nullptr;
    SelectObject(back, previous);
    DeleteDC(back);
    DeleteObject(bitmap);
    ReleaseDC(window, screen);
    DestroyWindow(window);
    return 0;
}
