// The program's entry: settings, the switch, the mode.
#include <windows.h>

#include <cstdint>
#include <ctime>
#include <string>

#include "driver/win32/Locks.h"
#include "game/Trace.h"
#include "saver/Settings.h"
#include "saver/Switches.h"
#include "saver/win32/ConfigDialog.h"
#include "saver/win32/Install.h"
#include "saver/win32/Password.h"
#include "saver/win32/SaverWindow.h"
#include "saver/win32/SettingsStore.h"

namespace {
// Longer than any lock section of the game thread, so that a thread that
// is merely finishing its step is waited for.
constexpr DWORD GameThreadEndWait = 2 * LockTimeout;

// Element 0 of the argument vector: the module's file name, at most 255
// characters.
std::string ReadProgramPath() {
    char path[256] = "";
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path - 1);
    path[length < sizeof path ? length : sizeof path - 1] = '\0';
    return path;
}

const char *SecondArgument() {
    return __argc > 2 ? __argv[2] : nullptr;
}

// Window handles are 32-bit values on 64-bit Windows too, sign-extended
// into the pointer-sized HWND.
HWND WindowOf(int32_t handle) {
    return reinterpret_cast<HWND>(static_cast<intptr_t>(handle));
}

// The game thread uses the run to its last step: the run may go only once
// the thread has ended. A thread that does not end keeps it, and the
// process ends at once.
void EndRun(TSaverRun &run) {
    bool ended = WaitForGameThread(run.GameThread, GameThreadEndWait);
    if (run.GameThread)
        CloseHandle(run.GameThread);
    run.GameThread = nullptr;
    if (!ended)
        ExitProcess(0);
}

int RunPicture(HINSTANCE instance, const TModeChoice &choice, const TSettings &settings, TNow start,
               const std::string &path) {
    if (!RegisterSaverClass(instance))
        return 0;
    TSaverRun run(choice.Mode, settings, WindowOf(choice.HostWindow), start, path.c_str());
    try {
        if (choice.Mode == Preview)
            RunPreview(instance, run);
        else
            RunSaver(instance, run);
    } catch (...) {
        Trace("WinMain");
    }
    EndRun(run);
    return 0;
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    const TNow start{GetTickCount(), static_cast<int64_t>(std::time(nullptr))};
    const std::string path = ReadProgramPath();
    const TSettings settings = LoadSettings();
    const TModeChoice choice = ChooseMode(commandLine, SecondArgument());
    if (choice.Install)
        InstallAsScreenSaver(path.c_str());
    try {
        switch (choice.Mode) {
        case Configure:
            return RunConfigure(instance, settings, path.c_str());
        case ChangePassword:
            return RunChangePassword(WindowOf(choice.HostWindow));
        default:
            return RunPicture(instance, choice, settings, start, path);
        }
    } catch (...) {
        Trace("WinMain");
    }
    return 0;
}
