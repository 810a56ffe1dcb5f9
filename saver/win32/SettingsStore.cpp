#include "saver/win32/SettingsStore.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>

#include "game/Trace.h"

const char ProductName[] = "Vornel Hex Stakko Screen Saver";

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

TSettings LoadSettings() {
    TSettings settings;
    try {
        ReadSettings(settings, ReadNumber);
    } catch (...) {
        Trace("LoadSettings");
    }
    return settings;
}

void SaveSettings(const TSettings &settings, const char *programPath) {
    try {
        WriteNumber("Time", settings.Time);
        WriteNumber("Priority", settings.Priority);
        WriteFlag("ShowBkgr", settings.ShowBkgr);
        WriteFlag("ShowInfo", settings.ShowInfo);
        WriteFlag("ManualControl", settings.ManualControl);
        WriteNumber("Palette", settings.Palette);
        WriteProfileStringA(ProductName, "Path", programPath);
        WriteNumber("Score1", settings.Best.Score1);
        WriteNumber("Score2", settings.Best.Score2);
        WriteNumber("Score3", settings.Best.Score3);
        // Lets the older family write its cached profile to disk now.
        WriteProfileStringA(nullptr, nullptr, nullptr);
    } catch (...) {
        Trace("SaveSettings");
    }
}
