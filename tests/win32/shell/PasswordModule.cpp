// Stands in for the platform's password module: marks each call in the
// process's environment and answers the number STAKKO_PASSWORD_ANSWER holds.
#include <windows.h>

#include <cstdlib>

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND) {
    SetEnvironmentVariableA("STAKKO_PASSWORD_CALLED", "1");
    char answer[32] = "0";
    GetEnvironmentVariableA("STAKKO_PASSWORD_ANSWER", answer, sizeof answer);
    return static_cast<BOOL>(std::strtol(answer, nullptr, 0));
}
