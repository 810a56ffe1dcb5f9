// The settings record in the prefix's real win.ini, read back both through
// the profile functions and from the file itself.
#include "saver/win32/SettingsStore.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "driver/win32/GameObjects.h"
#include "driver/win32/Locks.h"
#include "saver/Settings.h"
#include "saver/win32/ShellGlobals.h"
#include "tests/win32/shell/ShellTestSupport.h"

namespace {

// The section's key=value lines as the file on disk has them.
std::vector<std::string> SectionLinesOnDisk() {
    std::ifstream file(WindowsFolder() + "\\win.ini");
    std::vector<std::string> lines;
    std::string line;
    bool inSection = false;
    const std::string header = std::string("[") + ProductName + "]";
    while (std::getline(file, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '[') {
            inSection = line == header;
            continue;
        }
        if (inSection && !line.empty())
            lines.push_back(line);
    }
    return lines;
}

void Store(const char *key, const char *value) {
    WriteProfileStringA(ProductName, key, value);
}

std::string Stored(const char *key) {
    char value[300] = "";
    GetProfileStringA(ProductName, key, "<absent>", value, sizeof value);
    return value;
}

// Holds GameLock on another thread for a while; with leave set the thread
// ends without releasing it, which abandons the mutex.
class TGameLockHolder {
public:
    TGameLockHolder(DWORD holdMs, bool leave)
        : Taken(CreateEventA(nullptr, TRUE, FALSE, nullptr)), Thread([this, holdMs, leave] {
              WaitForSingleObject(GameLock, 1000);
              SetEvent(Taken);
              if (leave)
                  return;
              Sleep(holdMs);
              ReleaseMutex(GameLock);
          }) {
        WaitForSingleObject(Taken, 5000);
    }
    ~TGameLockHolder() {
        Thread.join();
        CloseHandle(Taken);
    }

private:
    HANDLE Taken;
    std::thread Thread;
};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(CreateSyncObjects());
        SavedSection.assign(32768, '\0');
        DWORD length = GetProfileSectionA(ProductName, SavedSection.data(),
                                          static_cast<DWORD>(SavedSection.size()));
        SavedSection.resize(length + 1);
        std::strcpy(SavedPath, ProgramPath);
        SavedScore = Stakko.Score;
        WriteProfileStringA(ProductName, nullptr, nullptr);
        Settings = TSettings{};
    }
    void TearDown() override {
        WriteProfileStringA(ProductName, nullptr, nullptr);
        if (SavedSection.size() > 1)
            WriteProfileSectionA(ProductName, SavedSection.data());
        std::strcpy(ProgramPath, SavedPath);
        Stakko.Score = SavedScore;
        Settings = TSettings{};
    }

private:
    std::vector<char> SavedSection;
    char SavedPath[sizeof ProgramPath] = "";
    int32_t SavedScore = 0;
};

TEST_F(SettingsTest, EmptyProfileGivesTheDefaultsWhateverWasLoadedBefore) {
    Settings.Time = ClockGameTime;
    Settings.Priority = PriorityHigh;
    Settings.Palette = 3;
    Settings.ShowBkgr = Settings.ShowInfo = Settings.ManualControl = false;
    Settings.Score1 = Settings.Score2 = Settings.Score3 = 77;

    LoadSettings();

    EXPECT_EQ(Settings.Time, 102);
    EXPECT_EQ(Settings.Priority, 107);
    EXPECT_EQ(Settings.Palette, 1);
    EXPECT_TRUE(Settings.ShowBkgr);
    EXPECT_TRUE(Settings.ShowInfo);
    EXPECT_TRUE(Settings.ManualControl);
    EXPECT_EQ(Settings.Score1, 0);
    EXPECT_EQ(Settings.Score2, 0);
    EXPECT_EQ(Settings.Score3, 0);
}

TEST_F(SettingsTest, AnyNonZeroNumberTurnsAFlagOn) {
    Store("ShowBkgr", "5");
    Store("ShowInfo", "0");
    Store("ManualControl", "-1");
    LoadSettings();
    EXPECT_TRUE(Settings.ShowBkgr);
    EXPECT_FALSE(Settings.ShowInfo);
    EXPECT_TRUE(Settings.ManualControl);

    Store("ShowBkgr", "0");
    Store("ShowInfo", "256");
    LoadSettings();
    EXPECT_FALSE(Settings.ShowBkgr);
    EXPECT_TRUE(Settings.ShowInfo);
}

TEST_F(SettingsTest, ValuesAreTakenAsReadWithoutRangeChecks) {
    Store("Time", "999");
    Store("Priority", "-3");
    Store("Palette", "12abc");
    Store("ShowBkgr", "off");
    Store("Score1", "2147483647");
    Store("Score2", "-40");
    Store("Score3", "many");
    LoadSettings();
    EXPECT_EQ(Settings.Time, 999);
    EXPECT_EQ(Settings.Priority, -3);
    EXPECT_EQ(Settings.Palette, 12);
    EXPECT_FALSE(Settings.ShowBkgr); // a non-number reads as 0
    EXPECT_EQ(Settings.Score1, 2147483647);
    EXPECT_EQ(Settings.Score2, -40);
    EXPECT_EQ(Settings.Score3, 0);
}

TEST_F(SettingsTest, SaveWritesTheTenKeysInOrderAsDecimalText) {
    Settings.Time = ClockRunTime;
    Settings.Priority = PriorityHigh;
    Settings.Palette = 3;
    Settings.ShowBkgr = false;
    Settings.ShowInfo = true;
    Settings.ManualControl = false;
    Settings.Score1 = 4000;
    Settings.Score2 = 123;
    Settings.Score3 = -7;
    Stakko.Score = -20;
    std::strcpy(ProgramPath, "C:\\Program Files\\Hex Stakko\\Hex Stakko.scr");

    SaveSettings();

    std::vector<std::string> expected = {
        "Time=103",
        "Priority=108",
        "ShowBkgr=0",
        "ShowInfo=1",
        "ManualControl=0",
        "Palette=3",
        "Path=C:\\Program Files\\Hex Stakko\\Hex Stakko.scr",
        "Score1=4000",
        "Score2=123",
        "Score3=-7",
    };
    EXPECT_EQ(SectionLinesOnDisk(), expected);

    // And everything but the path loads back.
    const TSettings saved = Settings;
    Settings = TSettings{};
    std::strcpy(ProgramPath, "C:\\other.scr");
    LoadSettings();
    auto fields = [](const TSettings &s) {
        return std::make_tuple(s.Time, s.Priority, s.Palette, s.ShowBkgr, s.ShowInfo,
                               s.ManualControl, s.Score1, s.Score2, s.Score3);
    };
    EXPECT_EQ(fields(Settings), fields(saved));
    EXPECT_STREQ(ProgramPath, "C:\\other.scr");
}

TEST_F(SettingsTest, OnlyAGreaterGameScoreReplacesTheThirdBest) {
    struct Case {
        int32_t score, score3, expected;
    };
    const Case cases[] = {
        {1200, 1000, 1200}, {1000, 1000, 1000},
        {900, 1000, 1000},  {0, -5, 0}, // signed: a negative stored score is beaten by 0
        {-6, -5, -5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.score);
        Settings.Score1 = 5000;
        Settings.Score2 = 3000;
        Settings.Score3 = c.score3;
        Stakko.Score = c.score;
        SaveSettings();
        EXPECT_EQ(Settings.Score3, c.expected);
        EXPECT_EQ(Stored("Score3"), std::to_string(c.expected));
        EXPECT_EQ(Stored("Score1"), "5000");
        EXPECT_EQ(Stored("Score2"), "3000");
    }
}

TEST_F(SettingsTest, SaveWaitsForGameLockAndCountsAnAbandonedOneAsTaken) {
    Settings.Score3 = 10;
    Stakko.Score = 20;
    {
        TGameLockHolder holder(300, false);
        DWORD start = GetTickCount();
        SaveSettings();
        EXPECT_GE(GetTickCount() - start, 250u);
    }
    EXPECT_EQ(Stored("Score3"), "20");

    WriteProfileStringA(ProductName, nullptr, nullptr);
    Stakko.Score = 30;
    { TGameLockHolder holder(0, true); }
    SaveSettings();
    EXPECT_EQ(Stored("Score3"), "30");
    // The save released the mutex it inherited.
    bool free = false;
    std::thread probe([&] {
        free = WaitForSingleObject(GameLock, 0) == WAIT_OBJECT_0;
        if (free)
            ReleaseMutex(GameLock);
    });
    probe.join();
    EXPECT_TRUE(free);
}

TEST_F(SettingsTest, GameLockHeldPastTheLimitDropsTheWholeSave) {
    Settings.Score3 = 10;
    Stakko.Score = 20;
    TGameLockHolder holder(6500, false);
    DWORD start = GetTickCount();
    SaveSettings();
    DWORD waited = GetTickCount() - start;
    EXPECT_GE(waited, 4900u);
    EXPECT_LT(waited, 6400u);
    EXPECT_EQ(Settings.Score3, 10);
    EXPECT_EQ(Stored("Time"), "<absent>");
    EXPECT_EQ(Stored("Score3"), "<absent>");
    EXPECT_EQ(Stored("Path"), "<absent>");
}

} // namespace
