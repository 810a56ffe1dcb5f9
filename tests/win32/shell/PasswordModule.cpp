// A stand-in for the platform's password module. It answers what
// STAKKO_PASSWORD_ANSWER says (a number, 0 when unset) and records each call
// in the process's environment: the number of calls, the owner window and
// the cursor's show count while it runs. Built once without the export.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#ifndef STAKKO_WITHOUT_VERIFY
namespace {

long ReadNumber(const char *name) {
    char text[32] = "";
    DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
    return length > 0 && length < sizeof text ? std::strtol(text, nullptr, 0) : 0;
}

void WriteNumber(const char *name, long value) {
    char text[32];
    std::snprintf(text, sizeof text, "%ld", value);
    SetEnvironmentVariableA(name, text);
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
    WriteNumber("STAKKO_PASSWORD_CALLS", ReadNumber("STAKKO_PASSWORD_CALLS") + 1);
    WriteNumber("STAKKO_PASSWORD_OWNER", static_cast<long>(reinterpret_cast<INT_PTR>(owner)));
    int shown = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    WriteNumber("STAKKO_PASSWORD_CURSOR", shown);
    return static_cast<BOOL>(ReadNumber("STAKKO_PASSWORD_ANSWER"));
}
#endif
