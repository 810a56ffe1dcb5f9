#include <gtest/gtest.h>

#include "saver/InputRules.h"
#include "saver/ScreenArrangement.h"
#include "saver/Settings.h"
#include "saver/Switches.h"

namespace {

// The text after the program's name, and the second argument.
TEST(ChooseMode, EveryCommandLineSelectsItsModeInGroupOrder) {
    const struct {
        const char *CommandLine, *SecondArgument;
        TRunMode Mode;
        bool Install;
        int32_t Host;
    } cases[] = {
        // clang-format off
        {"", nullptr, Saver, false, 0},                {nullptr, nullptr, Saver, false, 0},
        {"/x", nullptr, Saver, false, 0},              {"/c", nullptr, Configure, false, 0},
        {"/C", nullptr, Configure, false, 0},          {"-c", nullptr, Configure, false, 0},
        {"-C", nullptr, Configure, false, 0},          {"/c:1234", nullptr, Configure, false, 0},
        {"/c /p 5", "5", Configure, false, 0},         {"/p 1234", "1234", Preview, false, 1234},
        {"-P 1234", "1234", Preview, false, 1234},     {"/p", nullptr, Preview, false, 0},
        {"/p:1234", nullptr, Preview, false, 0},       {"/p 12ab", "12ab", Preview, false, 12},
        {"/p x", "\t\r\v +77", Preview, false, 77},    {"/p -3", "-3", Preview, false, -3},
        // A 64-bit desktop may write a handle as an unsigned number: only its
        // low 32 bits count, sign-extended when made a handle again.
        {"/p 4294967295", "4294967295", Preview, false, -1},
        {"/p 18446744073709551615", "18446744073709551615", Preview, false, -1},
        {"/p 2147483648", "2147483648", Preview, false, INT32_MIN},
        {"/a 99", "99", ChangePassword, false, 99},    {"/reg", nullptr, Saver, true, 0},
        {"/regedit", nullptr, Saver, true, 0},         {"/REG", nullptr, Saver, false, 0},
        {"/s /c", "/c", Saver, false, 0},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.CommandLine ? c.CommandLine : "(none)");
        TModeChoice choice = ChooseMode(c.CommandLine, c.SecondArgument);
        EXPECT_EQ(std::tuple(choice.Mode, choice.Install, choice.HostWindow),
                  std::tuple(c.Mode, c.Install, c.Host));
    }
}

// The five game moves steer, even after a stop; any other key asks to end
// once; in preview every key is ignored.
TEST(KeyDownAction, ManualKeysSteerEvenAfterAStopOtherKeysAskToEndOnce) {
    using A = TInputAction;
    using K = TKeyAction;
    for (K move : {K::Left, K::Right, K::Turn, K::Down, K::Drop, K::NoMove}) {
        SCOPED_TRACE(int(move));
        const bool game = move != K::NoMove;
        TKeyDecision steer = KeyDownAction(Saver, true, false, move);
        EXPECT_EQ(steer.Action, game ? A::ManualKey : A::RequestEnd);
        EXPECT_EQ(steer.Key, move);
        EXPECT_EQ(KeyDownAction(Saver, true, true, move).Action, game ? A::ManualKey : A::Ignore);
        EXPECT_EQ(KeyDownAction(Saver, false, false, move).Action, A::RequestEnd);
        EXPECT_EQ(KeyDownAction(Preview, true, false, move).Action, A::Ignore);
    }
}

TEST(MouseMoveAction, TheSeventhMoveAsksToEndInFullScreenOnly) {
    int32_t countdown = MouseMovesToEnd;
    for (int move = 1; move <= 6; ++move)
        EXPECT_EQ(MouseMoveAction(Saver, false, countdown), TInputAction::Ignore) << move;
    EXPECT_EQ(MouseMoveAction(Saver, false, countdown), TInputAction::RequestEnd);
    countdown = 1;
    EXPECT_EQ(MouseMoveAction(Preview, false, countdown), TInputAction::Ignore);
    EXPECT_EQ(MouseMoveAction(Saver, true, countdown), TInputAction::Ignore);
    EXPECT_EQ(countdown, 1);
}

TEST(CloseAction, FullScreenCloseAsksToEndOnceAndEndingAsksThePassword) {
    EXPECT_EQ(CloseAction(Saver, false), TCloseAction::RequestEnd);
    EXPECT_EQ(CloseAction(Saver, true), TCloseAction::Ignore);
    EXPECT_EQ(CloseAction(Preview, false), TCloseAction::Default);
    EXPECT_EQ(ButtonAction(false), TInputAction::RequestEnd);
    EXPECT_EQ(ButtonAction(true), TInputAction::Ignore);
    EXPECT_EQ(EndAction(Saver), TEndAction::AskPassword);
}

// Manual control makes the window thread time-critical.
TEST(PriorityPlan, EachSettingChangesOnlyItsOwnPriorities) {
    auto flags = [](int32_t priority, bool manual) {
        TPriorityPlan p = PriorityPlan(priority, manual);
        return std::vector<bool>{p.GameThreadLowest, p.ProcessNormalClass, p.GameThreadHighest,
                                 p.WindowThreadTimeCritical};
    };
    EXPECT_EQ(flags(PriorityLow, false), (std::vector<bool>{true, false, false, false}));
    EXPECT_EQ(flags(PriorityHigh, false), (std::vector<bool>{false, true, true, false}));
    EXPECT_EQ(flags(PriorityNormal, true), (std::vector<bool>{false, false, false, true}));
    for (int32_t other : {PriorityNormal, 0, 105, 109})
        EXPECT_EQ(flags(other, false), std::vector<bool>(4, false)) << other;
}

// The stored Time chooses the clock; any value but the first two shows the
// game's time.
TEST(LookOf, TheSettingsMakeThePicturesLook) {
    TSettings settings{ClockCurrentTime, PriorityNormal, 3, false, false, true, {}};
    for (auto [time, clock] : {std::pair{ClockCurrentTime, TClockKind::TimeOfDay},
                               {ClockRunTime, TClockKind::RunTime},
                               {ClockGameTime, TClockKind::GameTime},
                               {5, TClockKind::GameTime}}) {
        settings.Time = time;
        for (bool saver : {true, false}) {
            TLook look = LookOf(settings, saver);
            EXPECT_EQ((std::vector<int32_t>{look.Palette, look.Texture, look.ShowInfo, look.Saver,
                                            int32_t(look.Clock)}),
                      (std::vector<int32_t>{3, 0, 0, saver, int32_t(clock)}))
                << time;
        }
    }
}

// The window covers every monitor; the game keeps the primary monitor's
// place, in client coordinates of that window.
TEST(ArrangeScreen, TheWindowCoversTheVirtualScreenTheGameThePrimaryMonitor) {
    const struct {
        const char *Name;
        TRect Virtual, Primary, Window, Game;
    } cases[] = {
        // clang-format off
        {"one monitor", {0, 0, 1024, 768}, {0, 0, 1024, 768}, {0, 0, 1024, 768}, {0, 0, 1024, 768}},
        {"no virtual screen (95, NT 4)", {}, {0, 0, 800, 600}, {0, 0, 800, 600}, {0, 0, 800, 600}},
        {"a size of 0 only", {-1280, 0, -1280, 0}, {0, 0, 800, 600},
         {0, 0, 800, 600}, {0, 0, 800, 600}},
        {"second on the right", {0, 0, 3200, 1080}, {0, 0, 1920, 1080},
         {0, 0, 3200, 1080}, {0, 0, 1920, 1080}},
        {"second on the left, taller", {-1280, -200, 1920, 1080}, {0, 0, 1920, 1080},
         {-1280, -200, 1920, 1080}, {1280, 200, 3200, 1280}},
        {"second above", {0, -1024, 1920, 1080}, {0, 0, 1920, 1080},
         {0, -1024, 1920, 1080}, {0, 1024, 1920, 2104}},
        {"second below, narrower", {0, 0, 1920, 1848}, {0, 0, 1920, 1080},
         {0, 0, 1920, 1848}, {0, 0, 1920, 1080}},
        {"second below, lower and wider", {-320, 0, 2240, 2520}, {0, 0, 1920, 1080},
         {-320, 0, 2240, 2520}, {320, 0, 2240, 1080}},
        {"three in a row", {-1920, 0, 3840, 1200}, {0, 0, 1920, 1080},
         {-1920, 0, 3840, 1200}, {1920, 0, 3840, 1080}},
        {"a virtual screen short of the primary", {-800, 0, 1024, 600}, {0, 0, 1024, 768},
         {-800, 0, 1024, 768}, {800, 0, 1824, 768}},
        {"no primary", {-800, 0, 1024, 768}, {}, {-800, 0, 1024, 768}, {0, 0, 1824, 768}},
        // clang-format on
    };
    for (const auto &c : cases) {
        TScreenArrangement a = ArrangeScreen(c.Virtual, c.Primary);
        EXPECT_EQ(std::pair(a.Window, a.Game), std::pair(c.Window, c.Game)) << c.Name;
    }
}

} // namespace
