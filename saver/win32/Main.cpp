// The program's entry: settings, the switch, the shared objects, the mode.
#include <windows.h>

#include <cstdlib>
#include <ctime>

#include "driver/win32/GameThread.h"
#include "driver/win32/Locks.h"
#include "game/Ticks.h"
#include "game/Trace.h"
#include "saver/Settings.h"
#include "saver/Switches.h"
#include "saver/win32/ConfigDialog.h"
#include "saver/win32/Install.h"
#include "saver/win32/Password.h"
#include "saver/win32/SaverWindow.h"
#include "saver/win32/SettingsStore.h"
#include "saver/win32/ShellGlobals.h"

namespace {
constexpr int IconResource = 101;
// Longer than any lock section of the game thread, so that a thread that
// is merely finishing its step is waited for.
constexpr DWORD GameThreadEndWait = 2 * LockTimeout;

// The platform's tick counter: steady across changes of the system clock.
uint32_t PlatformTicks() {
    return GetTickCount();
}

const char *SecondArgument() {
    return __argc > 2 ? __argv[2] : nullptr;
}

void ChooseRunMode(const char *commandLine) {
    TModeChoice choice = ChooseMode(commandLine, SecondArgument());
    if (choice.Install)
        InstallAsScreenSaver();
    RunMode = choice.Mode;
    // Window handles are 32-bit values on 64-bit Windows too, sign-extended
    // into the pointer-sized HWND.
    HostWindow = reinterpret_cast<HWND>(static_cast<intptr_t>(choice.HostWindow));
}

bool RegisterSaverClass() {
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof windowClass;
    windowClass.style = CS_OWNDC;
    windowClass.lpfnWndProc = SaverWindowProc;
    windowClass.hInstance = Instance;
    windowClass.hIcon = LoadIconA(Instance, MAKEINTRESOURCEA(IconResource));
    windowClass.hIconSm = LoadIconA(Instance, MAKEINTRESOURCEA(IconResource));
    windowClass.lpszClassName = ProductName;
    return RegisterClassExA(&windowClass) != 0;
}

int RunChosenMode() {
    switch (RunMode) {
    case Configure:
        return RunConfigure();
    case Preview:
        return RunPreview();
    case ChangePassword:
        return RunChangePassword();
    default:
        return RunSaver();
    }
}

// The game thread uses the shared objects to its last step: close them only
// once it has ended. A thread that does not end keeps them, and the process
// ends at once, before the static game and form objects it may still use are
// destroyed.
void CloseSharedObjects() {
    bool ended = WaitForGameThread(GameThread, GameThreadEndWait);
    if (GameThread)
        CloseHandle(GameThread);
    GameThread = nullptr;
    if (!ended)
        ExitProcess(0);
    CloseSyncObjects();
}
} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
    StartTime = static_cast<int64_t>(std::time(nullptr));
    SetTickSource(PlatformTicks);
    Instance = instance;
    ReadProgramPath();
    LoadSettings();
    ChooseRunMode(commandLine);
    if ((RunMode == Preview || RunMode == Saver) && !RegisterSaverClass())
        return 0;
    CreateSyncObjects();
    try {
        RunChosenMode();
    } catch (...) {
        Trace("WinMain");
    }
    CloseSharedObjects();
    return 0;
}
