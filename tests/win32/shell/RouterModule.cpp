// A stand-in for the platform's multiple-provider router, MPR.DLL: records
// the arguments of the change of password in the process's environment.
#include <windows.h>

#include <cstdio>

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD third, DWORD fourth) {
    char text[300];
    std::snprintf(text, sizeof text, "%s|%ld|%lu|%lu", provider ? provider : "(null)",
                  static_cast<long>(reinterpret_cast<INT_PTR>(owner)),
                  static_cast<unsigned long>(third), static_cast<unsigned long>(fourth));
    SetEnvironmentVariableA("STAKKO_ROUTER_CALL", text);
    return 0;
}
