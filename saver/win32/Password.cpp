#include "saver/win32/Password.h"

#include <windows.h>

#include <cstdint>

#include "game/Trace.h"
#include "saver/InputRules.h"

namespace {

using TVerifyScreenSavePwd = BOOL(WINAPI *)(HWND owner);
using TPwdChangePassword = DWORD(WINAPI *)(LPCSTR provider, HWND owner, DWORD, DWORD);

// The older family reports a failed load with a handle of 32 or less.
bool Loaded(HMODULE module) {
    return reinterpret_cast<UINT_PTR>(module) > 32;
}

template <typename TFunction> TFunction Export(HMODULE module, const char *name) {
    return reinterpret_cast<TFunction>(reinterpret_cast<void *>(GetProcAddress(module, name)));
}

bool PasswordRequired(HKEY desktop) {
    DWORD use = 0;
    DWORD size = sizeof use;
    LONG result = RegQueryValueExA(desktop, "ScreenSaveUsePassword", nullptr, nullptr,
                                   reinterpret_cast<BYTE *>(&use), &size);
    return result == ERROR_SUCCESS && use != 0;
}

} // namespace

bool AskPassword(HWND owner, int32_t &mouseMoveCountdown) {
    bool answer = true;
    try {
        HKEY desktop = nullptr;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Control Panel\\Desktop", 0, KEY_READ, &desktop) ==
            ERROR_SUCCESS) {
            if (PasswordRequired(desktop)) {
                HMODULE module = LoadLibraryA("PASSWORD.CPL");
                if (Loaded(module)) {
                    auto verify = Export<TVerifyScreenSavePwd>(module, "VerifyScreenSavePwd");
                    ShowCursor(TRUE);
                    // Only the low byte of the module's answer counts.
                    if (verify)
                        answer = static_cast<uint8_t>(verify(owner)) != 0;
                    ShowCursor(FALSE);
                    if (!answer)
                        mouseMoveCountdown = MouseMovesToEnd;
                    FreeLibrary(module);
                }
            }
            RegCloseKey(desktop);
        }
    } catch (...) {
        // The answer reached so far stands; the call is traced either way.
    }
    Trace("AskPassword()");
    return answer;
}

int RunChangePassword(HWND owner) {
    try {
        HMODULE module = LoadLibraryA("MPR.DLL");
        if (!Loaded(module))
            return 0;
        auto change = Export<TPwdChangePassword>(module, "PwdChangePasswordA");
        if (change)
            change("SCRSAVE", owner, 0, 0);
        FreeLibrary(module);
    } catch (...) {
        Trace("RunChangePassword()");
    }
    return 0;
}
