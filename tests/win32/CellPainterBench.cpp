// Timing of one figure move on the real drawing path (EraseFigure and
// DrawFigure into a back buffer, FlushDirty to a window) and of a full
// RedrawGlass. Prints the best of several runs; run by hand, not by ctest.
//   stakko_cell_bench [moves per run] [runs]
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "game/Stakko.h"
#include "render/Colours.h"
#include "render/win32/GdiPainter.h"

static double Seconds() {
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return double(t.QuadPart) / double(f.QuadPart);
}

int main(int argc, char **argv) {
    int moves = argc > 1 ? std::max(1, std::atoi(argv[1])) : 2000;
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 7;
    static TStakko Game; // as in the saver: one static game object
    HWND window = CreateWindowExA(0, "STATIC", "bench", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768,
                                  nullptr, nullptr, nullptr, nullptr);
    HDC screen = GetDC(window), back = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1024, 768);
    if (!window || !screen || !back || !bitmap) {
        std::printf("no window or back buffer\n");
        return 1;
    }
    SelectObject(back, bitmap);
    ChooseColours(0);
    Game.Painter = &GdiPainter();
    Game.CreateBrushes();
    Game.SetBoundsRect(TRect{312, 38, 711, 730}); // the glass area of 1024 x 768
    Game.BackDC = back;
    Game.ScreenDC = screen;
    Game.Drawing = true;
    // A vertical bar that falls a cell per move, from the top again.
    const int32_t bar[4] = {0, 2, -2, -4};
    std::copy(bar, bar + 4, Game.CellY);
    std::fill(Game.CellX, Game.CellX + 4, 0);
    Game.FigX = Game.FigY = 4;

    double redraw = 1e9, flush = 1e9, full = 1e9;
    for (int r = 0; r <= runs; ++r) { // one more run warms up
        double drawing = 0, copying = 0;
        for (int i = 0; i < moves; ++i) {
            double t1 = Seconds();
            Game.EraseFigure();
            Game.FigY = Game.FigY + 2 > Game.Height - 3 ? 4 : Game.FigY + 2;
            Game.DrawFigure();
            double t2 = Seconds();
            Game.FlushDirty();
            drawing += t2 - t1;
            copying += Seconds() - t2;
        }
        double t0 = Seconds();
        for (int i = 0; i < 20; ++i) {
            Game.RedrawGlass();
            Game.FlushDirty();
        }
        full = std::min(full, (Seconds() - t0) * 1e6 / 20);
        redraw = std::min(redraw, drawing * 1e6 / moves);
        flush = std::min(flush, copying * 1e6 / moves);
    }
    std::printf("glass %dx%d, %d moves x %d runs, best run in us:\n", Game.Width, Game.Height,
                moves, runs);
    std::printf("move redraw (EraseFigure + DrawFigure): %8.1f\n", redraw);
    std::printf("move flush (FlushDirty):                %8.1f\n", flush);
    std::printf("full RedrawGlass + FlushDirty:          %8.1f\n", full);
    return 0;
}
