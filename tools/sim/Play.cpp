#include "Play.h"

#include <chrono>
#include <cstdlib>
#include <iomanip>
#include <ostream>

#include "GlassText.h"
#include "driver/AutoPlan.h"
#include "game/Figures.h"
#include "game/Ticks.h"

namespace {
using Clock = std::chrono::steady_clock;

// Seconds between two progress lines of a long statistics run.
constexpr auto ProgressInterval = std::chrono::seconds(5);

// The listed kinds, one per figure that comes into play. The search's trial
// landings place figures too, with drawing off; they take nothing.
struct TKindList {
    const TStakko *Game = nullptr;
    const std::vector<int32_t> *Kinds = nullptr;
    std::size_t Next = 0;
    bool UsedUp = false;
};

int32_t NextListedKind(void *context) {
    TKindList &list = *static_cast<TKindList *>(context);
    if (!list.Game->Drawing)
        return 0;
    if (list.Next < list.Kinds->size())
        return (*list.Kinds)[list.Next++];
    list.UsedUp = true;
    return 0;
}

// The game's random pick, at the time the real saver would reach it: the
// lines removed by the landing have flashed before the next figure is made.
struct TTimedPick {
    const TStakko *Game = nullptr;
    uint32_t *Clock = nullptr;
    int32_t LinesTimed = 0; // lines of this game whose flashes are on the clock
};

void TimeFlashes(TTimedPick &pick) {
    *pick.Clock += FlashMs * static_cast<uint32_t>(pick.Game->Lines - pick.LinesTimed);
    pick.LinesTimed = pick.Game->Lines;
}

int32_t NextTimedKind(void *context) {
    TTimedPick &pick = *static_cast<TTimedPick *>(context);
    if (!pick.Game->Drawing)
        return 0;
    TimeFlashes(pick);
    return PickRandomKind();
}

std::vector<int32_t> ParseKinds(const std::string &text) {
    std::vector<int32_t> kinds;
    std::size_t start = 0;
    for (;;) {
        std::size_t comma = text.find(',', start);
        std::string item = text.substr(start, comma == std::string::npos ? comma : comma - start);
        if (item.empty())
            throw TInputError("--kinds: empty kind in " + Quoted(text));
        int64_t kind = ParseInteger(item, "--kinds", INT32_MIN, INT32_MAX);
        if (kind < 0 || kind >= KindCount)
            throw TInputError("unknown figure kind " + item + " in --kinds (kinds are 0 to 9)");
        kinds.push_back(static_cast<int32_t>(kind));
        if (comma == std::string::npos)
            return kinds;
        start = comma + 1;
    }
}

void EmptyGlass(TStakko &s, const TPlayOptions &options) {
    s.Width = options.Width;
    s.Height = options.Height;
    s.NewGame();
}
} // namespace

TFigurePlay PlayFigure(TStakko &s, uint32_t *clock) {
    TFigurePlay play;
    play.Kind = s.Kind;
    Clock::time_point start = Clock::now();
    play.Plan = s.SearchPlacement();
    play.SearchMicros = std::chrono::duration<double, std::micro>(Clock::now() - start).count();

    play.PauseMs = PlayPlanAtOnce(s, play.Plan.Rotation, play.Plan.Shift, clock);
    return play;
}

TPlayOptions ParsePlayOptions(const std::vector<std::string> &args) {
    TPlayOptions options;
    bool haveWidth = false, haveHeight = false, haveKinds = false, haveGames = false,
         haveSeed = false;
    for (std::size_t i = 0; i < args.size(); i += 2) {
        const std::string &name = args[i];
        bool *seen = name == "--width"    ? &haveWidth
                     : name == "--height" ? &haveHeight
                     : name == "--kinds"  ? &haveKinds
                     : name == "--games"  ? &haveGames
                     : name == "--seed"   ? &haveSeed
                                          : nullptr;
        if (!seen)
            throw TInputError("play: unknown option " + Quoted(name));
        if (*seen)
            throw TInputError("play: option " + name + " given twice");
        if (i + 1 >= args.size())
            throw TInputError("play: option " + name + " needs a value");
        *seen = true;
        const std::string &value = args[i + 1];
        if (name == "--width")
            options.Width = static_cast<int32_t>(ParseInteger(value, name, INT32_MIN, INT32_MAX));
        else if (name == "--height")
            options.Height = static_cast<int32_t>(ParseInteger(value, name, INT32_MIN, INT32_MAX));
        else if (name == "--kinds")
            options.Kinds = ParseKinds(value);
        else if (name == "--games")
            options.Games = static_cast<int32_t>(ParseInteger(value, name, 1, INT32_MAX));
        else
            options.Seed = static_cast<uint32_t>(ParseInteger(value, name, 0, UINT32_MAX));
    }
    if (!haveWidth)
        throw TInputError("play: missing option --width");
    if (!haveHeight)
        throw TInputError("play: missing option --height");
    CheckDimensions(options.Width, options.Height);
    if (haveKinds && (haveGames || haveSeed))
        throw TInputError("play: --kinds does not go with --games or --seed");
    if (!haveKinds && !haveGames && !haveSeed)
        throw TInputError("play: give --kinds, or --games with --seed");
    if (!haveKinds && !haveGames)
        throw TInputError("play: missing option --games");
    if (!haveKinds && !haveSeed)
        throw TInputError("play: missing option --seed");
    return options;
}

void PlayKinds(const TPlayOptions &options, std::ostream &out) {
    TStakko s;
    TKindList list;
    list.Game = &s;
    list.Kinds = &options.Kinds;
    s.SetKindSource(&NextListedKind, &list);
    EmptyGlass(s, options);
    s.NewFigure();

    for (int figure = 1;; ++figure) {
        TFigurePlay play = PlayFigure(s);
        out << "figure " << figure << " kind " << play.Kind << " rotation " << play.Plan.Rotation
            << " shift " << play.Plan.Shift << '\n';
        // The landing that found the list used up placed a figure of kind 0,
        // which is not played.
        if (s.GameOver || list.UsedUp)
            break;
    }
    out << "lines " << s.Lines << " score " << s.Score << " gameover " << (s.GameOver ? 1 : 0)
        << '\n';
    WriteGlassText(out, s);
}

void PlayGames(const TPlayOptions &options, std::ostream &out, std::ostream &err) {
    TSteppedClock clock(options.Seed);
    TStakko s;
    TTimedPick pick;
    pick.Game = &s;
    pick.Clock = &clock.Now;
    s.SetKindSource(&NextTimedKind, &pick);
    EmptyGlass(s, options);
    s.NewFigure();

    int64_t totalFigures = 0, totalLines = 0, totalScore = 0;
    double searchMicros = 0, longestSearch = 0;
    Clock::time_point lastProgress = Clock::now();
    for (int32_t game = 1; game <= options.Games; ++game) {
        // A new game goes on with the figure that was in play when the last
        // one ended, as the saver does.
        if (game > 1) {
            s.NewGame();
            pick.LinesTimed = 0;
        }
        int64_t figures = 0;
        while (!s.GameOver) {
            TFigurePlay play = PlayFigure(s, &clock.Now);
            TimeFlashes(pick); // a landing that ends the game has made no pick
            clock.Now += StepTime;
            ++figures;
            searchMicros += play.SearchMicros;
            if (play.SearchMicros > longestSearch)
                longestSearch = play.SearchMicros;
            if (Clock::now() - lastProgress >= ProgressInterval) {
                lastProgress = Clock::now();
                err << "stakko-sim: game " << game << " of " << options.Games << ", " << figures
                    << " figures, " << s.Lines << " lines" << std::endl;
            }
        }
        out << "game " << game << " figures " << figures << " lines " << s.Lines << " score "
            << s.Score << '\n';
        totalFigures += figures;
        totalLines += s.Lines;
        totalScore += s.Score;
    }

    const double games = options.Games;
    std::ios::fmtflags flags = out.flags();
    out << std::fixed << std::setprecision(1) << "games " << options.Games << " mean figures "
        << totalFigures / games << " lines " << totalLines / games << " score "
        << totalScore / games << " search mean " << searchMicros / totalFigures << " us max "
        << longestSearch << " us\n";
    out.flags(flags);
}
