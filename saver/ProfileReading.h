#pragma once
#include <cstdint>
#include <string>

#include "saver/Settings.h"

// Settings read the way the Windows saver reads its profile, for a front end
// whose settings come as key=value texts of its own (a web page's address).

// A number as the profile reader takes it: blanks skipped, a sign, "0x" for
// hexadecimal, the digits up to the first other character ("12abc" is 12),
// a text without digits 0, wrapped to 32 bits; a missing or empty value is
// the fallback.
int32_t ProfileNumber(const std::string *text, int32_t fallback);

// The settings of the profile's keys in a query string
// ("?Palette=2&ShowInfo=0"); keys in any case, values percent-decoded, the
// first of a repeated key counts, other keys are ignored. Values are taken
// as the saver takes them, with no range check.
TSettings SettingsFromQuery(const std::string &query);
