#include "saver/win32/SaverWindow.h"

#include "resources/ResourceIds.h"
#include "saver/ScreenArrangement.h"
#include "saver/win32/Password.h"
#include "saver/win32/SettingsStore.h"
#include "saver/win32/VirtualKeys.h"

namespace {
constexpr UINT_PTR ClockTimer = 1;
constexpr UINT ClockPeriod = 1000;
constexpr UINT NoPictureExit = 1;
const char WindowTitle[] = "Stakko screen saver";

TSaverRun *RunOf(HWND window) {
    return reinterpret_cast<TSaverRun *>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// The window is gone or going: the game thread stops and the loop ends.
void EndRun(HWND window, TSaverRun &run) {
    KillTimer(window, ClockTimer);
    run.Shared.Stop();
    PostQuitMessage(0);
}

void Paint(HWND window, TSaverRun &run) {
    RECT update = {};
    GetUpdateRect(window, &update, FALSE);
    PAINTSTRUCT paint;
    bool begun = update.left != 0 || update.right != 0;
    if (begun)
        BeginPaint(window, &paint);
    run.Shared.Repaint();
    if (begun)
        EndPaint(window, &paint);
}

void Tick(HWND window, TSaverRun &run) {
    run.Shared.ClockTick();
    // A preview host may vanish without its child ever being told (its
    // process killed): then nothing would end this process.
    if (run.Mode == Preview && !IsWindow(run.Host))
        EndRun(window, run);
}

void Act(TSaverRun &run, TInputAction action, TKeyAction key = TKeyAction::NoMove) {
    if (action == TInputAction::ManualKey)
        run.Shared.Key(key);
    else if (action == TInputAction::RequestEnd)
        RequestEnd(run);
}

LRESULT Handle(HWND window, TSaverRun &run, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_CREATE:
        SetTimer(window, ClockTimer, ClockPeriod, nullptr);
        return 0;
    case WM_DESTROY:
        EndRun(window, run);
        return 0;
    case WM_NCDESTROY:
        // A host that dies may take its child along with only this message.
        EndRun(window, run);
        break;
    case WM_CLOSE:
        switch (CloseAction(run.Mode, run.Shared.StopRequested())) {
        case TCloseAction::RequestEnd:
            RequestEnd(run);
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
        Paint(window, run);
        return 0;
    case WM_TIMER:
        Tick(window, run);
        return 0;
    case WM_KEYDOWN: {
        TKeyDecision decision =
            KeyDownAction(run.Mode, run.Settings.ManualControl, run.Shared.StopRequested(),
                          KeyOfVirtualKey(static_cast<uint32_t>(wParam)));
        Act(run, decision.Action, decision.Key);
        return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
        Act(run, ButtonAction(run.Shared.StopRequested()));
        return 0;
    case WM_MOUSEMOVE:
        Act(run, MouseMoveAction(run.Mode, run.Shared.StopRequested(), run.MouseMoveCountdown));
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void RunMessageLoop(MSG &message) {
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
}

void SetPriorities(const TSaverRun &run) {
    TPriorityPlan plan = PriorityPlan(run.Settings.Priority, run.Settings.ManualControl);
    if (plan.WindowThreadTimeCritical)
        SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_TIME_CRITICAL);
    if (plan.GameThreadLowest)
        SetThreadPriority(run.GameThread, THREAD_PRIORITY_LOWEST);
    if (plan.ProcessNormalClass)
        SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
    if (plan.GameThreadHighest)
        SetThreadPriority(run.GameThread, THREAD_PRIORITY_HIGHEST);
}

void SetSaverRunning(bool on) {
    BOOL previous = FALSE;
    SystemParametersInfoA(SPI_SETSCREENSAVERRUNNING, on ? TRUE : FALSE, &previous, 0);
}

// The game thread answers the stop with WM_DESTROY; without one, the window
// tells itself, so the run still ends.
void Stop(TSaverRun &run) {
    run.Shared.Stop();
    if (!run.GameThread)
        PostMessageA(run.Shared.Window, WM_DESTROY, 0, 0);
}

// The settings as they were read, with the best scores as the run leaves
// them; a game lock that cannot be had drops the save.
void SaveRun(TSaverRun &run) {
    TSettings settings = run.Settings;
    if (run.Shared.OfferScore(settings.Best))
        SaveSettings(settings, run.ProgramPath);
}

TRect ToRect(const RECT &r) {
    return TRect{r.left, r.top, r.right, r.bottom};
}

// Every monitor's area where the system knows it (98, 2000 and later); 95
// and NT 4 answer 0 for these metrics, which gives an empty rectangle.
TRect VirtualScreen() {
    int32_t left = GetSystemMetrics(SM_XVIRTUALSCREEN);
    int32_t top = GetSystemMetrics(SM_YVIRTUALSCREEN);
    return TRect{left, top, left + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                 top + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
}

// The primary monitor is at the origin, of the screen's size.
TRect PrimaryMonitor() {
    return TRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

TRect DesktopWindowRect() {
    RECT desktop = {};
    GetWindowRect(GetDesktopWindow(), &desktop);
    return ToRect(desktop);
}

// Every monitor, when a back buffer that large can be made (95, 98 and Me
// hold bitmaps of 16 MB at most); else the primary monitor alone. Without
// a virtual screen, the desktop window as ever.
TScreenArrangement ArrangeFullScreen() {
    const TRect virtualScreen = VirtualScreen();
    if (virtualScreen.IsEmpty())
        return ArrangeScreen(TRect{}, DesktopWindowRect());
    const TScreenArrangement every = ArrangeScreen(virtualScreen, PrimaryMonitor());
    if (CanMakeBackBuffer(every.Window.Width(), every.Window.Height()))
        return every;
    return ArrangeScreen(TRect{}, PrimaryMonitor());
}
} // namespace

TSaverRun::TSaverRun(TRunMode mode, const TSettings &settings, HWND host, TNow start,
                     const char *programPath)
    : Mode(mode), Settings(settings), Host(host), ProgramPath(programPath),
      Loop(SessionOptionsOf(settings, start.Seconds), LookOf(settings, mode == Saver), start,
           Clock),
      Shared(Loop) {}

bool RegisterSaverClass(HINSTANCE instance) {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = instance;
    windowClass.hIcon = LoadIconA(instance, MAKEINTRESOURCEA(IDI_STAKKO));
    windowClass.hIconSm = LoadIconA(instance, MAKEINTRESOURCEA(IDI_STAKKO));
    windowClass.lpszClassName = ProductName;
    return RegisterClassExA(&windowClass) != 0;
}

void BindWindow(TSaverRun &run, HWND window, const TRect &game) {
    if (!run.Shared.SetWindow(window, game))
        ExitProcess(NoPictureExit);
}

HWND CreateSaverWindow(HINSTANCE instance, TSaverRun &run, const TRect &place, const TRect &game,
                       HWND parent) {
    DWORD style = parent ? WS_CHILD | WS_VISIBLE | WS_DISABLED : WS_POPUP | WS_VISIBLE;
    HWND window = CreateWindowExA(0, ProductName, WindowTitle, style, place.Left, place.Top,
                                  place.Width(), place.Height(), parent, nullptr, instance, &run);
    BindWindow(run, window, game);
    return window;
}

void RequestEnd(TSaverRun &run) {
    switch (EndAction(run.Mode)) {
    case TEndAction::AskPassword:
        if (AskPassword(run.Shared.Window, run.MouseMoveCountdown))
            Stop(run);
        break;
    case TEndAction::StopNow:
        Stop(run);
        break;
    case TEndAction::Nothing:
        break;
    }
}

LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        // The run comes with the creation; the window keeps no title.
        auto *create = reinterpret_cast<CREATESTRUCTA *>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return 1;
    }
    TSaverRun *run = RunOf(window);
    if (!run)
        return DefWindowProcA(window, message, wParam, lParam);
    return Handle(window, *run, message, wParam, lParam);
}

int RunPreview(HINSTANCE instance, TSaverRun &run) {
    RECT host = {};
    // No host, or a number that names no window: nothing to draw into.
    if (!run.Host || !IsWindow(run.Host) || !GetClientRect(run.Host, &host))
        return 0;
    const TRect client = ToRect(host);
    if (!CreateSaverWindow(instance, run, client, client, run.Host))
        return 0;
    run.GameThread = StartGameThread(run.Shared);
    MSG message = {};
    RunMessageLoop(message);
    return static_cast<int>(message.wParam);
}

int RunSaver(HINSTANCE instance, TSaverRun &run) {
    run.MouseMoveCountdown = MouseMovesToEnd;
    HWND foreground = GetForegroundWindow();
    ShowCursor(FALSE);
    const TScreenArrangement screen = ArrangeFullScreen();
    HWND window = CreateSaverWindow(instance, run, screen.Window, screen.Game, nullptr);
    SetSaverRunning(true);
    run.GameThread = StartGameThread(run.Shared);
    SetPriorities(run);
    MSG message = {};
    // Without a window no input could ever end the run.
    if (window)
        RunMessageLoop(message);
    SaveRun(run);
    SetSaverRunning(false);
    ShowCursor(TRUE);
    SetForegroundWindow(foreground);
    return static_cast<int>(message.wParam);
}
