// stakko-frame: renders the picture a full redraw makes for a client area
// of the given size, into a 24-bit BMP file.
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "FrameOptions.h"
#include "driver/PlayLoop.h"
#include "render/win32/GdiCanvas.h"
#include "saver/Settings.h"

namespace {
constexpr int UsageExit = 2;
constexpr int FailureExit = 1;
constexpr int32_t DemoFigures = 300;
constexpr int32_t ShownFigures = 10;
constexpr int32_t ExtraFigureLimit = 500;

TSettings SettingsOf(const TFrameOptions &options) {
    TSettings settings;
    settings.Palette = options.Palette;
    settings.ShowInfo = !options.NoInfo;
    settings.ShowBkgr = !options.Plain;
    return settings;
}

// A popup that is never shown: its client area is exactly the size asked.
HWND MakeHiddenPopup(int width, int height) {
    static const char *const ClassName = "StakkoFrame";
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = ClassName;
    RegisterClassA(&wc);
    return CreateWindowExA(0, ClassName, "stakko-frame", WS_POPUP, 0, 0, width, height, nullptr,
                           nullptr, wc.hInstance, nullptr);
}

// The tick count stands still at the seed; the calendar time is today's.
class TFrameClock final : public TClock {
public:
    explicit TFrameClock(uint32_t ticks) : Ticks(ticks) {}
    TNow Now() override { return TNow{Ticks, static_cast<int64_t>(std::time(nullptr))}; }

private:
    uint32_t Ticks;
};

// The automatic player plays the given number of figures without drawing;
// past the count it plays on until the game in play has some figures in
// the glass, so that the picture does not show a fresh, empty game.
void PlayDemo(TPlaySession &session, TNow start, int32_t figures) {
    TSteppedPlay play(session, start);
    int32_t inGame = 0;
    for (int32_t figure = 0; figure < figures + ExtraFigureLimit; ++figure) {
        if (session.Game().GameOver)
            inGame = 0;
        while (!play.Next().Landed) {
        }
        ++inGame;
        if (figure + 1 >= figures && inGame >= ShownFigures && !session.Game().GameOver)
            break;
    }
}

int Fail(const char *what) {
    std::fprintf(stderr, "stakko-frame: %s\n", what);
    return FailureExit;
}

int Render(const TFrameOptions &options) {
    const TSettings settings = SettingsOf(options);
    TFrameClock clock(options.Seeded ? options.Seed : GetTickCount());
    const TNow start = clock.Now();
    HWND window = MakeHiddenPopup(options.Width, options.Height);
    if (!window)
        return Fail("cannot create a window");
    TGdiCanvas canvas;
    if (!canvas.Open(window)) {
        DestroyWindow(window);
        return Fail("cannot make a picture buffer of that size");
    }
    const TRect &client = canvas.Client();
    if (client.Width() != options.Width || client.Height() != options.Height) {
        canvas.Release();
        DestroyWindow(window);
        return Fail("the window's client area is not of the size asked");
    }
    TSessionOptions sessionOptions = SessionOptionsOf(settings, start.Seconds);
    sessionOptions.FlashTime = 0; // nothing is drawn while the demonstration plays
    TPlayLoop loop(sessionOptions, LookOf(settings, !options.Preview), start, clock);
    loop.Bind(canvas, client);
    if (options.Demo)
        PlayDemo(loop.Session(), start, DemoFigures);
    loop.Repaint();
    bool written = WriteBmp(canvas.BackDC(), options.Width, options.Height, options.Output);
    loop.Unbind();
    canvas.Release();
    DestroyWindow(window);
    return written ? 0 : Fail("cannot write the picture");
}
} // namespace

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    TFrameOptions options;
    std::string problem;
    if (!ParseFrameOptions(args, options, problem)) {
        if (!problem.empty())
            std::fprintf(stderr, "stakko-frame: %s\n", problem.c_str());
        std::fprintf(stderr, "%s\n", FrameUsage);
        return UsageExit;
    }
    return Render(options);
}
