#include "SimCommands.h"

#include <istream>
#include <ostream>

#include "GlassText.h"
#include "Play.h"
#include "Version.h"
#include "player/Player.h"

namespace {
const char Usage[] = "usage: stakko-sim eval | clear | best < GLASS\n"
                     "       stakko-sim play --width W --height H --kinds K1,K2,...\n"
                     "       stakko-sim play --width W --height H --games N --seed S\n"
                     "       stakko-sim --help | --version\n";

void NoArguments(const std::string &command, const std::vector<std::string> &args) {
    if (!args.empty())
        throw TInputError(command + ": unexpected argument " + Quoted(args.front()));
}

void Eval(std::istream &in, std::ostream &out) {
    TStakko s;
    ReadGlassText(in, s);
    out << "value " << ValueGlass(s) << '\n';
}

void Clear(std::istream &in, std::ostream &out) {
    TStakko s;
    ReadGlassText(in, s);
    int32_t removed = s.ClearLines();
    out << "removed " << removed << " score " << s.Score << " lines " << s.Lines << '\n';
    WriteGlassText(out, s);
}

void Best(std::istream &in, std::ostream &out) {
    TStakko s;
    std::optional<TFigureLine> figure = ReadGlassText(in, s);
    if (!figure)
        throw TInputError("best: missing figure line 'figure KIND COL ROW [ROT]' after the glass");
    PlaceFigure(s, *figure);
    TPlacement best = SearchPlacement(s);
    out << "rotation " << best.Rotation << " shift " << best.Shift << " value " << best.Value
        << " trials " << best.Trials << '\n';
}
} // namespace

int RunSim(const std::vector<std::string> &args, std::istream &in, std::ostream &out,
           std::ostream &err) {
    try {
        if (args.empty())
            throw TInputError("missing command: eval, clear, best or play (--help for usage)");
        const std::string &command = args.front();
        std::vector<std::string> rest(args.begin() + 1, args.end());
        if (command == "--help" || command == "-h") {
            out << Usage;
            return ExitOk;
        }
        if (command == "--version") {
            out << "stakko-sim " << STAKKO_VERSION_TEXT << '\n';
            return ExitOk;
        }
        if (command == "eval") {
            NoArguments(command, rest);
            Eval(in, out);
        } else if (command == "clear") {
            NoArguments(command, rest);
            Clear(in, out);
        } else if (command == "best") {
            NoArguments(command, rest);
            Best(in, out);
        } else if (command == "play") {
            TPlayOptions options = ParsePlayOptions(rest);
            if (options.Games > 0)
                PlayGames(options, out, err);
            else
                PlayKinds(options, out);
        } else {
            throw TInputError("unknown command " + Quoted(command) +
                              " (commands: eval, clear, best, play)");
        }
        return ExitOk;
    } catch (const TInputError &e) {
        err << "stakko-sim: " << e.what() << '\n';
        return ExitBadInput;
    } catch (const std::exception &e) {
        err << "stakko-sim: internal error: " << e.what() << '\n';
        return ExitFailure;
    }
}
