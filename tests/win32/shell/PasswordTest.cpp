// The password check against the prefix's real registry and a password
// module of our own (PasswordModule.cpp), which LoadLibraryA finds through
// the DLL folder each test chooses; the change of password against the
// platform's own MPR.DLL.
#include "saver/win32/Password.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver/win32/GameThread.h"
#include "game/Trace.h"
#include "saver/InputRules.h"
#include "saver/win32/ShellGlobals.h"
#include "tests/win32/shell/ShellTestSupport.h"

namespace {

const char Desktop[] = "Control Panel\\Desktop";
const char UsePassword[] = "ScreenSaveUsePassword";

std::vector<std::string> Traced;
void RecordTrace(const char *name) {
    Traced.push_back(name);
}

long Recorded(const char *name) {
    char text[32] = "";
    DWORD length = GetEnvironmentVariableA(name, text, sizeof text);
    return length > 0 && length < sizeof text ? std::strtol(text, nullptr, 0) : -1;
}

// The show count without changing it.
int CursorCount() {
    int count = ShowCursor(TRUE) - 1;
    ShowCursor(FALSE);
    return count;
}

void RequirePassword(DWORD value) {
    ASSERT_EQ(
        SetRegistryValue(HKEY_CURRENT_USER, Desktop, UsePassword, REG_DWORD, &value, sizeof value),
        ERROR_SUCCESS);
}

class PasswordTest : public ::testing::Test {
protected:
    void SetUp() override {
        SavedOwner = SaverWindow;
        SaverWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x4242));
        MouseMoveCountdown = 3;
        SetEnvironmentVariableA("STAKKO_PASSWORD_ANSWER", nullptr);
        SetEnvironmentVariableA("STAKKO_PASSWORD_CALLS", nullptr);
        SetEnvironmentVariableA("STAKKO_PASSWORD_OWNER", nullptr);
        SetEnvironmentVariableA("STAKKO_PASSWORD_CURSOR", nullptr);
        UseModule("password");
        Traced.clear();
        SetTraceHook(RecordTrace);
        CursorBefore = CursorCount();
    }
    void TearDown() override {
        SetTraceHook(nullptr);
        SetDllDirectoryA(nullptr);
        SaverWindow = SavedOwner;
        MouseMoveCountdown = MouseMovesToEnd;
        EXPECT_EQ(GetModuleHandleA("PASSWORD.CPL"), nullptr) << "the module stays loaded";
        EXPECT_EQ(CursorCount(), CursorBefore) << "the cursor's show count changed";
    }
    // The folder, beside the test program, that LoadLibraryA searches.
    static void UseModule(const char *folder) {
        ASSERT_TRUE(SetDllDirectoryA((ProgramFolder() + "\\" + folder).c_str()));
    }
    static void Answer(const char *answer) {
        SetEnvironmentVariableA("STAKKO_PASSWORD_ANSWER", answer);
    }

    int CursorBefore = 0;

private:
    TRegistryValueBackup Saved{HKEY_CURRENT_USER, Desktop, UsePassword};
    HWND SavedOwner = nullptr;
};

TEST_F(PasswordTest, NoPasswordWhenTheSettingIsAbsentOrZero) {
    DeleteRegistryValue(HKEY_CURRENT_USER, Desktop, UsePassword);
    Answer("0");
    EXPECT_TRUE(AskPassword());
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CALLS"), -1);

    RequirePassword(0);
    EXPECT_TRUE(AskPassword());
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CALLS"), -1);
    EXPECT_EQ(MouseMoveCountdown, 3);
    EXPECT_EQ(Traced, (std::vector<std::string>{"AskPassword()", "AskPassword()"}));
}

TEST_F(PasswordTest, ARefusedPasswordKeepsTheSaverAndRestartsTheMoveCount) {
    RequirePassword(1);
    Answer("0");
    EXPECT_FALSE(AskPassword());
    EXPECT_EQ(MouseMoveCountdown, MouseMovesToEnd);
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CALLS"), 1);
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_OWNER"), 0x4242);
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CURSOR"), CursorBefore + 1);
}

TEST_F(PasswordTest, AnAcceptedPasswordEndsTheSaver) {
    RequirePassword(1);
    Answer("1");
    EXPECT_TRUE(AskPassword());
    EXPECT_EQ(MouseMoveCountdown, 3);
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CALLS"), 1);
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CURSOR"), CursorBefore + 1);
}

TEST_F(PasswordTest, OnlyTheLowByteOfTheAnswerCounts) {
    RequirePassword(1);
    Answer("0x100");
    EXPECT_FALSE(AskPassword());
    EXPECT_EQ(MouseMoveCountdown, MouseMovesToEnd);
    MouseMoveCountdown = 3;
    Answer("0x201");
    EXPECT_TRUE(AskPassword());
    EXPECT_EQ(MouseMoveCountdown, 3);
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CALLS"), 2);
}

TEST_F(PasswordTest, TheSettingIsReadAsANumberWhateverItsType) {
    const BYTE one[] = {1};
    ASSERT_EQ(SetRegistryValue(HKEY_CURRENT_USER, Desktop, UsePassword, REG_BINARY, one, 1),
              ERROR_SUCCESS);
    Answer("0");
    EXPECT_FALSE(AskPassword());
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CALLS"), 1);

    // More than four bytes can't be read: no password is asked.
    ASSERT_EQ(SetRegistryText(HKEY_CURRENT_USER, Desktop, UsePassword, "12345678"), ERROR_SUCCESS);
    EXPECT_TRUE(AskPassword());
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CALLS"), 1);
}

TEST_F(PasswordTest, WithoutTheModuleOrItsExportTheSaverEnds) {
    RequirePassword(1);
    Answer("0");
    UseModule("no-such-folder");
    EXPECT_TRUE(AskPassword());
    EXPECT_EQ(MouseMoveCountdown, 3);

    UseModule("password-without-export");
    EXPECT_TRUE(AskPassword());
    EXPECT_EQ(MouseMoveCountdown, 3);
    EXPECT_EQ(Recorded("STAKKO_PASSWORD_CALLS"), -1);
}

// Runs in the child below, for which Wine takes a router of ours (in the
// folder "router" beside the program) instead of its own.
TEST(ChangePasswordStandIn, DISABLED_PassesTheProviderTheOwnerAndTwoZeros) {
    ASSERT_EQ(GetModuleHandleA("MPR.DLL"), nullptr) << "the router is loaded already";
    ASSERT_TRUE(SetDllDirectoryA((ProgramFolder() + "\\router").c_str()));
    SetEnvironmentVariableA("STAKKO_ROUTER_CALL", nullptr);
    HostWindow = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x5151));
    EXPECT_EQ(RunChangePassword(), 0);
    HostWindow = nullptr;
    SetDllDirectoryA(nullptr);

    char call[300] = "";
    GetEnvironmentVariableA("STAKKO_ROUTER_CALL", call, sizeof call);
    EXPECT_STREQ(call, "SCRSAVE|20817|0|0");
    EXPECT_EQ(GetModuleHandleA("MPR.DLL"), nullptr);
}

TEST(ChangePasswordTest, CallsTheRouterWithTheSaverProvider) {
    EXPECT_EQ(RunCasesInChild("ChangePasswordStandIn.*", "DllOverrides", "mpr", "native,builtin"),
              0)
        << "see the child's output above";
}

} // namespace
