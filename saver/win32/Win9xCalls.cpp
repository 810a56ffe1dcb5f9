#include "saver/win32/Win9xCalls.h"

namespace {

// lstrcmpW is one of the wide calls that the older family lacks.
bool SameWide(const WCHAR *a, const WCHAR *b) {
    while (*a && *a == *b) {
        ++a;
        ++b;
    }
    return *a == *b;
}

// Converts a wide name for the ANSI calls. False, with the error set, when
// it does not fit or the code page lacks one of its characters: a default or
// "best fit" character would make the ANSI call look for another name.
bool NarrowName(LPCWSTR name, char (&narrow)[MAX_PATH]) {
    if (WideCharToMultiByte(CP_ACP, 0, name, -1, narrow, MAX_PATH, nullptr, nullptr) == 0) {
        if (GetLastError() == ERROR_INSUFFICIENT_BUFFER)
            SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    // The only test that both families support: the name must come back.
    WCHAR back[MAX_PATH];
    if (MultiByteToWideChar(CP_ACP, 0, narrow, -1, back, MAX_PATH) == 0 || !SameWide(back, name)) {
        SetLastError(ERROR_INVALID_NAME);
        return false;
    }
    return true;
}

} // namespace

HMODULE WINAPI GetModuleHandleWOn9x(LPCWSTR name) {
    if (!name)
        return GetModuleHandleA(nullptr);
    char narrow[MAX_PATH];
    return NarrowName(name, narrow) ? GetModuleHandleA(narrow) : nullptr;
}

HMODULE WINAPI LoadLibraryWOn9x(LPCWSTR name) {
    if (!name)
        return LoadLibraryA(nullptr);
    char narrow[MAX_PATH];
    return NarrowName(name, narrow) ? LoadLibraryA(narrow) : nullptr;
}

HANDLE WINAPI CreateSemaphoreWOn9x(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                   LONG maximumCount, LPCWSTR name) {
    if (!name)
        return CreateSemaphoreA(attributes, initialCount, maximumCount, nullptr);
    char narrow[MAX_PATH];
    if (!NarrowName(name, narrow))
        return nullptr;
    return CreateSemaphoreA(attributes, initialCount, maximumCount, narrow);
}

BOOL WINAPI IsDBCSLeadByteExOn9x(UINT codePage, BYTE testChar) {
    CPINFO info;
    if (!GetCPInfo(codePage, &info)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    // Pairs of inclusive bounds, ended by a zero pair.
    for (int i = 0; i + 1 < MAX_LEADBYTES && info.LeadByte[i] != 0; i += 2) {
        if (testChar >= info.LeadByte[i] && testChar <= info.LeadByte[i + 1])
            return TRUE;
    }
    return FALSE;
}
