// Stands in for both password components (PASSWORD.CPL and MPR.DLL). Each
// call appends a line to "calls.txt" beside the program that loaded it; the
// check answers the number in "answer.txt" there (0 when there is none),
// read at every call so that a test can change its mind while the saver runs.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "TestSupport.h"

namespace {

std::string Beside(const char *name) {
    const std::string folder = test::ThisProgram(); // the saver, which loaded us
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

void Record(const std::string &line) {
    if (FILE *file = std::fopen(Beside("calls.txt").c_str(), "a")) {
        std::fprintf(file, "%s\n", line.c_str());
        std::fclose(file);
    }
}

} // namespace

extern "C" __declspec(dllexport) BOOL WINAPI VerifyScreenSavePwd(HWND owner) {
    char name[64] = "";
    GetClassNameA(owner, name, sizeof name);
    char answer[32] = "0";
    if (FILE *file = std::fopen(Beside("answer.txt").c_str(), "r")) {
        std::fgets(answer, sizeof answer, file);
        std::fclose(file);
    }
    Record("verify owner=" + std::string(name) + " cursor=" + std::to_string(test::CursorCount()) +
           " answer=" + answer);
    return static_cast<BOOL>(std::strtol(answer, nullptr, 0));
}

extern "C" __declspec(dllexport) DWORD WINAPI
    PwdChangePasswordA(LPCSTR provider, HWND owner, DWORD third, DWORD fourth) {
    bool window = FindWindowA("Vornel Hex Stakko Screen Saver", nullptr) != nullptr;
    Record("change provider=" + std::string(provider ? provider : "(null)") + " owner=" +
           std::to_string(reinterpret_cast<INT_PTR>(owner)) + " rest=" + std::to_string(third) +
           "," + std::to_string(fourth) + " saverwindows=" + (window ? "1" : "0"));
    return 0;
}
