#include "saver/win32/Install.h"

#include <windows.h>

#include <cstring>

#include "game/Trace.h"
#include "saver/win32/RegistryKey.h"

namespace {

constexpr DWORD PathSize = 260;
// The Windows folder plus "\system.ini" must fit into PathSize.
constexpr UINT LongestWindowsFolder = 248;
// Enough for a responsive window; a hung one is skipped at once.
constexpr UINT BroadcastTimeout = 200;

const char *const ChangedSections[] = {
    "HKEY_CURRENT_USER\\Control Panel\\Desktop",
    "Control Panel\\Desktop",
    "Desktop",
    "boot",
    "[boot]",
    "system.ini",
    "system.ini\\boot",
};

// ASCII case folding: short path names are plain ASCII on every platform.
bool SameIgnoringCase(const char *a, const char *b) {
    for (;; ++a, ++b) {
        char x = *a >= 'a' && *a <= 'z' ? static_cast<char>(*a - 'a' + 'A') : *a;
        char y = *b >= 'a' && *b <= 'z' ? static_cast<char>(*b - 'a' + 'A') : *b;
        if (x != y)
            return false;
        if (x == '\0')
            return true;
    }
}

// False when the stored name could not be read; the installation then stops.
bool StoreInRegistry(RegistryKey &key, const char *shortPath) {
    key.Open(HKEY_CURRENT_USER, "Control Panel\\Desktop", false);
    if (key.Status != 0)
        return false;
    char stored[PathSize] = "";
    key.ReadString("SCRNSAVE.EXE", stored, sizeof stored);
    if (key.Status != 0)
        return false;
    if (!SameIgnoringCase(stored, shortPath))
        key.WriteString("SCRNSAVE.EXE", shortPath);
    key.Close();
    return true;
}

void StoreInSystemIni(const char *shortPath) {
    char file[PathSize] = "";
    UINT length = GetWindowsDirectoryA(file, sizeof file);
    if (length == 0 || length > LongestWindowsFolder)
        return;
    std::strcat(file, "\\system.ini");
    char stored[PathSize] = "";
    GetPrivateProfileStringA("boot", "SCRNSAVE.EXE", "", stored, sizeof stored, file);
    if (!SameIgnoringCase(stored, shortPath))
        WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", shortPath, file);
}

// The NT family refuses to post a message that carries a pointer; there the
// same notification is sent, without waiting long for any window.
void Broadcast(const char *section) {
    LPARAM text = reinterpret_cast<LPARAM>(section);
    if (PostMessageA(HWND_BROADCAST, WM_WININICHANGE, 0, text))
        return;
    DWORD_PTR result = 0;
    SendMessageTimeoutA(HWND_BROADCAST, WM_WININICHANGE, 0, text, SMTO_ABORTIFHUNG,
                        BroadcastTimeout, &result);
}

} // namespace

void InstallAsScreenSaver(const char *programPath) {
    try {
        RegistryKey key;
        char shortPath[PathSize] = "";
        DWORD length = GetShortPathNameA(programPath, shortPath, sizeof shortPath);
        // No short form at all must not become an empty screen-saver name.
        if (length == 0 || length >= sizeof shortPath)
            return;

        OSVERSIONINFOA version{};
        version.dwOSVersionInfoSize = sizeof version;
        if (!GetVersionExA(&version))
            return;
        if (version.dwPlatformId == VER_PLATFORM_WIN32_NT) {
            if (!StoreInRegistry(key, shortPath))
                return;
        } else {
            StoreInSystemIni(shortPath);
        }

        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, TRUE, nullptr, SPIF_SENDCHANGE);
        for (const char *section : ChangedSections)
            Broadcast(section);
    } catch (...) {
        Trace("InstallAsScreenSaver");
    }
}
