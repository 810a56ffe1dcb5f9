// A stand-in for both of the platform's password components, copied beside
// the saver as PASSWORD.CPL and as MPR.DLL. Each call appends one line to
// "calls.txt" beside the module, where a test outside the process can read
// it; the password check answers what "answer.txt" there says ("1" lets the
// saver end, anything else or no file refuses), read at every call so that a
// test can change its mind while the saver runs.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const char SaverClass[] = "Vornel Hex Stakko Screen Saver";

std::string Beside(const char *name) {
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                           GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCSTR>(&Beside), &self);
    char path[MAX_PATH] = "";
    GetModuleFileNameA(self, path, sizeof path);
    std::string folder = path;
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

void Record(const std::string &line) {
    if (FILE *file = std::fopen(Beside("calls.txt").c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

bool Accepting() {
    FILE *file = std::fopen(Beside("answer.txt").c_str(), "r");
    if (!file)
        return false;
    int first = std::fgetc(file);
    std::fclose(file);
    return first == '1';
}

BOOL CALLBACK CountSaverWindow(HWND window, LPARAM count) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (process == GetCurrentProcessId() && std::string(name) == SaverClass)
        ++*reinterpret_cast<int *>(count);
    return TRUE;
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
    char name[64] = "";
    GetClassNameA(owner, name, sizeof name);
    int shown = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    bool accept = Accepting();
    Record("verify owner=" + std::string(name) + " cursor=" + std::to_string(shown) +
           " answer=" + (accept ? "1" : "0"));
    return accept ? TRUE : FALSE;
}

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD third, DWORD fourth) {
    int windows = 0;
    EnumWindows(CountSaverWindow, reinterpret_cast<LPARAM>(&windows));
    Record("change provider=" + std::string(provider ? provider : "(null)") + " owner=" +
           std::to_string(reinterpret_cast<INT_PTR>(owner)) + " rest=" + std::to_string(third) +
           "," + std::to_string(fourth) + " saverwindows=" + std::to_string(windows));
    return 0;
}
