// stakko-play.exe [SECONDS] [--manual]: the game in a real 1024 x 768 popup
// window with its game thread, as the saver runs it, for measuring and
// watching the driver before the saver's own window exists. Ends after
// SECONDS (default 30). With --manual a timer presses VK_DOWN every 400 ms,
// so play stays under manual control.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "driver/win32/GameObjects.h"
#include "driver/win32/GameThread.h"
#include "driver/win32/Locks.h"
#include "driver/win32/ManualKey.h"
#include "saver/Settings.h"

namespace {
constexpr UINT_PTR ClockTimer = 1;
constexpr UINT_PTR EndTimer = 2;
constexpr UINT_PTR KeyTimer = 3;

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_PAINT: {
        PAINTSTRUCT paint;
        BeginPaint(window, &paint);
        EndPaint(window, &paint);
        Form.ClearScreen();
        return 0;
    }
    case WM_TIMER:
        if (wParam == ClockTimer) {
            Form.ShowTime();
            Form.FlushDirtyRect();
        } else if (wParam == KeyTimer) {
            ManualKey(Form, VK_DOWN);
        } else if (wParam == EndTimer) {
            SetEvent(StopEvent);
        }
        return 0;
    case WM_DESTROY:
        KillTimer(window, ClockTimer);
        SetEvent(StopEvent);
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
} // namespace

int main(int argc, char **argv) {
    int seconds = 30;
    bool manual = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--manual") == 0)
            manual = true;
        else if ((seconds = std::atoi(argv[i])) <= 0) {
            std::fprintf(stderr, "usage: stakko-play [SECONDS] [--manual]\n");
            return 2;
        }
    }
    RunMode = Saver;
    if (!CreateSyncObjects())
        return 1;
    WNDCLASSA wc = {};
    wc.style = CS_OWNDC;
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "StakkoPlay";
    RegisterClassA(&wc);
    SaverWindow = CreateWindowExA(WS_EX_TOPMOST, "StakkoPlay", "Stakko Play", WS_POPUP | WS_VISIBLE,
                                  0, 0, 1024, 768, nullptr, nullptr, wc.hInstance, nullptr);
    if (!SaverWindow)
        return 1;
    Form.SetWindow(SaverWindow);
    SetTimer(SaverWindow, ClockTimer, 1000, nullptr);
    SetTimer(SaverWindow, EndTimer, static_cast<UINT>(seconds) * 1000u, nullptr);
    if (manual)
        SetTimer(SaverWindow, KeyTimer, 400, nullptr);
    HANDLE thread = StartGameThread();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    bool ended = WaitForGameThread(thread, 5000);
    if (thread)
        CloseHandle(thread);
    if (ended)
        CloseSyncObjects();
    std::printf("score %d lines %d\n", Stakko.Score, Stakko.Lines);
    return 0;
}
