#pragma once
#include <windows.h>

#include <cstdint>

#include "driver/PlayLoop.h"
#include "driver/win32/SharedPlay.h"
#include "saver/InputRules.h"
#include "saver/Settings.h"
#include "saver/Switches.h"

// One run of the picture, full screen or in a preview: everything it uses,
// made in WinMain from the settings. The window procedure reaches it
// through the window.
struct TSaverRun {
    TSaverRun(TRunMode mode, const TSettings &settings, HWND host, TNow start,
              const char *programPath);

    const TRunMode Mode;
    const TSettings Settings;
    const HWND Host;               // the preview's host window
    const char *const ProgramPath; // stored as Path when the run ends
    TSystemClock Clock;
    TPlayLoop Loop;
    TSharedPlay Shared;
    HANDLE GameThread = nullptr;
    int32_t MouseMoveCountdown = MouseMovesToEnd; // moves left before it asks to end
};

// The window class of both runs; false when it cannot be registered.
bool RegisterSaverClass(HINSTANCE instance);

// The run's picture bound to its window, the game in the part `game` of
// its client. Without a device context or a back buffer for the window
// there is no picture to show: the program ends with status 1.
void BindWindow(TSaverRun &run, HWND window, const TRect &game);

// Creates the full-screen popup (parent null) or the preview child at the
// place (screen or parent coordinates) and binds the picture to it.
HWND CreateSaverWindow(HINSTANCE instance, TSaverRun &run, const TRect &place, const TRect &game,
                       HWND parent);
LRESULT CALLBACK SaverWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// What a wish of the user to leave means in the run's mode.
void RequestEnd(TSaverRun &run);

int RunPreview(HINSTANCE instance, TSaverRun &run);
int RunSaver(HINSTANCE instance, TSaverRun &run);
