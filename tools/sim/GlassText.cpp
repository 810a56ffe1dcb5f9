#include "GlassText.h"

#include <cstdio>
#include <istream>
#include <ostream>
#include <vector>

#include "game/Figures.h"
#include "game/Lattice.h"

namespace {
// Far longer than any glass row; a longer line is not glass text.
constexpr std::size_t MaxLineLength = 4096;
constexpr std::size_t MaxQuoted = 40;

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

// One line without its end (LF or CRLF). False at the end of the input.
bool ReadLine(std::istream &in, std::string &line, int lineNumber) {
    line.clear();
    std::istream::int_type c;
    bool any = false;
    while ((c = in.get()) != std::istream::traits_type::eof()) {
        any = true;
        if (c == '\n')
            break;
        if (line.size() >= MaxLineLength)
            throw TInputError("line " + std::to_string(lineNumber) + " is longer than " +
                              std::to_string(MaxLineLength) + " characters");
        line.push_back(static_cast<char>(c));
    }
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    return any;
}

std::vector<std::string> Split(const std::string &line) {
    std::vector<std::string> tokens;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && IsBlank(line[i]))
            ++i;
        std::size_t start = i;
        while (i < line.size() && !IsBlank(line[i]))
            ++i;
        if (i > start)
            tokens.push_back(line.substr(start, i - start));
    }
    return tokens;
}

TFigureLine ParseFigureLine(const std::vector<std::string> &tokens) {
    if (tokens.size() < 4 || tokens.size() > 5)
        throw TInputError("figure line: expected 'figure KIND COL ROW [ROT]'");
    TFigureLine figure;
    figure.Kind =
        static_cast<int32_t>(ParseInteger(tokens[1], "figure kind", INT32_MIN, INT32_MAX));
    if (figure.Kind < 0 || figure.Kind >= KindCount)
        throw TInputError("unknown figure kind " + tokens[1] + " (kinds are 0 to 9)");
    figure.Column =
        static_cast<int32_t>(ParseInteger(tokens[2], "figure column", -MaxOrigin, MaxOrigin));
    figure.Row = static_cast<int32_t>(ParseInteger(tokens[3], "figure row", -MaxOrigin, MaxOrigin));
    if (!SameParity(figure.Column, figure.Row))
        throw TInputError("figure origin (" + tokens[2] + ", " + tokens[3] +
                          ") is no cell: column and row parities differ");
    if (tokens.size() == 5)
        figure.Turns =
            static_cast<int32_t>(ParseInteger(tokens[4], "figure rotation", INT32_MIN, INT32_MAX));
    return figure;
}

void ReadRow(const std::string &line, int32_t row, TStakko &s) {
    for (std::size_t i = 0; i < line.size(); ++i) {
        char c = line[i];
        int32_t column = static_cast<int32_t>(i);
        if (column >= s.Width) {
            if (!IsBlank(c))
                throw TInputError("row " + std::to_string(row) + ": " + Quoted(std::string(1, c)) +
                                  " beyond the last column " + std::to_string(s.Width - 1));
            continue;
        }
        // Whatever stands where the lattice has no cell is a spacer.
        if (!SameParity(column, row))
            continue;
        if (c != '#' && c != '.')
            throw TInputError("row " + std::to_string(row) + " column " + std::to_string(column) +
                              ": expected '#' or '.', found " + Quoted(std::string(1, c)));
        s.SetCell(column, row, c == '#' ? 1 : 0);
    }
}
} // namespace

std::string Quoted(const std::string &text) {
    std::string quoted = "'";
    for (std::size_t i = 0; i < text.size() && i < MaxQuoted; ++i) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7f) {
            quoted.push_back(static_cast<char>(c));
        } else {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02x", c);
            quoted += escaped;
        }
    }
    if (text.size() > MaxQuoted)
        quoted += "...";
    return quoted + "'";
}

int64_t ParseInteger(const std::string &text, const std::string &what, int64_t low, int64_t high) {
    std::size_t i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+'))
        negative = text[i++] == '-';
    if (i == text.size())
        throw TInputError(what + ": " + Quoted(text) + " is not a number");
    // Digits beyond the range saturate, so the range test below catches them.
    constexpr int64_t Saturated = int64_t{1} << 40;
    int64_t value = 0;
    for (; i < text.size(); ++i) {
        if (text[i] < '0' || text[i] > '9')
            throw TInputError(what + ": " + Quoted(text) + " is not a number");
        if (value < Saturated)
            value = value * 10 + (text[i] - '0');
    }
    if (negative)
        value = -value;
    if (value < low || value > high)
        throw TInputError(what + " " + Quoted(text) + " is out of range " + std::to_string(low) +
                          ".." + std::to_string(high));
    return value;
}

void CheckDimensions(int64_t width, int64_t height) {
    if (width < 1 || width > MaxWidth)
        throw TInputError("width " + std::to_string(width) + " is out of range 1.." +
                          std::to_string(MaxWidth));
    if (height < 1 || height > MaxHeight)
        throw TInputError("height " + std::to_string(height) + " is out of range 1.." +
                          std::to_string(MaxHeight));
    // With both odd the first and last columns are full columns.
    if (width % 2 == 0)
        throw TInputError("width " + std::to_string(width) + " is even; glass sizes are odd");
    if (height % 2 == 0)
        throw TInputError("height " + std::to_string(height) + " is even; glass sizes are odd");
}

std::optional<TFigureLine> ReadGlassText(std::istream &in, TStakko &s) {
    std::string line;
    int lineNumber = 1;
    if (!ReadLine(in, line, lineNumber))
        throw TInputError("empty input: expected a glass header 'WIDTH HEIGHT'");
    std::vector<std::string> header = Split(line);
    if (header.size() != 2)
        throw TInputError("glass header: expected 'WIDTH HEIGHT', found " + Quoted(line));
    int64_t width = ParseInteger(header[0], "glass width", INT32_MIN, INT32_MAX);
    int64_t height = ParseInteger(header[1], "glass height", INT32_MIN, INT32_MAX);
    CheckDimensions(width, height);

    s.Width = static_cast<int32_t>(width);
    s.Height = static_cast<int32_t>(height);
    s.NewGame(0);
    for (int32_t row = 0; row < s.Height; ++row) {
        ++lineNumber;
        if (!ReadLine(in, line, lineNumber))
            throw TInputError("glass ends after " + std::to_string(row) + " of " +
                              std::to_string(s.Height) + " rows");
        ReadRow(line, row, s);
    }

    std::optional<TFigureLine> figure;
    while (ReadLine(in, line, ++lineNumber)) {
        std::vector<std::string> tokens = Split(line);
        if (tokens.empty())
            continue;
        if (tokens[0] != "figure")
            throw TInputError("line " + std::to_string(lineNumber) +
                              " after the glass: " + Quoted(line) + " is not a figure line");
        if (figure)
            throw TInputError("line " + std::to_string(lineNumber) + ": a second figure line");
        figure = ParseFigureLine(tokens);
    }
    return figure;
}

void WriteGlassText(std::ostream &out, const TStakko &s) {
    out << s.Width << ' ' << s.Height << '\n';
    std::string line;
    for (int32_t row = 0; row < s.Height; ++row) {
        line.assign(static_cast<std::size_t>(s.Width), ' ');
        for (int32_t column = 0; column < s.Width; ++column)
            if (SameParity(column, row))
                line[column] = s.GetCell(column, row) == FilledCell ? '#' : '.';
        out << line << '\n';
    }
}

void PlaceFigure(TStakko &s, const TFigureLine &figure) {
    s.Kind = figure.Kind;
    s.FigX = figure.Column;
    s.FigY = figure.Row;
    for (int i = 0; i < FigureCells; ++i) {
        TOffset turned = TurnOffset(KindOffsets[figure.Kind][i], figure.Turns);
        s.CellX[i] = turned.X;
        s.CellY[i] = turned.Y;
    }
}
