#include "Play.h"

#include <chrono>
#include <cstdlib>
#include <iomanip>
#include <memory>
#include <ostream>

#include "GlassText.h"
#include "driver/PlaySession.h"
#include "game/Figures.h"

namespace {
using Clock = std::chrono::steady_clock;

// Seconds between two progress lines of a long statistics run.
constexpr auto ProgressInterval = std::chrono::seconds(5);

// The listed kinds, one per figure that comes into play.
class TKindList final : public TKindSource {
public:
    explicit TKindList(const std::vector<int32_t> &kinds) : Kinds(kinds) {}
    int32_t NextKind() override {
        if (Next < Kinds.size())
            return Kinds[Next++];
        UsedUp = true;
        return 0;
    }
    bool UsedUp = false;

private:
    const std::vector<int32_t> &Kinds;
    std::size_t Next = 0;
};

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

// A session on an empty glass of the options' size, played on a stepped
// clock from the seed; the game object is large, so it lives on the heap.
std::unique_ptr<TPlaySession> NewSession(const TPlayOptions &options, TKindSource *kinds) {
    TNow start{options.Seed, 0};
    auto session = std::make_unique<TPlaySession>(TSessionOptions{}, start, kinds);
    session->FitGlass(TGlassFit{true, 0, 0, options.Width, options.Height}, start);
    return session;
}

double MicrosSince(Clock::time_point start) {
    return std::chrono::duration<double, std::micro>(Clock::now() - start).count();
}
} // namespace

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
    TKindList list(options.Kinds);
    auto session = NewSession(options, &list);
    const TStakko &s = session->Game();
    TSteppedPlay play(*session, TNow{options.Seed, 0});
    TPlacement plan;
    int32_t kind = s.Kind;
    for (int figure = 1;;) {
        int32_t kindInPlay = s.Kind;
        TStepResult step = play.Next();
        if (step.Planned) {
            plan = step.Plan;
            kind = kindInPlay;
        }
        if (!step.Landed)
            continue;
        out << "figure " << figure++ << " kind " << kind << " rotation " << plan.Rotation
            << " shift " << plan.Shift << '\n';
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
    auto session = NewSession(options, nullptr);
    const TStakko &s = session->Game();
    TSteppedPlay play(*session, TNow{options.Seed, 0});

    int64_t totalFigures = 0, totalLines = 0, totalScore = 0;
    double searchMicros = 0, longestSearch = 0;
    Clock::time_point lastProgress = Clock::now();
    for (int32_t game = 1; game <= options.Games; ++game) {
        // A new game goes on with the figure that was in play when the last
        // one ended, as the saver does.
        int64_t figures = 0;
        do {
            Clock::time_point start = Clock::now();
            TStepResult step = play.Next();
            if (step.Planned) {
                double micros = MicrosSince(start); // the search and one step's moves
                searchMicros += micros;
                if (micros > longestSearch)
                    longestSearch = micros;
            }
            if (!step.Landed)
                continue;
            ++figures;
            if (Clock::now() - lastProgress >= ProgressInterval) {
                lastProgress = Clock::now();
                err << "stakko-sim: game " << game << " of " << options.Games << ", " << figures
                    << " figures, " << s.Lines << " lines" << std::endl;
            }
        } while (!s.GameOver);
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
