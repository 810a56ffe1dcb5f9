#pragma once
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "SimCommands.h"

// One in-process run of the simulator.
struct TSimRun {
    int Status = -1;
    std::string Out;
    std::string Err;
};

inline TSimRun RunSimWith(const std::vector<std::string> &args, const std::string &input = "") {
    std::istringstream in(input);
    std::ostringstream out, err;
    TSimRun run;
    run.Status = RunSim(args, in, out, err);
    run.Out = out.str();
    run.Err = err.str();
    return run;
}

using TCells = std::vector<std::pair<int, int>>; // (column, row) of filled cells

// Glass text for a width x height glass with the given cells filled, each
// row written whole, and an optional last line.
inline std::string GlassText(int width, int height, const TCells &filled,
                             const std::string &lastLine = "") {
    std::vector<std::string> rows(height, std::string(width, ' '));
    for (int row = 0; row < height; ++row)
        for (int column = (row % 2); column < width; column += 2)
            rows[row][column] = '.';
    for (auto [column, row] : filled)
        rows[row][column] = '#';
    std::string text = std::to_string(width) + " " + std::to_string(height) + "\n";
    for (const std::string &row : rows)
        text += row + "\n";
    if (!lastLine.empty())
        text += lastLine + "\n";
    return text;
}

// The up line r of an 11-column glass: even columns at row r, odd at r - 1.
inline TCells UpLine(int r, int width = 11) {
    TCells cells;
    for (int column = 0; column < width; ++column)
        cells.push_back({column, column % 2 ? r - 1 : r});
    return cells;
}

// The down line r: even columns at row r, odd at r + 1.
inline TCells DownLine(int r, int width = 11) {
    TCells cells;
    for (int column = 0; column < width; ++column)
        cells.push_back({column, column % 2 ? r + 1 : r});
    return cells;
}

inline TCells Joined(std::initializer_list<TCells> parts) {
    TCells all;
    for (const TCells &part : parts)
        all.insert(all.end(), part.begin(), part.end());
    return all;
}
