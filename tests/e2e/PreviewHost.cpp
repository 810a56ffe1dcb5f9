// Plays the desktop's part in a preview, across processes: a small top-level
// window with "SCR /p HWND" in it. Prints "ok: ..." or "FAIL: ..." per check;
// the exit code is the number of failures. Usage:
//   PreviewHost SCR       place and size, ignored input, each button, a
//                         destroyed, a 1 x 1 and a killed host
//   PreviewHost SCR hold  host the saver until killed (for the above)
#include <windows.h>

#include <cstdio>
#include <string>

#include "../win32/TestSupport.h"

namespace {

const char HostClass[] = "StakkoPreviewHost";
const char SaverClass[] = "Vornel Hex Stakko Screen Saver";
constexpr int HostWidth = 152, HostHeight = 112; // the desktop's preview area
// Wine starts a process in about a second; leave room for a loaded machine.
constexpr DWORD StartLimit = 20000, EndLimit = 10000, HoldLimit = 60000;
int Failures = 0;

void Check(bool ok, const std::string &what) {
    std::printf("%s: %s\n", ok ? "ok" : "FAIL", what.c_str());
    std::fflush(stdout);
    Failures += ok ? 0 : 1;
}

// The saver's window creation sends messages to its parent, so the host
// dispatches its own while it waits.
template <typename TDone> bool PumpUntil(DWORD limit, TDone done) {
    for (DWORD start = GetTickCount();;) {
        test::PumpMessages();
        if (done())
            return true;
        if (GetTickCount() - start >= limit)
            return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 50, QS_ALLINPUT);
    }
}

bool Ended(HANDLE process) {
    return WaitForSingleObject(process, 0) == WAIT_OBJECT_0;
}

bool Start(std::string line, PROCESS_INFORMATION &process) {
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    return CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                          &process) != 0;
}

HWND SaverChild(HWND host) {
    return FindWindowExA(host, nullptr, SaverClass, nullptr);
}

struct Preview {
    HWND host = nullptr, child = nullptr;
    PROCESS_INFORMATION saver = {};
};

// A popup host (its client area is the whole window) with the saver in it;
// waits for the child, made visible only after its creation has returned.
bool Open(const char *scr, Preview &p, int width = HostWidth, int height = HostHeight) {
    p.host = test::MakePopup(HostClass, width, height);
    std::string line =
        "\"" + std::string(scr) + "\" /p " + std::to_string(reinterpret_cast<INT_PTR>(p.host));
    if (p.host && Start(line, p.saver))
        PumpUntil(StartLimit,
                  [&] { return (p.child = SaverChild(p.host)) && IsWindowVisible(p.child); });
    Check(p.child != nullptr, "the saver's child window appears in a " + std::to_string(width) +
                                  " x " + std::to_string(height) + " host");
    return p.child != nullptr;
}

// Waits, pumping, for the saver's end with 0; then closes the preview.
void ExpectEnd(Preview &p, const std::string &what) {
    HANDLE saver = p.saver.hProcess;
    bool ended = saver && PumpUntil(EndLimit, [&] { return Ended(saver); });
    DWORD code = STILL_ACTIVE;
    Check(ended && GetExitCodeProcess(saver, &code) && code == 0,
          what + " ends the saver with exit code 0");
    if (saver && !ended)
        TerminateProcess(saver, 99);
    CloseHandle(saver);
    CloseHandle(p.saver.hThread);
    DestroyWindow(p.host);
}

int RunPreview(const char *scr) {
    const UINT buttons[] = {WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN};
    const char *const names[] = {"left", "right", "middle"};
    for (int i = 0; i < 3; ++i) {
        Preview p;
        if (Open(scr, p) && i == 0) {
            RECT area = {}, placed = {};
            GetClientRect(p.host, &area);
            MapWindowPoints(p.host, nullptr, reinterpret_cast<POINT *>(&area), 2);
            GetWindowRect(p.child, &placed);
            LONG style = GetWindowLongA(p.child, GWL_STYLE);
            LONG wanted = WS_CHILD | WS_VISIBLE | WS_DISABLED;
            Check(EqualRect(&placed, &area) && (style & wanted) == wanted,
                  "the child, visible and disabled, covers the host's client area");
            for (WPARAM key : {VK_ESCAPE, int('A'), VK_LEFT, VK_SPACE, VK_RETURN}) {
                PostMessageA(p.child, WM_KEYDOWN, key, 1);
                PostMessageA(p.child, WM_KEYUP, key, 0xC0000001);
            }
            for (int m = 0; m < 12; ++m)
                PostMessageA(p.child, WM_MOUSEMOVE, 0, MAKELPARAM(5 + 9 * m, 3 + 7 * m));
            PumpUntil(2000, [] { return false; });
            Check(!Ended(p.saver.hProcess) && IsWindow(p.child),
                  "keys and mouse moves leave the preview running");
        }
        if (p.child)
            PostMessageA(p.child, buttons[i], MK_LBUTTON, MAKELPARAM(10, 10));
        ExpectEnd(p, std::string("the ") + names[i] + " button");
    }

    Preview destroyed;
    if (Open(scr, destroyed))
        DestroyWindow(destroyed.host);
    ExpectEnd(destroyed, "destroying the host window");

    // The smallest glass: drawn for a while without a fault.
    Preview tiny;
    if (Open(scr, tiny, 1, 1)) {
        RECT client = {};
        GetClientRect(tiny.child, &client);
        PumpUntil(3000, [&] { return Ended(tiny.saver.hProcess); });
        Check(client.right == 1 && client.bottom == 1 && !Ended(tiny.saver.hProcess),
              "the saver plays on in a 1 x 1 child");
        DestroyWindow(tiny.host);
    }
    ExpectEnd(tiny, "destroying the 1 x 1 host window");

    // A host in a second process, killed. Ours are all gone by now.
    PROCESS_INFORMATION holder = {};
    Preview killed;
    if (Start("\"" + test::ThisProgram() + "\" \"" + scr + "\" hold", holder))
        PumpUntil(StartLimit, [&] {
            HWND host = FindWindowA(HostClass, nullptr);
            return host && (killed.child = SaverChild(host));
        });
    DWORD saverId = 0;
    if (killed.child)
        GetWindowThreadProcessId(killed.child, &saverId);
    if (saverId)
        killed.saver.hProcess = OpenProcess(
            SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, saverId);
    Check(killed.saver.hProcess != nullptr, "the saver in the other host's process is found");
    TerminateProcess(holder.hProcess, 9);
    WaitForSingleObject(holder.hProcess, EndLimit);
    ExpectEnd(killed, "killing the host process");
    CloseHandle(holder.hProcess);
    CloseHandle(holder.hThread);
    return Failures;
}

} // namespace

int main(int argc, char **argv) {
    if (argc == 2)
        return RunPreview(argv[1]);
    if (argc == 3 && std::string(argv[2]) == "hold") {
        Preview p;
        Open(argv[1], p);
        PumpUntil(HoldLimit, [] { return false; });
        return 0;
    }
    std::fprintf(stderr, "usage: PreviewHost SCR [hold]\n");
    return 2;
}
