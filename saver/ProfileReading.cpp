#include "saver/ProfileReading.h"

#include <cctype>
#include <map>

namespace {
int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

// %XX and '+' as a form encodes them.
std::string Decoded(const std::string &text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '+') {
            out += ' ';
        } else if (text[i] == '%' && i + 2 < text.size() && HexValue(text[i + 1]) >= 0 &&
                   HexValue(text[i + 2]) >= 0) {
            out += static_cast<char>(HexValue(text[i + 1]) * 16 + HexValue(text[i + 2]));
            i += 2;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::string Lower(std::string text) {
    for (char &c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}
} // namespace

int32_t ProfileNumber(const std::string *text, int32_t fallback) {
    if (!text || text->empty())
        return fallback;
    const std::string &t = *text;
    size_t at = 0;
    while (at < t.size() && (t[at] == ' ' || t[at] == '\t'))
        ++at;
    bool negative = false;
    if (at < t.size() && (t[at] == '+' || t[at] == '-'))
        negative = t[at++] == '-';
    uint32_t base = 10;
    if (at + 1 < t.size() && t[at] == '0' && (t[at + 1] == 'x' || t[at + 1] == 'X')) {
        base = 16;
        at += 2;
    }
    uint32_t value = 0;
    for (; at < t.size(); ++at) {
        const int digit = HexValue(t[at]);
        if (digit < 0 || uint32_t(digit) >= base)
            break;
        value = value * base + uint32_t(digit);
    }
    return static_cast<int32_t>(negative ? 0u - value : value);
}

TSettings SettingsFromQuery(const std::string &query) {
    std::map<std::string, std::string> values;
    size_t at = !query.empty() && query[0] == '?' ? 1 : 0;
    while (at <= query.size()) {
        size_t end = query.find('&', at);
        if (end == std::string::npos)
            end = query.size();
        const std::string pair = query.substr(at, end - at);
        const size_t equals = pair.find('=');
        const std::string key = Lower(Decoded(pair.substr(0, equals)));
        if (!key.empty() && !values.count(key))
            values[key] =
                equals == std::string::npos ? std::string() : Decoded(pair.substr(equals + 1));
        at = end + 1;
    }
    TSettings s;
    ReadSettings(s, [&](const char *key, int32_t fallback) {
        auto found = values.find(Lower(key));
        return ProfileNumber(found == values.end() ? nullptr : &found->second, fallback);
    });
    return s;
}
