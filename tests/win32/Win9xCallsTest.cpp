// The 9x forms of the runtime's wide and NT-only kernel calls, against the
// real calls, and the import entries that send the runtime's calls to them.
#include "saver/win32/Win9xCalls.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(Win9xCalls, ModuleNamesAreConvertedOnlyWhenTheCodePageSpellsThemExactly) {
    EXPECT_EQ(GetModuleHandleWOn9x(L"KERNEL32"), GetModuleHandleA("kernel32.dll"));
    EXPECT_EQ(GetModuleHandleWOn9x(nullptr), GetModuleHandleA(nullptr));
    EXPECT_TRUE(FreeLibrary(LoadLibraryWOn9x(L"version.dll")));
    const std::wstring longest(MAX_PATH - 1, L'a'), tooLong(MAX_PATH, L'a');
    // Best fit would make the first GDI32.DLL; no code page has the second;
    // the longest name fits, and is not there.
    const std::pair<const wchar_t *, DWORD> refused[] = {
        {L"GD\u013032.DLL", ERROR_INVALID_NAME},
        {L"kernel32\x4E2D.dll", ERROR_INVALID_NAME},
        {tooLong.c_str(), ERROR_FILENAME_EXCED_RANGE},
        {longest.c_str(), ERROR_MOD_NOT_FOUND},
        {L"no-such-module.dll", ERROR_MOD_NOT_FOUND}};
    for (const auto &[name, error] : refused) {
        SCOPED_TRACE(error);
        SetLastError(0);
        EXPECT_EQ(GetModuleHandleWOn9x(name), nullptr);
        EXPECT_EQ(GetLastError(), error);
        EXPECT_EQ(LoadLibraryWOn9x(name), nullptr);
        EXPECT_EQ(GetLastError(), error);
    }
}

TEST(Win9xCalls, SemaphoresKeepCountMaximumAndName) {
    HANDLE unnamed = CreateSemaphoreWOn9x(nullptr, 0, 1, nullptr);
    EXPECT_TRUE(unnamed && CloseHandle(unnamed));
    const std::wstring name = L"stakko-win9x-" + std::to_wstring(GetCurrentProcessId());
    HANDLE first = CreateSemaphoreWOn9x(nullptr, 1, 2, name.c_str());
    HANDLE second = CreateSemaphoreWOn9x(nullptr, 0, 1, name.c_str());
    EXPECT_EQ(GetLastError(), DWORD{ERROR_ALREADY_EXISTS});
    ASSERT_TRUE(first && second);
    EXPECT_EQ(WaitForSingleObject(second, 0), WAIT_OBJECT_0); // the first one's count
    EXPECT_EQ(WaitForSingleObject(first, 0), DWORD{WAIT_TIMEOUT});
    EXPECT_TRUE(ReleaseSemaphore(first, 2, nullptr));
    EXPECT_FALSE(ReleaseSemaphore(second, 1, nullptr)) << "beyond the maximum";
    CloseHandle(second);
    CloseHandle(first);
    EXPECT_EQ(CreateSemaphoreWOn9x(nullptr, 0, 1, L"stakko\x4E2D"), nullptr);
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_NAME});
}

TEST(Win9xCalls, LeadBytesAgreeWithTheRealCall) {
    using LeadByteCall = BOOL(WINAPI *)(UINT, BYTE);
    auto real = reinterpret_cast<LeadByteCall>(reinterpret_cast<void *>(
        GetProcAddress(GetModuleHandleA("kernel32.dll"), "IsDBCSLeadByteEx")));
    ASSERT_NE(real, nullptr);
    int leadBytes = 0;
    for (UINT codePage : {UINT{CP_ACP}, UINT{CP_OEMCP}, 1252u, 437u, 932u, 936u, 949u, 950u})
        for (int c = 0; c < 256; ++c) {
            const BOOL expected = real(codePage, BYTE(c));
            ASSERT_EQ(IsDBCSLeadByteExOn9x(codePage, BYTE(c)) != FALSE, expected != FALSE)
                << "code page " << codePage << ", byte " << c;
            leadBytes += expected != FALSE;
        }
    EXPECT_GT(leadBytes, 4 * 100) << "the double-byte code pages were not there";
    SetLastError(0);
    EXPECT_FALSE(IsDBCSLeadByteExOn9x(12345, 0x81));
    EXPECT_EQ(GetLastError(), DWORD{ERROR_INVALID_PARAMETER});
}

// With Win9xImports.cpp linked in, the program's own import entries are the 9x forms.
TEST(Win9xCalls, RuntimeImportsReachThe9xForms) {
    const auto same = [](auto a, auto b) {
        return reinterpret_cast<void *>(a) == reinterpret_cast<void *>(b);
    };
    EXPECT_TRUE(same(&GetModuleHandleW, &GetModuleHandleWOn9x));
    EXPECT_TRUE(same(&LoadLibraryW, &LoadLibraryWOn9x));
    EXPECT_TRUE(same(&CreateSemaphoreW, &CreateSemaphoreWOn9x));
    EXPECT_TRUE(same(&IsDBCSLeadByteEx, &IsDBCSLeadByteExOn9x));
}

} // namespace
