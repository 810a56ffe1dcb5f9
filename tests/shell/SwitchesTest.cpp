#include <gtest/gtest.h>

#include "saver/Switches.h"

namespace {
struct TModeCase {
    const char *CommandLine;
    const char *SecondArgument;
    TRunMode Mode;
    bool Install;
    int32_t Host;
};

// Command lines as the entry sees them: the text after the program's name.
const TModeCase ModeCases[] = {
    {"", nullptr, Saver, false, 0},
    {"/s", nullptr, Saver, false, 0},
    {"/S", nullptr, Saver, false, 0},
    {"/x", nullptr, Saver, false, 0},
    {"/c", nullptr, Configure, false, 0},
    {"/C", nullptr, Configure, false, 0},
    {"-c", nullptr, Configure, false, 0},
    {"-C", nullptr, Configure, false, 0},
    {"/c:1234", nullptr, Configure, false, 0},
    {"/c /p 5", "5", Configure, false, 0},
    {"/p 1234", "1234", Preview, false, 1234},
    {"-P 1234", "1234", Preview, false, 1234},
    {"/p", nullptr, Preview, false, 0},
    {"/p:1234", nullptr, Preview, false, 0},
    {"/p 12ab", "12ab", Preview, false, 12},
    {"/p -3", "-3", Preview, false, -3},
    {"/a 99", "99", ChangePassword, false, 99},
    {"-A 7", "7", ChangePassword, false, 7},
    {"/reg", nullptr, Saver, true, 0},
    {"/regedit", nullptr, Saver, true, 0},
    {"/REG", nullptr, Saver, false, 0},
    {"/s /c", "/c", Saver, false, 0},
};

TEST(ChooseMode, EveryCommandLineSelectsItsModeInGroupOrder) {
    for (const TModeCase &c : ModeCases) {
        SCOPED_TRACE(c.CommandLine);
        TModeChoice choice = ChooseMode(c.CommandLine, c.SecondArgument);
        EXPECT_EQ(choice.Mode, c.Mode);
        EXPECT_EQ(choice.Install, c.Install);
        EXPECT_EQ(choice.HostWindow, c.Host);
    }
}

TEST(ChooseMode, OddCommandLinesRunTheSaver) {
    std::string longLine(100000, 'x');
    EXPECT_EQ(ChooseMode(longLine.c_str(), nullptr).Mode, Saver);
    EXPECT_EQ(ChooseMode("     ", nullptr).Mode, Saver);
    EXPECT_EQ(ChooseMode(nullptr, nullptr).Mode, Saver);
    std::string longPreview = "/p " + std::string(5000, '9');
    EXPECT_EQ(ChooseMode(longPreview.c_str(), longPreview.c_str() + 3).Mode, Preview);
}

TEST(FindSwitch, MatchesOnlyAtTheFirstOccurrenceOfThePatternsFirstCharacter) {
    int32_t position = -1;
    EXPECT_TRUE(FindSwitch(" /c", "/c", &position));
    EXPECT_EQ(position, 1);
    EXPECT_FALSE(FindSwitch("/s /c", "/c"));
    EXPECT_TRUE(FindSwitch("x/regedit", "/reg", &position));
    EXPECT_EQ(position, 1);
}

TEST(FindSwitch, RefusesEmptyOrTooLongPatternsAndShortTails) {
    EXPECT_FALSE(FindSwitch("", "/c"));
    EXPECT_FALSE(FindSwitch("/c", ""));
    EXPECT_FALSE(FindSwitch("/r", "/reg"));
    EXPECT_FALSE(FindSwitch("abc /re", "/reg"));
    EXPECT_FALSE(FindSwitch("/C", "/c"));
    int32_t position = 42;
    EXPECT_FALSE(FindSwitch("/x", "/c", &position));
    EXPECT_EQ(position, 42);
}

TEST(ReadHandleArgument, ReadsLikeTheRuntimesTextToInteger) {
    EXPECT_EQ(ReadHandleArgument(nullptr), 0);
    EXPECT_EQ(ReadHandleArgument(""), 0);
    EXPECT_EQ(ReadHandleArgument("abc"), 0);
    EXPECT_EQ(ReadHandleArgument("  \t42"), 42);
    EXPECT_EQ(ReadHandleArgument("+17x"), 17);
    EXPECT_EQ(ReadHandleArgument("-3"), -3);
    EXPECT_EQ(ReadHandleArgument("- 3"), 0);
    EXPECT_EQ(ReadHandleArgument("4294967297"), 1); // wraps instead of overflowing
}
} // namespace
