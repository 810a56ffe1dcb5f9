#include "saver/Switches.h"

#include <cstdlib>
#include <cstring>

namespace {
struct TSwitchGroup {
    const char *Patterns[4];
    TRunMode Mode;
};

// Tested in this order; the first group with a match wins.
constexpr TSwitchGroup SwitchGroups[] = {
    {{"/C", "/c", "-C", "-c"}, Configure},
    {{"/P", "/p", "-P", "-p"}, Preview},
    {{"/A", "/a", "-A", "-a"}, ChangePassword},
};
} // namespace

bool FindSwitch(const char *text, const char *pattern, int32_t *position) {
    if (!text || !pattern)
        return false;
    size_t textLength = std::strlen(text);
    size_t patternLength = std::strlen(pattern);
    if (patternLength == 0 || textLength == 0 || patternLength > textLength)
        return false;
    const char *first = std::strchr(text, pattern[0]);
    if (!first)
        return false;
    size_t start = static_cast<size_t>(first - text);
    if (textLength - start < patternLength)
        return false;
    if (std::strncmp(first, pattern, patternLength) != 0)
        return false;
    if (position)
        *position = static_cast<int32_t>(start);
    return true;
}

int32_t ReadHandleArgument(const char *text) {
    if (!text)
        return 0;
    // atoi's grammar, without its undefined overflow: the value wraps to 32 bits.
    const char *p = text;
    while (*p == ' ' || (*p >= '\t' && *p <= '\r'))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    uint32_t value = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        value = value * 10u + static_cast<uint32_t>(*p - '0');
    if (negative)
        value = 0u - value;
    return static_cast<int32_t>(value);
}

TModeChoice ChooseMode(const char *commandLine, const char *secondArgument) {
    TModeChoice choice;
    if (FindSwitch(commandLine, "/reg")) {
        choice.Install = true;
        return choice;
    }
    for (const TSwitchGroup &group : SwitchGroups) {
        for (const char *pattern : group.Patterns) {
            if (!FindSwitch(commandLine, pattern))
                continue;
            choice.Mode = group.Mode;
            if (group.Mode != Configure)
                choice.HostWindow = ReadHandleArgument(secondArgument);
            return choice;
        }
    }
    return choice;
}
