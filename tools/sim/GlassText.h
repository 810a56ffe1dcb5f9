#pragma once
#include <cstdint>
#include <iosfwd>
#include <optional>
#include <stdexcept>
#include <string>

#include "game/Stakko.h"

// Glass text, the simulator's exchange format:
//   W H
//   H lines, row 0 first; character c is column c: '#' filled, '.' empty,
//   a blank where the position holds no cell
//   [figure KIND COL ROW [ROT]]

// Input the simulator refuses; the message names the problem in one line.
class TInputError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Bounds of a figure origin. Far beyond any glass, yet the search's cost grows
// with the square of the height above the glass (about 20 s at row -10000).
constexpr int32_t MaxOrigin = 1000;

struct TFigureLine {
    int32_t Kind = 0;
    int32_t Column = 0;
    int32_t Row = 0;
    int32_t Turns = 0;
};

// Sets the dimensions of s, empties it and fills it from the text. Returns the
// figure line if there is one. Throws TInputError on malformed text.
std::optional<TFigureLine> ReadGlassText(std::istream &in, TStakko &s);

// Header and every row of the glass, each row written whole.
void WriteGlassText(std::ostream &out, const TStakko &s);

// Makes the figure line the current figure: the kind's offsets turned
// Turns steps about the origin.
void PlaceFigure(TStakko &s, const TFigureLine &figure);

// A whole decimal integer within [low, high]; what names it in the message.
int64_t ParseInteger(const std::string &text, const std::string &what, int64_t low, int64_t high);

// Glass dimensions: odd, 1..31 columns and 1..71 rows.
void CheckDimensions(int64_t width, int64_t height);

// Text from the input, made safe to quote in a one-line message.
std::string Quoted(const std::string &text);
