// The .scr's import table entries for kernel calls that Windows 95/98/Me
// lack or carry only as failing stubs, made by the runtime libraries, not by
// our code: libgcc's thread support (CreateSemaphoreW) and the C runtime's
// helpers (GetModuleHandleW, LoadLibraryW, IsDBCSLeadByteEx). A call through
// __imp__Name@N reaches the pointer defined here, so the import library's
// entry is never linked and the loader never looks for the export.
//
// Linked as an object (into the .scr and its test), never from an archive:
// the pointers must be there before the import libraries are searched. A
// runtime that starts calling another such function shows up in the import
// check (tests/scr).
#include "saver/win32/Win9xCalls.h"

extern "C" {

[[gnu::used]] HMODULE(WINAPI *ImportGetModuleHandleW)(LPCWSTR) asm("__imp__GetModuleHandleW@4") =
    GetModuleHandleWOn9x;

[[gnu::used]] HMODULE(WINAPI *ImportLoadLibraryW)(LPCWSTR) asm("__imp__LoadLibraryW@4") =
    LoadLibraryWOn9x;

[[gnu::used]] HANDLE(WINAPI *ImportCreateSemaphoreW)(LPSECURITY_ATTRIBUTES, LONG, LONG,
                                                     LPCWSTR) asm("__imp__CreateSemaphoreW@16") =
    CreateSemaphoreWOn9x;

[[gnu::used]] BOOL(WINAPI *ImportIsDBCSLeadByteEx)(UINT, BYTE) asm("__imp__IsDBCSLeadByteEx@8") =
    IsDBCSLeadByteExOn9x;
}
