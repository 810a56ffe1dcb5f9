#pragma once
#include <windows.h>

// Plain windows for the drawing tests, and draining their messages.
namespace test {
// A popup with the default window procedure, shown without taking the focus.
inline HWND MakePopup(const char *className, int width, int height, bool show = true) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc); // fails harmlessly when the class exists
    HWND window = CreateWindowExA(0, className, className, WS_POPUP, 0, 0, width, height, nullptr,
                                  nullptr, wc.hInstance, nullptr);
    if (window && show)
        ShowWindow(window, SW_SHOWNOACTIVATE);
    return window;
}

// Dispatches what is queued for this thread, a bounded number of messages.
inline void PumpMessages() {
    MSG msg;
    for (int i = 0; i < 1000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++i)
        DispatchMessageA(&msg);
}
} // namespace test
