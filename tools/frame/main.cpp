// stakko-frame: renders the picture a full redraw makes for a client area
// of the given size, into a 24-bit BMP file.
#include <windows.h>

#include <cstdio>
#include <ctime>
#include <string>
#include <vector>

#include "BmpFile.h"
#include "DemoPlay.h"
#include "FrameOptions.h"
#include "driver/win32/Locks.h"
#include "game/Stakko.h"
#include "render/win32/Form.h"
#include "saver/Settings.h"

namespace {
constexpr int UsageExit = 2;
constexpr int FailureExit = 1;
constexpr int32_t DemoFigures = 300;

void ApplySettings(const TFrameOptions &options) {
    Settings.Palette = options.Palette;
    Settings.ShowInfo = !options.NoInfo;
    Settings.ShowBkgr = !options.Plain;
    RunMode = options.Preview ? Preview : Saver;
    StartTime = static_cast<int64_t>(std::time(nullptr));
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

int Fail(const char *what) {
    std::fprintf(stderr, "stakko-frame: %s\n", what);
    return FailureExit;
}

int Render(const TFrameOptions &options) {
    ApplySettings(options);
    if (!CreateSyncObjects())
        return Fail("cannot create the locks");
    HWND window = MakeHiddenPopup(options.Width, options.Height);
    if (!window)
        return Fail("cannot create a window");
    bool written = false;
    {
        TStakko game;
        TForm form(game);
        form.SetWindow(window);
        if (form.ClientWidth != options.Width || form.ClientHeight != options.Height) {
            form.SetWindow(nullptr);
            DestroyWindow(window);
            return Fail("the window's client area is not of the size asked");
        }
        if (options.Demo)
            PlayDemo(game, DemoFigures);
        form.ClearScreen();
        written = WriteBmp(form.BackDC, options.Width, options.Height, options.Output);
        form.SetWindow(nullptr);
    }
    DestroyWindow(window);
    CloseSyncObjects();
    return written ? 0 : Fail("cannot write the picture");
}
} // namespace

int main(int argc, char **argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    TFrameOptions options;
    if (!ParseFrameOptions(args, options)) {
        std::fprintf(stderr, "%s\n", FrameUsage);
        return UsageExit;
    }
    return Render(options);
}
