#pragma once
#include <cstdint>

// How the program was started.
enum TRunMode : uint8_t {
    Configure = 1,
    Preview = 2,
    ChangePassword = 3,
    Saver = 4,
};

// The command-line switches: plain text logic, apart from the platform.

// Finds pattern in text: only at the first occurrence of the pattern's
// first character, compared case-sensitively. On a match, *position (if
// given) receives that index.
bool FindSwitch(const char *text, const char *pattern, int32_t *position = nullptr);

// A window handle argument as the runtime's text-to-integer conversion reads
// it: blanks, an optional sign, decimal digits; no digits (or no text) give 0.
int32_t ReadHandleArgument(const char *text);

struct TModeChoice {
    TRunMode Mode = Saver;
    bool Install = false;   // "/reg": install as the current screen saver first
    int32_t HostWindow = 0; // preview host or change-password owner
};

// The run mode for a command line (the text after the program's name) and
// its second argument (null when there is none).
TModeChoice ChooseMode(const char *commandLine, const char *secondArgument);
