#include <algorithm>

#include "game/Trace.h"
#include "player/Player.h"

namespace {
constexpr int32_t WeightLines = 100;     // W_L, per empty row at the top
constexpr int32_t WeightSpace = 1;       // W_S
constexpr int32_t WeightSmoothing = 1;   // W_T
constexpr int32_t HoleWeightScale = 300; // W_H on an empty glass

// One pass down each column's own cells. A column's depth is its highest
// filled cell; every unfilled position from there down is a hole, the
// positions between its cells included; the first filled row of the glass
// is the least depth.
int32_t ValueOfRows(const TStakko &game) {
    const int32_t width = game.Width, height = game.Height;
    const int32_t storedRows = std::min(height, MaxHeight);
    int32_t emptyLines = height;
    int32_t totSpace = 0, holes = 0, nonSmoothing = 0, previousDepth = 0;
    for (int32_t column = 0; column < width; ++column) {
        int32_t depth = height;
        int32_t filled = 0;
        if (column < MaxWidth) {
            const uint8_t *cells = &game.Glass[StoreIndex(column, 0)];
            for (int32_t row = TopRow(column); row < storedRows; row += 2)
                if (cells[row] == FilledCell && filled++ == 0)
                    depth = row;
        }
        bool edge = column == 0 || column == width - 1;
        totSpace += depth * (edge ? 2 : 3);
        if (column > 0)
            nonSmoothing += (depth - previousDepth) * (depth - previousDepth);
        holes += height - depth - filled;
        emptyLines = std::min(emptyLines, depth);
        previousDepth = depth;
    }
    int32_t holeWeight = HoleWeightScale * emptyLines * emptyLines / (height * height);
    return WeightLines * emptyLines + WeightSpace * totSpace - holeWeight * holes -
           WeightSmoothing * nonSmoothing;
}
} // namespace

int32_t ValueGlass(const TStakko &game) {
    try {
        // A glass without rows would divide by zero in the hole weight, a
        // fault that no catch-all can catch; it takes the failure path.
        if (game.Height <= 0) {
            Trace("ValueGlass");
            return 0;
        }
        return ValueOfRows(game);
    } catch (...) {
        Trace("ValueGlass");
        return 0;
    }
}
