#include <algorithm>

#include "game/Stakko.h"
#include "game/Trace.h"

namespace {
constexpr int32_t WeightLines = 100;     // W_L, per empty row at the top
constexpr int32_t WeightSpace = 1;       // W_S
constexpr int32_t WeightSmoothing = 1;   // W_T
constexpr int32_t HoleWeightScale = 300; // W_H on an empty glass
} // namespace

int32_t TStakko::ValueGlass() const {
    try {
        // A glass without rows would divide by zero in the hole weight, a
        // fault that no catch-all can catch; it takes the failure path.
        if (Height <= 0) {
            Trace("ValueGlass");
            return 0;
        }
        return ValueGlassUnguarded();
    } catch (...) {
        Trace("ValueGlass");
        return 0;
    }
}

// One pass down each column's own cells. A column's depth is its highest
// filled cell; every unfilled position from there down is a hole, the
// positions between its cells included; the first filled row of the glass is
// the least depth.
int32_t TStakko::ValueGlassUnguarded() const {
    const int32_t storedRows = std::min(Height, MaxHeight);
    int32_t emptyLines = Height;
    int32_t totSpace = 0, holes = 0, nonSmoothing = 0, previousDepth = 0;
    for (int32_t column = 0; column < Width; ++column) {
        int32_t depth = Height;
        int32_t filled = 0;
        if (column < MaxWidth) {
            const uint8_t *cells = &Glass[StoreIndex(column, 0)];
            for (int32_t row = TopRow(column); row < storedRows; row += 2)
                if (cells[row] == FilledCell && filled++ == 0)
                    depth = row;
        }
        bool edge = column == 0 || column == Width - 1;
        totSpace += depth * (edge ? 2 : 3);
        if (column > 0)
            nonSmoothing += (depth - previousDepth) * (depth - previousDepth);
        holes += Height - depth - filled;
        emptyLines = std::min(emptyLines, depth);
        previousDepth = depth;
    }
    int32_t holeWeight = HoleWeightScale * emptyLines * emptyLines / (Height * Height);
    return WeightLines * emptyLines + WeightSpace * totSpace - holeWeight * holes -
           WeightSmoothing * nonSmoothing;
}
