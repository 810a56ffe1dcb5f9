#pragma once
#include <windows.h>

// Kernel calls that the toolchain's runtime makes in their wide-character or
// NT-only form, carried out with what Windows 95/98/Me provide. The .scr's
// import table points at these instead (Win9xImports.cpp).

// Module names go through the ANSI code page; a name that does not fit
// MAX_PATH, or has a character that the code page lacks, fails instead of
// naming another module.
HMODULE WINAPI GetModuleHandleWOn9x(LPCWSTR name);
HMODULE WINAPI LoadLibraryWOn9x(LPCWSTR name);

// A named semaphore is named through the ANSI code page, as above.
HANDLE WINAPI CreateSemaphoreWOn9x(LPSECURITY_ATTRIBUTES attributes, LONG initialCount,
                                   LONG maximumCount, LPCWSTR name);

// The lead-byte ranges of the code page (CP_ACP, CP_OEMCP or a number).
BOOL WINAPI IsDBCSLeadByteExOn9x(UINT codePage, BYTE testChar);
