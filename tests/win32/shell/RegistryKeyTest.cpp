// The registry wrapper on a scratch key of the prefix's real registry.
#include "saver/win32/RegistryKey.h"

#include <gtest/gtest.h>

#include <cstring>

#include "tests/win32/shell/ShellTestSupport.h"

namespace {

const char ScratchParent[] = "Software\\Stakko Tests";
const char Scratch[] = "Software\\Stakko Tests\\RegistryKey";

class RegistryKeyTest : public ::testing::Test {
protected:
    void SetUp() override { RemoveScratch(); }
    void TearDown() override { RemoveScratch(); }
    static void RemoveScratch() {
        RegDeleteKeyA(HKEY_CURRENT_USER, Scratch);
        RegDeleteKeyA(HKEY_CURRENT_USER, ScratchParent);
    }
    static bool HandleWorks(HKEY key) {
        DWORD values = 0;
        return RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                                nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    }
};

TEST_F(RegistryKeyTest, OpenCreatesOnlyWhenAskedAndCloseForgetsTheKey) {
    RegistryKey key;
    EXPECT_EQ(key.Key, nullptr);
    EXPECT_EQ(key.Status, 0);

    key.Open(HKEY_CURRENT_USER, Scratch, false);
    EXPECT_EQ(key.Status, ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key.Key, nullptr);

    key.Open(HKEY_CURRENT_USER, Scratch, true);
    EXPECT_EQ(key.Status, 0);
    ASSERT_NE(key.Key, nullptr);
    EXPECT_TRUE(HandleWorks(key.Key));

    key.Close();
    EXPECT_EQ(key.Status, 0);
    EXPECT_EQ(key.Key, nullptr);
    key.Close();
    EXPECT_EQ(key.Status, 0);

    // The key exists now, so opening without the create flag finds it.
    key.Open(HKEY_CURRENT_USER, Scratch, false);
    EXPECT_EQ(key.Status, 0);
    EXPECT_NE(key.Key, nullptr);
}

// A closed handle's value may come back with the next open, so each check
// of a closed key runs before anything else is opened.
TEST_F(RegistryKeyTest, OpeningAgainAndDestructionCloseTheKeyHeld) {
    HKEY first = nullptr;
    HKEY second = nullptr;
    {
        RegistryKey key;
        key.Open(HKEY_CURRENT_USER, Scratch, true);
        first = key.Key;
        ASSERT_TRUE(HandleWorks(first));
        key.Open(HKEY_CURRENT_USER, "Software", false);
        EXPECT_EQ(key.Status, 0);
        second = key.Key;
        EXPECT_TRUE(HandleWorks(second));
    }
    // A key left open by the second Open would still work here.
    EXPECT_FALSE(HandleWorks(first));
    EXPECT_FALSE(HandleWorks(second));
}

TEST_F(RegistryKeyTest, WriteStringStoresTextThatReadsBack) {
    RegistryKey key;
    key.Open(HKEY_CURRENT_USER, Scratch, true);
    key.WriteString("Name", "C:\\SAVER~1.SCR");
    EXPECT_EQ(key.Status, 0);

    DWORD type = 0;
    char data[64] = "";
    DWORD size = sizeof data;
    ASSERT_EQ(
        RegQueryValueExA(key.Key, "Name", nullptr, &type, reinterpret_cast<BYTE *>(data), &size),
        ERROR_SUCCESS);
    EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
    EXPECT_STREQ(data, "C:\\SAVER~1.SCR");

    char buffer[64];
    EXPECT_EQ(key.ReadString("Name", buffer, sizeof buffer), buffer);
    EXPECT_EQ(key.Status, 0);
    EXPECT_STREQ(buffer, "C:\\SAVER~1.SCR");

    key.WriteString("Empty", "");
    EXPECT_EQ(key.Status, 0);
    std::memset(buffer, 'Q', sizeof buffer);
    key.ReadString("Empty", buffer, sizeof buffer);
    EXPECT_EQ(key.Status, 0);
    EXPECT_STREQ(buffer, "");
}

TEST_F(RegistryKeyTest, ReadStringAlwaysLeavesATerminatedText) {
    RegistryKey key;
    key.Open(HKEY_CURRENT_USER, Scratch, true);
    ASSERT_EQ(key.Status, 0);
    // Data without a terminating zero: the zero goes right after it.
    ASSERT_EQ(
        RegSetValueExA(key.Key, "Bare", 0, REG_BINARY, reinterpret_cast<const BYTE *>("xyz"), 3),
        ERROR_SUCCESS);
    char buffer[8];
    std::memset(buffer, 'Q', sizeof buffer);
    key.ReadString("Bare", buffer, sizeof buffer);
    EXPECT_EQ(key.Status, 0);
    EXPECT_STREQ(buffer, "xyz");
    EXPECT_EQ(buffer[4], 'Q'); // nothing beyond the zero is touched

    // Exactly as long as the buffer.
    ASSERT_EQ(RegSetValueExA(key.Key, "Full", 0, REG_BINARY,
                             reinterpret_cast<const BYTE *>("abcdefgh"), 8),
              ERROR_SUCCESS);
    std::memset(buffer, 'Q', sizeof buffer);
    key.ReadString("Full", buffer, sizeof buffer);
    EXPECT_EQ(key.Status, 0);
    EXPECT_EQ(std::string(buffer), "abcdefg");

    // Longer than the buffer: the read fails, and the last byte is a zero.
    key.WriteString("Long", "a text far longer than eight bytes");
    std::memset(buffer, 'Q', sizeof buffer);
    key.ReadString("Long", buffer, sizeof buffer);
    EXPECT_EQ(key.Status, ERROR_MORE_DATA);
    EXPECT_EQ(buffer[sizeof buffer - 1], '\0');

    // A buffer of size 0 is never written.
    std::memset(buffer, 'Q', sizeof buffer);
    key.ReadString("Bare", buffer, 0);
    EXPECT_NE(key.Status, 0);
    EXPECT_EQ(buffer[0], 'Q');
}

TEST_F(RegistryKeyTest, FailuresShowOnlyInStatus) {
    RegistryKey key;
    char buffer[16];
    std::memset(buffer, 'Q', sizeof buffer);
    key.ReadString("Anything", buffer, sizeof buffer);
    EXPECT_NE(key.Status, 0);
    EXPECT_NE(std::memchr(buffer, '\0', sizeof buffer), nullptr);
    key.WriteString("Anything", "text");
    EXPECT_NE(key.Status, 0);

    key.Open(HKEY_CURRENT_USER, Scratch, true);
    key.ReadString("Missing", buffer, sizeof buffer);
    EXPECT_EQ(key.Status, ERROR_FILE_NOT_FOUND);
    key.Close();
    EXPECT_EQ(key.Status, 0);
}

} // namespace
