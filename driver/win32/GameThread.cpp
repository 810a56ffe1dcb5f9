#include "driver/win32/GameThread.h"

#include "driver/Timing.h"
#include "driver/win32/GameObjects.h"
#include "driver/win32/Locks.h"
#include "driver/win32/PlayRoutine.h"
#include "game/Trace.h"

HWND SaverWindow = nullptr;

DWORD WINAPI ThreadLoop(LPVOID) {
    for (;;) {
        try {
            Run(Form);
        } catch (...) {
            Trace("ThreadLoop");
        }
        if (WaitForSingleObject(StopEvent, StepTime) != WAIT_TIMEOUT)
            break;
    }
    PostMessageA(SaverWindow, WM_DESTROY, 0, 0);
    return 0;
}

HANDLE StartGameThread() {
    DWORD id = 0;
    return CreateThread(nullptr, 0, ThreadLoop, nullptr, 0, &id);
}

bool WaitForGameThread(HANDLE thread, DWORD timeout) {
    if (!thread)
        return true;
    return WaitForSingleObject(thread, timeout) == WAIT_OBJECT_0;
}
