#include "saver/win32/SettingsStore.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "driver/win32/GameObjects.h"
#include "driver/win32/Locks.h"
#include "game/Trace.h"
#include "saver/Settings.h"
#include "saver/win32/ShellGlobals.h"

namespace {

int32_t ReadNumber(const char *key, int32_t fallback) {
    return static_cast<int32_t>(GetProfileIntA(ProductName, key, fallback));
}

void WriteNumber(const char *key, int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%ld", static_cast<long>(value));
    WriteProfileStringA(ProductName, key, text);
}

void WriteFlag(const char *key, bool on) {
    WriteProfileStringA(ProductName, key, on ? "1" : "0");
}

} // namespace

void LoadSettings() {
    const TSettings defaults;
    try {
        Settings.Time = ReadNumber("Time", defaults.Time);
        Settings.Priority = ReadNumber("Priority", defaults.Priority);
        Settings.Palette = ReadNumber("Palette", defaults.Palette);
        Settings.ShowBkgr = ReadNumber("ShowBkgr", defaults.ShowBkgr) != 0;
        Settings.ShowInfo = ReadNumber("ShowInfo", defaults.ShowInfo) != 0;
        Settings.ManualControl = ReadNumber("ManualControl", defaults.ManualControl) != 0;
        Settings.Score1 = ReadNumber("Score1", defaults.Score1);
        Settings.Score2 = ReadNumber("Score2", defaults.Score2);
        Settings.Score3 = ReadNumber("Score3", defaults.Score3);
    } catch (...) {
        Trace("LoadSettings");
    }
}

void SaveSettings() {
    try {
        {
            TLockGuard guard(GameLock);
            if (!guard.Obtained())
                return;
            OfferScore3(Stakko.Score);
        }
        WriteNumber("Time", Settings.Time);
        WriteNumber("Priority", Settings.Priority);
        WriteFlag("ShowBkgr", Settings.ShowBkgr);
        WriteFlag("ShowInfo", Settings.ShowInfo);
        WriteFlag("ManualControl", Settings.ManualControl);
        WriteNumber("Palette", Settings.Palette);
        WriteProfileStringA(ProductName, "Path", ProgramPath);
        WriteNumber("Score1", Settings.Score1);
        WriteNumber("Score2", Settings.Score2);
        WriteNumber("Score3", Settings.Score3);
        // Lets the older family write its cached profile to disk now.
        WriteProfileStringA(nullptr, nullptr, nullptr);
    } catch (...) {
        Trace("SaveSettings");
    }
}
