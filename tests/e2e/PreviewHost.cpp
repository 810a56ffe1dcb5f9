// Plays the desktop's part in a preview: makes a small top-level window,
// starts "SCR /p HWND" in it and watches the saver from outside, across
// processes. Every check prints one line, "ok: ..." or "FAIL: ..."; the exit
// code is the number of failures. Usage:
//   PreviewHost SCR input      child's place and size, keys and moves ignored,
//                              each mouse button ends it
//   PreviewHost SCR destroy    the host destroys its window
//   PreviewHost SCR killhost   a second host process is killed
//   PreviewHost SCR hold       (for killhost) host the saver until killed
//   PreviewHost LINE launch    start the command line LINE exactly as given
//                              (wine would quote it) and return its exit code
//   PreviewHost PATH shortpath print the platform's short form of PATH
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const char HostClass[] = "StakkoPreviewHost";
const char SaverClass[] = "Vornel Hex Stakko Screen Saver";
// The desktop's preview area.
constexpr int HostWidth = 152;
constexpr int HostHeight = 112;
// Wine starts a process in about a second; leave room for a loaded machine.
constexpr DWORD StartLimit = 20000;
constexpr DWORD EndLimit = 10000;
// How long ignored input is given to take effect, were it not ignored.
constexpr DWORD IgnoredInputWait = 2000;
constexpr DWORD HoldLimit = 60000;

int Failures = 0;

void Check(bool ok, const char *what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what);
    std::fflush(stdout);
    if (!ok)
        ++Failures;
}

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND CreateHost(int width = HostWidth, int height = HostHeight) {
    WNDCLASSA hostClass = {};
    hostClass.lpfnWndProc = HostProc;
    hostClass.hInstance = GetModuleHandleA(nullptr);
    hostClass.lpszClassName = HostClass;
    hostClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    RegisterClassA(&hostClass);
    // A popup: its client area is the whole window.
    return CreateWindowExA(0, HostClass, "Preview host", WS_POPUP | WS_VISIBLE, 40, 40, width,
                           height, nullptr, nullptr, hostClass.hInstance, nullptr);
}

// Dispatches the host's messages until done() or the limit. The saver's
// window creation sends messages to its parent, so the host must not block.
template <typename TDone> bool PumpUntil(DWORD limit, TDone done) {
    DWORD start = GetTickCount();
    for (;;) {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        if (done())
            return true;
        DWORD spent = GetTickCount() - start;
        if (spent >= limit)
            return false;
        DWORD left = limit - spent;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, left < 50 ? left : 50, QS_ALLINPUT);
    }
}

bool Ended(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

bool StartProcess(const std::string &commandLine, PROCESS_INFORMATION &process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string line = commandLine;
    return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process) != 0;
}

bool StartPreview(const char *scr, HWND host, PROCESS_INFORMATION &saver) {
    char line[400];
    std::snprintf(line, sizeof line, "\"%s\" /p %ld", scr,
                  static_cast<long>(reinterpret_cast<INT_PTR>(host)));
    std::printf("host window %ld\n", static_cast<long>(reinterpret_cast<INT_PTR>(host)));
    std::fflush(stdout);
    return StartProcess(line, saver);
}

HWND FindSaverChild(HWND host) {
    return FindWindowExA(host, nullptr, SaverClass, nullptr);
}

// The child is made visible only after its creation has returned.
HWND WaitForChild(HWND host) {
    HWND child = nullptr;
    PumpUntil(StartLimit, [&] {
        child = FindSaverChild(host);
        return child && IsWindowVisible(child);
    });
    return child;
}

// Waits for the saver's end while the host keeps its messages flowing.
void CheckEndsWithZero(HANDLE saver, const char *what) {
    bool ended = PumpUntil(EndLimit, [&] { return Ended(saver); });
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(saver, &code);
    std::string text = std::string(what) + " ends the saver with exit code 0";
    Check(ended && code == 0, text.c_str());
    if (!ended)
        TerminateProcess(saver, 99);
}

void CheckPlaceAndSize(HWND host, HWND child, DWORD saverId) {
    Check(GetParent(child) == host, "the saver's window is a child of the host window");
    DWORD owner = 0;
    GetWindowThreadProcessId(child, &owner);
    Check(owner == saverId, "the child window belongs to the saver's process");
    RECT client = {};
    GetClientRect(child, &client);
    Check(client.left == 0 && client.top == 0 && client.right == HostWidth &&
              client.bottom == HostHeight,
          "the child's client area is the host's client size");
    RECT hostClient = {};
    GetClientRect(host, &hostClient);
    MapWindowPoints(host, nullptr, reinterpret_cast<POINT *>(&hostClient), 2);
    RECT placed = {};
    GetWindowRect(child, &placed);
    Check(EqualRect(&placed, &hostClient) != 0, "the child covers the host's client area");
    LONG style = GetWindowLongA(child, GWL_STYLE);
    Check((style & (WS_CHILD | WS_VISIBLE | WS_DISABLED)) == (WS_CHILD | WS_VISIBLE | WS_DISABLED),
          "the child is visible and disabled");
}

void SendIgnoredInput(HWND child) {
    const WPARAM keys[] = {VK_ESCAPE, 'A', VK_LEFT, VK_SPACE, VK_RETURN};
    for (WPARAM key : keys) {
        PostMessageA(child, WM_KEYDOWN, key, 1);
        PostMessageA(child, WM_KEYUP, key, 0xC0000001);
    }
    for (int i = 0; i < 12; ++i)
        PostMessageA(child, WM_MOUSEMOVE, 0, MAKELPARAM(5 + 9 * i, 3 + 7 * i));
}

void CloseProcess(PROCESS_INFORMATION &process) {
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

// One preview per mouse button: the first also has its geometry and the
// ignored input checked.
int RunInput(const char *scr) {
    const UINT buttons[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    const char *names[] = {"the left button", "the right button", "the middle button"};
    for (int i = 0; i < 3; ++i) {
        HWND host = CreateHost();
        PROCESS_INFORMATION saver = {};
        if (!host || !StartPreview(scr, host, saver)) {
            Check(false, "the host window and the saver start");
            return Failures;
        }
        HWND child = WaitForChild(host);
        Check(child != nullptr, "the saver's child window appears in the host");
        if (child && i == 0) {
            CheckPlaceAndSize(host, child, saver.dwProcessId);
            SendIgnoredInput(child);
            PumpUntil(IgnoredInputWait, [] { return false; });
            Check(!Ended(saver.hProcess) && IsWindow(child),
                  "keys and mouse moves leave the preview running");
        }
        if (child) {
            PostMessageA(child, buttons[i], MK_LBUTTON, MAKELPARAM(10, 10));
            CheckEndsWithZero(saver.hProcess, names[i]);
        } else {
            TerminateProcess(saver.hProcess, 99);
        }
        CloseProcess(saver);
        DestroyWindow(host);
    }
    return Failures;
}

int RunDestroy(const char *scr) {
    HWND host = CreateHost();
    PROCESS_INFORMATION saver = {};
    if (!host || !StartPreview(scr, host, saver)) {
        Check(false, "the host window and the saver start");
        return Failures;
    }
    HWND child = WaitForChild(host);
    Check(child != nullptr, "the saver's child window appears in the host");
    DestroyWindow(host);
    CheckEndsWithZero(saver.hProcess, "destroying the host window");
    CloseProcess(saver);
    return Failures;
}

// A host of one pixel: the saver draws into it for a while without a fault
// (the smallest glass), and ends with its host.
int RunTiny(const char *scr) {
    HWND host = CreateHost(1, 1);
    PROCESS_INFORMATION saver = {};
    if (!host || !StartPreview(scr, host, saver)) {
        Check(false, "the 1 x 1 host window and the saver start");
        return Failures;
    }
    HWND child = WaitForChild(host);
    Check(child != nullptr, "the saver's child window appears in the 1 x 1 host");
    RECT client = {};
    if (child)
        GetClientRect(child, &client);
    Check(client.right == 1 && client.bottom == 1, "the child is 1 x 1 pixel");
    PumpUntil(3000, [&] { return Ended(saver.hProcess); });
    Check(!Ended(saver.hProcess), "the saver plays on in a 1 x 1 host");
    DestroyWindow(host);
    CheckEndsWithZero(saver.hProcess, "destroying the 1 x 1 host window");
    CloseProcess(saver);
    return Failures;
}

// The host of "hold": pumps its messages until it is killed.
int RunHold(const char *scr) {
    HWND host = CreateHost();
    PROCESS_INFORMATION saver = {};
    if (!host || !StartPreview(scr, host, saver))
        return 1;
    PumpUntil(HoldLimit, [] { return false; });
    return 0;
}

int RunKillHost(const char *scr) {
    char self[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, self, sizeof self);
    PROCESS_INFORMATION holder = {};
    if (!StartProcess("\"" + std::string(self) + "\" \"" + scr + "\" hold", holder)) {
        Check(false, "the second host process starts");
        return Failures;
    }
    HWND child = nullptr;
    PumpUntil(StartLimit, [&] {
        HWND host = FindWindowA(HostClass, nullptr);
        child = host ? FindSaverChild(host) : nullptr;
        return child != nullptr;
    });
    Check(child != nullptr, "the saver's child window appears in the other host");
    DWORD saverId = 0;
    if (child)
        GetWindowThreadProcessId(child, &saverId);
    HANDLE saver = saverId
                       ? OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE,
                                     FALSE, saverId)
                       : nullptr;
    Check(saver != nullptr, "the saver's process can be watched");
    TerminateProcess(holder.hProcess, 9);
    WaitForSingleObject(holder.hProcess, EndLimit);
    if (saver) {
        CheckEndsWithZero(saver, "killing the host process");
        CloseHandle(saver);
    }
    CloseProcess(holder);
    return Failures;
}

// The saver's exit code, or 99 when it did not end within the limit.
int RunLaunch(const char *commandLine) {
    PROCESS_INFORMATION process = {};
    if (!StartProcess(commandLine, process))
        return 98;
    DWORD code = 99;
    if (WaitForSingleObject(process.hProcess, HoldLimit) == WAIT_OBJECT_0)
        GetExitCodeProcess(process.hProcess, &code);
    else
        TerminateProcess(process.hProcess, 99);
    CloseProcess(process);
    return static_cast<int>(code);
}

int PrintShortPath(const char *path) {
    char shortPath[MAX_PATH] = "";
    DWORD length = GetShortPathNameA(path, shortPath, sizeof shortPath);
    if (length == 0 || length >= sizeof shortPath)
        return 1;
    std::printf("%s\n", shortPath);
    return 0;
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 3) {
        std::fprintf(
            stderr,
            "usage: PreviewHost SCR input|destroy|killhost|tiny|hold, PreviewHost LINE launch, "
            "PreviewHost PATH shortpath\n");
        return 2;
    }
    const char *scr = argv[1];
    std::string mode = argv[2];
    if (mode == "input")
        return RunInput(scr);
    if (mode == "destroy")
        return RunDestroy(scr);
    if (mode == "killhost")
        return RunKillHost(scr);
    if (mode == "hold")
        return RunHold(scr);
    if (mode == "tiny")
        return RunTiny(scr);
    if (mode == "launch")
        return RunLaunch(scr);
    if (mode == "shortpath")
        return PrintShortPath(scr);
    std::fprintf(stderr, "unknown mode %s\n", mode.c_str());
    return 2;
}
