#include "saver/win32/ShellGlobals.h"

#include "saver/InputRules.h"

HINSTANCE Instance = nullptr;
HWND HostWindow = nullptr;
int32_t MouseMoveCountdown = MouseMovesToEnd;
char ProgramPath[256] = "";
const char ProductName[] = "Vornel Hex Stakko Screen Saver";

void ReadProgramPath() {
    DWORD length = GetModuleFileNameA(nullptr, ProgramPath, sizeof ProgramPath - 1);
    ProgramPath[length < sizeof ProgramPath ? length : sizeof ProgramPath - 1] = '\0';
}
