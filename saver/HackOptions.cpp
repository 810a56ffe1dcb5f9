#include "saver/HackOptions.h"

const char *const HackUsage =
    "usage: stakko [-root | -window | -window-id ID] [-geometry WxH+X+Y] [-display DISPLAY]\n"
    "              [-palette brown|blue|green|black|0-3] [-plain | -no-plain]\n"
    "              [-info | -no-info] [-clock time|run|game] [-manual | -no-manual]\n"
    "              [-help] [-version]";

namespace {
struct TNamedValue {
    const char *Name;
    int32_t Value;
};

// The palettes by list index and by the names of the settings dialog.
constexpr TNamedValue Palettes[] = {{"brown", 0}, {"blue", 1}, {"green", 2}, {"black", 3},
                                    {"0", 0},     {"1", 1},    {"2", 2},     {"3", 3}};
constexpr TNamedValue Clocks[] = {
    {"time", ClockCurrentTime}, {"run", ClockRunTime}, {"game", ClockGameTime}};

template <size_t N>
bool Lookup(const TNamedValue (&table)[N], const std::string &text, int32_t &value) {
    for (const TNamedValue &entry : table)
        if (text == entry.Name) {
            value = entry.Value;
            return true;
        }
    return false;
}

// "-name" and "--name" are the same option.
std::string OptionName(const std::string &arg) {
    if (arg.size() > 2 && arg[0] == '-' && arg[1] == '-')
        return arg.substr(2);
    if (arg.size() > 1 && arg[0] == '-')
        return arg.substr(1);
    return std::string();
}

// The flags: each name sets one setting on or off.
struct TFlag {
    const char *Name;
    bool TSettings::*Setting;
    bool On;
};
constexpr TFlag Flags[] = {
    {"plain", &TSettings::ShowBkgr, false},      {"no-plain", &TSettings::ShowBkgr, true},
    {"info", &TSettings::ShowInfo, true},        {"no-info", &TSettings::ShowInfo, false},
    {"manual", &TSettings::ManualControl, true}, {"no-manual", &TSettings::ManualControl, false},
};
} // namespace

namespace {
// Digits at text[at...]: the number, and at moved past them; false without
// a digit or beyond 32767 (no window is larger).
bool ReadNumber(const std::string &text, size_t &at, uint32_t &number) {
    const size_t start = at;
    number = 0;
    while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 6)
        number = number * 10 + uint32_t(text[at++] - '0');
    return at > start && number <= 32767;
}
} // namespace

bool ParseGeometry(const std::string &text, TGeometry &geometry) {
    size_t at = text.size() > 0 && text[0] == '=' ? 1 : 0;
    TGeometry g = geometry;
    if (at < text.size() && text[at] != '+' && text[at] != '-') {
        if (!ReadNumber(text, at, g.Width) || at >= text.size() ||
            (text[at] != 'x' && text[at] != 'X') || !ReadNumber(text, ++at, g.Height) ||
            g.Width == 0 || g.Height == 0)
            return false;
        g.HasSize = true;
    }
    if (at < text.size()) {
        uint32_t x = 0, y = 0;
        g.FromRight = text[at] == '-';
        if ((text[at] != '+' && text[at] != '-') || !ReadNumber(text, ++at, x) ||
            at >= text.size() || (text[at] != '+' && text[at] != '-'))
            return false;
        g.FromBottom = text[at] == '-';
        if (!ReadNumber(text, ++at, y) || at != text.size())
            return false;
        g.X = int32_t(x);
        g.Y = int32_t(y);
        g.HasPlace = true;
    }
    if (!g.HasSize && !g.HasPlace)
        return false;
    geometry = g;
    return true;
}

bool ParseWindowId(const std::string &text, uint64_t &id) {
    const bool hex = text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
    const std::string digits = hex ? text.substr(2) : text;
    if (digits.empty() || digits.size() > 10)
        return false;
    uint64_t value = 0;
    for (char c : digits) {
        const int digit = c >= '0' && c <= '9'          ? c - '0'
                          : hex && c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : hex && c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                        : -1;
        if (digit < 0)
            return false;
        value = value * (hex ? 16 : 10) + uint64_t(digit);
    }
    if (value == 0 || value > 0xFFFFFFFFull)
        return false;
    id = value;
    return true;
}

bool ParseHackOptions(const std::vector<std::string> &args, THackOptions &options,
                      std::string &problem) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string name = OptionName(args[i]);
        bool flagged = false;
        for (const TFlag &flag : Flags)
            if (name == flag.Name) {
                options.Settings.*flag.Setting = flag.On;
                flagged = true;
            }
        if (flagged)
            continue;
        if (name == "root") {
            options.Target = THackTarget::Root;
            continue;
        }
        if (name == "window") {
            options.Target = THackTarget::OwnWindow;
            continue;
        }
        if (name == "help" || name == "h") {
            options.Help = true;
            continue;
        }
        if (name == "version") {
            options.Version = true;
            continue;
        }
        const bool takesValue = name == "window-id" || name == "geometry" || name == "display" ||
                                name == "palette" || name == "clock";
        if (!takesValue) {
            problem = "unknown option '" + args[i] + "'";
            return false;
        }
        if (i + 1 >= args.size()) {
            problem = "option '" + args[i] + "' needs a value";
            return false;
        }
        const std::string &value = args[++i];
        bool good = !value.empty();
        if (name == "window-id") {
            good = ParseWindowId(value, options.WindowId);
            options.Target = THackTarget::WindowId;
        } else if (name == "geometry") {
            good = ParseGeometry(value, options.Geometry);
        } else if (name == "display") {
            options.Display = value;
        } else if (name == "palette") {
            good = Lookup(Palettes, value, options.Settings.Palette);
        } else {
            good = Lookup(Clocks, value, options.Settings.Time);
        }
        if (!good) {
            problem = "bad value '" + value + "' for option '" + args[i - 1] + "'";
            return false;
        }
    }
    return true;
}
