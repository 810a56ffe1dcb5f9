// The shell against the prefix's real profile, registry and system.ini: the
// settings record, the registry wrapper, the password check and installation.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <thread>
#include <tuple>

#include "saver/InputRules.h"
#include "saver/Settings.h"
#include "saver/win32/Install.h"
#include "saver/win32/Password.h"
#include "saver/win32/RegistryKey.h"
#include "saver/win32/SaverWindow.h"
#include "saver/win32/SettingsStore.h"
#include "saver/win32/VirtualKeys.h"
#include "tests/win32/TestSupport.h"

namespace {

using test::ThisProgram;

const char *const Desktop = "Control Panel\\Desktop";

// ---- Settings ----

// The section as the file on disk has it, each line ended by a space.
std::string SectionOnDisk() {
    char folder[MAX_PATH] = "";
    GetWindowsDirectoryA(folder, sizeof folder);
    std::ifstream file(std::string(folder) + "\\win.ini");
    std::string section, line, header = std::string("[") + ProductName + "]";
    while (std::getline(file, line) && line.substr(0, header.size()) != header) {
    }
    while (std::getline(file, line) && line[0] != '[')
        section += line.size() > 1 ? line.substr(0, line.find('\r')) + " " : "";
    return section;
}

auto Fields(const TSettings &s) {
    return std::make_tuple(s.Time, s.Priority, s.Palette, s.ShowBkgr, s.ShowInfo, s.ManualControl,
                           s.Best.Score1, s.Best.Score2, s.Best.Score3);
}

// How flags and numbers read is the dialog's and the end-to-end tests' part.
TEST(SettingsTest, SaveWritesTheTenKeysInOrderToDiskAndAllButThePathLoadBack) {
    WriteProfileStringA(ProductName, nullptr, nullptr);
    EXPECT_EQ(Fields(LoadSettings()), std::make_tuple(102, 107, 1, true, true, true, 0, 0, 0));
    const TSettings saved{ClockRunTime, PriorityHigh, 3, false, true, false, {4000, 123, -7}};
    SaveSettings(saved, "C:\\Program Files\\Hex Stakko\\Hex Stakko.scr");
    EXPECT_EQ(SectionOnDisk(), "Time=103 Priority=108 ShowBkgr=0 ShowInfo=1 ManualControl=0 "
                               "Palette=3 Path=C:\\Program Files\\Hex Stakko\\Hex Stakko.scr "
                               "Score1=4000 Score2=123 Score3=-7 ");
    EXPECT_EQ(Fields(LoadSettings()), Fields(saved));
    WriteProfileStringA(ProductName, nullptr, nullptr);
}

// ---- The registry wrapper ----

// Data shorter than the 8-byte buffer, as long, and longer, none of it ending
// in a zero: the zero goes right after the data or into the last byte, and
// nothing beyond it is touched.
TEST(RegistryKeyTest, ReadStringAlwaysLeavesATerminatedText) {
    RegistryKey key;
    key.Open(HKEY_CURRENT_USER, "Software\\Stakko Tests", true);
    ASSERT_EQ(key.Status, 0);
    char buffer[9];
    for (const char *data : {"xyz", "abcdefgh", "a text far longer than eight bytes"}) {
        SCOPED_TRACE(data);
        const DWORD length = static_cast<DWORD>(std::strlen(data));
        ASSERT_EQ(RegSetValueExA(key.Key, "Text", 0, REG_BINARY,
                                 reinterpret_cast<const BYTE *>(data), length),
                  ERROR_SUCCESS);
        std::memset(buffer, 'Q', sizeof buffer);
        key.ReadString("Text", buffer, 8);
        EXPECT_EQ(key.Status, length > 8 ? ERROR_MORE_DATA : 0);
        const DWORD zero = length < 8 ? length : 7;
        EXPECT_EQ(std::pair(buffer[zero], buffer[zero + 1]), std::pair('\0', 'Q'));
        EXPECT_EQ(std::string(buffer), length > 8 ? buffer : std::string(data, zero));
    }
    std::memset(buffer, 'Q', sizeof buffer);
    key.ReadString("Text", buffer, 0);
    EXPECT_EQ(buffer[0], 'Q') << "a buffer of size 0 was written";
    key.Close();
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Stakko Tests");
}

// ---- The password check, with the stand-in PASSWORD.CPL ----

TEST(PasswordTest, OnlyARequiredAndRefusedPasswordKeepsTheSaver) {
    const std::string folder = ThisProgram().substr(0, ThisProgram().rfind('\\') + 1);
    const std::string calls = folder + "calls.txt";
    test::TRegistryValue use(HKEY_CURRENT_USER, Desktop, "ScreenSaveUsePassword");
    struct {
        DWORD use; // ~0: absent
        const char *module, *answer;
        bool result, called;
        int countdown;
    } const rows[] = {
        {~0u, "password", "0", true, false, 3},     {0, "password", "0", true, false, 3},
        {1, "password", "0", false, true, 7},       {1, "password", "1", true, true, 3},
        {1, "password", "0x100", false, true, 7}, // only the low byte counts
        {1, "no-such-folder", "0", true, false, 3},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(std::to_string(row.use) + " " + row.module + " " + row.answer);
        row.use == ~0u ? use.Delete() : use.Set(REG_DWORD, &row.use, sizeof row.use);
        ASSERT_TRUE(SetDllDirectoryA((folder + row.module).c_str()));
        std::ofstream(folder + "answer.txt") << row.answer;
        DeleteFileA(calls.c_str());
        int32_t countdown = 3;
        const int cursor = test::CursorCount();
        EXPECT_EQ(AskPassword(nullptr, countdown), row.result);
        EXPECT_EQ(GetFileAttributesA(calls.c_str()) != INVALID_FILE_ATTRIBUTES, row.called);
        EXPECT_EQ(countdown, row.countdown);
        EXPECT_EQ(test::CursorCount(), cursor);
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr) << "the module stays loaded";
    }
    SetDllDirectoryA(nullptr);
}

// ---- Installation ----

const std::string SevenTexts = "HKEY_CURRENT_USER\\Control Panel\\Desktop|Control Panel\\Desktop|"
                               "Desktop|boot|[boot]|system.ini|system.ini\\boot|";
std::mutex Lock;
std::string Texts; // each ended by '|'

// Texts only: the platform's own notice of the switched setting has none.
LRESULT CALLBACK RecordProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WININICHANGE && wParam == 0 && lParam != 0) {
        std::lock_guard<std::mutex> hold(Lock);
        Texts += reinterpret_cast<const char *>(lParam) + std::string("|");
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

bool ScreenSaverActive() {
    BOOL active = FALSE;
    SystemParametersInfoA(SPI_GETSCREENSAVEACTIVE, 0, &active, 0);
    return active != FALSE;
}

// This program's own long path, whose short form differs, and a hidden
// top-level window on a thread of its own that records the change
// notifications (Wine garbles a broadcast's text for the sender's thread).
class InstallTest : public ::testing::Test {
protected:
    void SetUp() override {
        char shortPath[MAX_PATH] = "";
        ASSERT_GT(GetShortPathNameA(LongPath.c_str(), shortPath, sizeof shortPath), 0u);
        ShortPath = shortPath;
        ASSERT_NE(ShortPath, LongPath);
        WaitForSingleObject(Ready, 5000);
        ASSERT_NE(Window, nullptr);
    }
    void TearDown() override {
        PostMessageA(Window, WM_QUIT, 0, 0);
        Recorder.join();
        CloseHandle(Ready);
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, WasActive, nullptr, 0);
    }
    // Installs, and answers the texts the window got within a bounded wait.
    std::string InstallAndCollect() {
        SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, FALSE, nullptr, 0);
        Texts.clear();
        InstallAsScreenSaver(Path.c_str());
        for (DWORD start = GetTickCount(); GetTickCount() - start < 300; Sleep(10)) {
            std::lock_guard<std::mutex> hold(Lock);
            if (std::count(Texts.begin(), Texts.end(), '|') >= 7)
                break;
        }
        std::lock_guard<std::mutex> hold(Lock);
        return Texts;
    }

    std::string LongPath = ThisProgram(), ShortPath, Path = LongPath;
    test::TRegistryValue Name{HKEY_CURRENT_USER, Desktop, "SCRNSAVE.EXE"};
    BOOL WasActive = ScreenSaverActive();
    HWND Window = nullptr;
    HANDLE Ready = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread Recorder{[this] {
        WNDCLASSA windowClass{};
        windowClass.lpfnWndProc = RecordProc;
        windowClass.lpszClassName = "Stakko install test";
        RegisterClassA(&windowClass);
        Window = CreateWindowA("Stakko install test", "", WS_OVERLAPPED, 0, 0, 10, 10, nullptr,
                               nullptr, nullptr, nullptr);
        SetEvent(Ready);
        MSG message;
        while (Window && GetMessageA(&message, nullptr, 0, 0) > 0)
            DispatchMessageA(&message);
    }};
};

TEST_F(InstallTest, OnlyAnotherNameIsReplacedByTheShortPathAndTheSameOneIsNotWritten) {
    const std::string other = "C:\\windows\\system32\\other saver.scr";
    std::string variant = ShortPath; // the same name in other letter case
    CharLowerA(variant.data());
    struct {
        const char *what;
        std::string stored, path, after;
        bool done;
    } const rows[] = {
        {"none stored", "<absent>", LongPath, "<absent>", false},
        {"another", other, LongPath, ShortPath, true},
        {"other case", variant, LongPath, variant, true},
        {"the same", ShortPath, LongPath, ShortPath, true},
        {"no short form", other, LongPath + ".missing", other, false},
    };
    ASSERT_NE(variant, ShortPath);
    for (const auto &row : rows) {
        SCOPED_TRACE(row.what);
        // Wine drops a write of the very same data unseen, so the stored name
        // is marked by its type: a write makes it REG_SZ.
        row.stored == "<absent>" ? Name.Delete() : Name.SetText(row.stored, REG_EXPAND_SZ);
        Path = row.path;
        EXPECT_EQ(InstallAndCollect(), row.done ? SevenTexts : "");
        DWORD type = 0;
        EXPECT_EQ(Name.Text(&type), row.after);
        EXPECT_TRUE(row.after == "<absent>" ||
                    type == DWORD(row.after == row.stored ? REG_EXPAND_SZ : REG_SZ))
            << "written: type " << type;
        EXPECT_EQ(ScreenSaverActive(), row.done);
    }
}

} // namespace

// The cursor keys and the space bar steer; every other key is no move.
TEST(VirtualKeysTest, TheFourCursorKeysAndTheSpaceBarAreTheMoves) {
    const std::pair<uint32_t, TKeyAction> keys[] = {
        {0x25, TKeyAction::Left},   {0x27, TKeyAction::Right},  {0x26, TKeyAction::Turn},
        {0x28, TKeyAction::Down},   {0x20, TKeyAction::Drop},   {0x1B, TKeyAction::NoMove},
        {0x41, TKeyAction::NoMove}, {0x125, TKeyAction::NoMove}};
    for (auto [key, move] : keys)
        EXPECT_EQ(KeyOfVirtualKey(key), move) << key;
}

// A window that gives no device context leaves nothing to show: status 1.
TEST(SaverRunTest, AWindowWithoutAPictureEndsTheProgramWithStatusOne) {
    TSaverRun run(Saver, TSettings{}, nullptr, TNow{}, "stakko.scr");
    HWND bogus = reinterpret_cast<HWND>(static_cast<uintptr_t>(0x7ffe));
    EXPECT_EXIT(BindWindow(run, bogus, TRect{}), ::testing::ExitedWithCode(1), "");
}
