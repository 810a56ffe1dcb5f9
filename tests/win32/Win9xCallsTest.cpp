// The 9x forms of the runtime's wide-character and NT-only kernel calls,
// against the real calls where Wine has them, and the import table entries
// that send the runtime's calls to them.
#include "saver/win32/Win9xCalls.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// A name that the ANSI code page would only approximate: "best fit" turns
// the dotted capital I into a plain one, naming GDI32.DLL.
const wchar_t ApproximatedGdi[] = L"GD\x0130"
                                  L"32.DLL";

HMODULE Kernel() {
    return GetModuleHandleA("kernel32.dll");
}

TEST(Win9xModuleNames, FindLoadedModulesAndThisProgram) {
    ASSERT_NE(Kernel(), nullptr);
    EXPECT_EQ(GetModuleHandleWOn9x(L"kernel32.dll"), Kernel());
    EXPECT_EQ(GetModuleHandleWOn9x(L"KERNEL32"), Kernel());
    EXPECT_EQ(GetModuleHandleWOn9x(nullptr), GetModuleHandleA(nullptr));

    SetLastError(0);
    EXPECT_EQ(GetModuleHandleWOn9x(L"no-such-module.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(Win9xModuleNames, LoadAndFailLikeTheAnsiCall) {
    HMODULE loaded = LoadLibraryWOn9x(L"version.dll");
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(GetModuleHandleA("version.dll"), loaded);
    EXPECT_NE(GetProcAddress(loaded, "GetFileVersionInfoSizeA"), nullptr);
    EXPECT_TRUE(FreeLibrary(loaded));

    SetLastError(0);
    EXPECT_EQ(LoadLibraryWOn9x(L"no-such-module.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(Win9xModuleNames, RefuseNamesTheCodePageCannotSpell) {
    char plain[MAX_PATH] = "";
    WideCharToMultiByte(CP_ACP, 0, ApproximatedGdi, -1, plain, sizeof plain, nullptr, nullptr);
    HMODULE gdi = LoadLibraryA("gdi32.dll");
    ASSERT_NE(gdi, nullptr);

    SetLastError(0);
    EXPECT_EQ(LoadLibraryWOn9x(ApproximatedGdi), nullptr) << "converted as " << plain;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    EXPECT_EQ(GetModuleHandleWOn9x(ApproximatedGdi), nullptr);
    // No ANSI code page has this one at all: it would become the default '?'.
    EXPECT_EQ(GetModuleHandleWOn9x(L"kernel32\x4E2D.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
    FreeLibrary(gdi);
}

TEST(Win9xModuleNames, LongestNameFitsAndLongerFails) {
    std::wstring longest(MAX_PATH - 1, L'a');
    SetLastError(0);
    EXPECT_EQ(GetModuleHandleWOn9x(longest.c_str()), nullptr);
    EXPECT_NE(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));

    std::wstring tooLong(MAX_PATH, L'a');
    EXPECT_EQ(GetModuleHandleWOn9x(tooLong.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
    EXPECT_EQ(LoadLibraryWOn9x(tooLong.c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILENAME_EXCED_RANGE));
}

TEST(Win9xSemaphores, UnnamedKeepsCountAndMaximum) {
    HANDLE semaphore = CreateSemaphoreWOn9x(nullptr, 1, 2, nullptr);
    ASSERT_NE(semaphore, nullptr);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(semaphore, 0), static_cast<DWORD>(WAIT_TIMEOUT));
    LONG previous = -1;
    EXPECT_TRUE(ReleaseSemaphore(semaphore, 2, &previous));
    EXPECT_EQ(previous, 0);
    EXPECT_FALSE(ReleaseSemaphore(semaphore, 1, nullptr)) << "beyond the maximum";
    CloseHandle(semaphore);
}

TEST(Win9xSemaphores, NamedOpensTheSameObjectTwice) {
    std::wstring name = L"stakko-win9x-test-" + std::to_wstring(GetCurrentProcessId());
    HANDLE first = CreateSemaphoreWOn9x(nullptr, 0, 1, name.c_str());
    ASSERT_NE(first, nullptr);
    HANDLE second = CreateSemaphoreWOn9x(nullptr, 0, 1, name.c_str());
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ALREADY_EXISTS));

    EXPECT_TRUE(ReleaseSemaphore(first, 1, nullptr));
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0);
    CloseHandle(second);
    CloseHandle(first);

    EXPECT_EQ(CreateSemaphoreWOn9x(nullptr, 0, 1, L"stakko\x4E2D"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST(Win9xLeadBytes, AgreeWithTheRealCallOnEveryByte) {
    using LeadByteCall = BOOL(WINAPI *)(UINT, BYTE);
    auto real = reinterpret_cast<LeadByteCall>(
        reinterpret_cast<void *>(GetProcAddress(Kernel(), "IsDBCSLeadByteEx")));
    ASSERT_NE(real, nullptr);
    int leadBytes = 0;
    for (UINT codePage : {static_cast<UINT>(CP_ACP), static_cast<UINT>(CP_OEMCP), 1252u, 437u, 932u,
                          936u, 949u, 950u}) {
        for (int c = 0; c < 256; ++c) {
            BYTE byte = static_cast<BYTE>(c);
            BOOL expected = real(codePage, byte);
            ASSERT_EQ(IsDBCSLeadByteExOn9x(codePage, byte) != FALSE, expected != FALSE)
                << "code page " << codePage << ", byte " << c;
            leadBytes += expected != FALSE;
        }
    }
    EXPECT_GT(leadBytes, 4 * 100) << "the double-byte code pages were not there";
}

TEST(Win9xLeadBytes, UnknownCodePageIsAnError) {
    SetLastError(0);
    EXPECT_FALSE(IsDBCSLeadByteExOn9x(12345, 0x81));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

// With Win9xImports.cpp linked in, the program's own import entries (which
// the runtime calls through) are the 9x forms.
TEST(Win9xImportTable, RuntimeCallsReachThe9xForms) {
    EXPECT_EQ(reinterpret_cast<void *>(&GetModuleHandleW),
              reinterpret_cast<void *>(&GetModuleHandleWOn9x));
    EXPECT_EQ(reinterpret_cast<void *>(&LoadLibraryW), reinterpret_cast<void *>(&LoadLibraryWOn9x));
    EXPECT_EQ(reinterpret_cast<void *>(&CreateSemaphoreW),
              reinterpret_cast<void *>(&CreateSemaphoreWOn9x));
    EXPECT_EQ(reinterpret_cast<void *>(&IsDBCSLeadByteEx),
              reinterpret_cast<void *>(&IsDBCSLeadByteExOn9x));
    EXPECT_EQ(GetModuleHandleW(L"kernel32.dll"), Kernel());
}

} // namespace
