#include "saver/win32/SaverWindow.h"

#include "driver/win32/GameObjects.h"
#include "driver/win32/GameThread.h"
#include "driver/win32/Locks.h"
#include "driver/win32/ManualKey.h"
#include "saver/InputRules.h"
#include "saver/Settings.h"
#include "saver/win32/Password.h"
#include "saver/win32/SettingsStore.h"
#include "saver/win32/ShellGlobals.h"

HANDLE GameThread = nullptr;

namespace {
constexpr UINT_PTR ClockTimer = 1;
constexpr UINT ClockPeriod = 1000;
const char WindowTitle[] = "Stakko screen saver";

// The window is gone or going: the game thread stops and the loop ends.
void EndRun(HWND window) {
    KillTimer(window, ClockTimer);
    SetEvent(StopEvent);
    PostQuitMessage(0);
}

void Paint(HWND window) {
    RECT update = {};
    GetUpdateRect(window, &update, FALSE);
    PAINTSTRUCT paint;
    bool begun = update.left != 0 || update.right != 0;
    if (begun)
        BeginPaint(window, &paint);
    Form.ClearScreen();
    if (begun)
        EndPaint(window, &paint);
}

void Tick() {
    Form.ShowTime();
    Form.FlushDirtyRect();
    // A preview host may vanish without its child ever being told (its
    // process killed): then nothing would end this process.
    if (RunMode == Preview && !IsWindow(HostWindow))
        EndRun(SaverWindow);
}

void Act(TInputAction action, WPARAM key) {
    if (action == TInputAction::ManualKey)
        ManualKey(Form, static_cast<uint32_t>(key));
    else if (action == TInputAction::RequestEnd)
        RequestEnd();
}

void RunMessageLoop(MSG &message) {
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void SetPriorities() {
    TPriorityPlan plan = PriorityPlan(Settings.Priority, Settings.ManualControl);
    if (plan.WindowThreadTimeCritical)
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    if (plan.GameThreadLowest)
        SetThreadPriority(GameThread, THREAD_PRIORITY_LOWEST);
    if (plan.ProcessNormalClass)
        SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    if (plan.GameThreadHighest)
        SetThreadPriority(GameThread, THREAD_PRIORITY_HIGHEST);
}

void SetSaverRunning(bool on) {
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on ? TRUE : FALSE, &previous, 0);
}

// The game thread answers the stop with WM_DESTROY; without one, the window
// tells itself, so the run still ends.
void Stop() {
    SetEvent(StopEvent);
    if (!GameThread)
        PostMessageA(SaverWindow, WM_DESTROY, 0, 0);
}

int Width(const RECT &r) {
    return r.right - r.left;
}
int Height(const RECT &r) {
    return r.bottom - r.top;
}
} // namespace

HWND CreateSaverWindow(int width, int height, HWND parent) {
    DWORD style = parent ? WS_CHILD | WS_VISIBLE | WS_DISABLED : WS_POPUP | WS_VISIBLE;
    HWND window = CreateWindowExA(0, ProductName, WindowTitle, style, 0, 0, width, height, parent,
                                  nullptr, Instance, nullptr);
    SaverWindow = window;
    Form.SetWindow(window);
    return window;
}

void RequestEnd() {
    switch (EndAction(RunMode)) {
    case TEndAction::AskPassword:
        if (AskPassword())
            Stop();
        break;
    case TEndAction::StopNow:
        Stop();
        break;
    case TEndAction::Nothing:
        break;
    }
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_NCCREATE:
        return 1;
    case WM_CREATE:
        SetTimer(window, ClockTimer, ClockPeriod, nullptr);
        return 0;
    case WM_DESTROY:
        EndRun(window);
        return 0;
    case WM_NCDESTROY:
        // A host that dies may take its child along with only this message.
        EndRun(window);
        return DefWindowProcA(window, message, wParam, lParam);
    case WM_CLOSE:
        switch (CloseAction(RunMode, StopRequested())) {
        case TCloseAction::RequestEnd:
            RequestEnd();
            return 0;
        case TCloseAction::Ignore:
            return 0;
        case TCloseAction::Default:
            break;
        }
        break;
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(window);
        return 0;
    case WM_TIMER:
        Tick();
        return 0;
    case WM_KEYDOWN:
        Act(KeyDownAction(RunMode, Settings.ManualControl, StopRequested(),
                          static_cast<uint32_t>(wParam)),
            wParam);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Act(ButtonAction(StopRequested()), 0);
        return 0;
    case WM_MOUSEMOVE:
        Act(MouseMoveAction(RunMode, StopRequested(), MouseMoveCountdown), 0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

int RunPreview() {
    RECT host = {};
    // No host, or a number that names no window: nothing to draw into.
    if (!HostWindow || !IsWindow(HostWindow) || !GetClientRect(HostWindow, &host))
        return 0;
    if (!CreateSaverWindow(Width(host), Height(host), HostWindow))
        return 0;
    GameThread = StartGameThread();
    MSG message = {};
    RunMessageLoop(message);
    return static_cast<int>(message.wParam);
}

int RunSaver() {
    MouseMoveCountdown = MouseMovesToEnd;
    HWND foreground = GetForegroundWindow();
    ShowCursor(FALSE);
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    HWND window = CreateSaverWindow(Width(desktop), Height(desktop), nullptr);
    SetSaverRunning(true);
    GameThread = StartGameThread();
    SetPriorities();
    MSG message = {};
    // Without a window no input could ever end the run.
    if (window)
        RunMessageLoop(message);
    if (RunMode == Saver)
        SaveSettings();
    SetSaverRunning(false);
    ShowCursor(TRUE);
    SetForegroundWindow(foreground);
    return static_cast<int>(message.wParam);
}
