#include "game/Stakko.h"
#include "game/Trace.h"

namespace {
constexpr int32_t WeightLines = 100;    // W_L, per empty row at the top
constexpr int32_t WeightSpace = 1;      // W_S
constexpr int32_t WeightSmoothing = 1;  // W_T
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

int32_t TStakko::ValueGlassUnguarded() const {
    int32_t emptyLines = Height;
    for (int32_t row = 0; row < Height && emptyLines == Height; ++row)
        for (int32_t column = 0; column < Width; ++column)
            if (GetCell(column, row) == FilledCell) {
                emptyLines = row;
                break;
            }

    int32_t holeWeight = HoleWeightScale * emptyLines * emptyLines / (Height * Height);
    int32_t totSpace = 0, holes = 0, nonSmoothing = 0, previousDepth = 0;
    for (int32_t column = 0; column < Width; ++column) {
        int32_t depth = Height;
        for (int32_t row = 0; row < Height; ++row)
            if (GetCell(column, row) == FilledCell) {
                depth = row;
                break;
            }
        bool edge = column == 0 || column == Width - 1;
        totSpace += depth * (edge ? 2 : 3);
        if (column > 0)
            nonSmoothing += (depth - previousDepth) * (depth - previousDepth);
        for (int32_t row = depth; row < Height; ++row)
            if (GetCell(column, row) != FilledCell)
                ++holes;
        previousDepth = depth;
    }
    return WeightLines * emptyLines + WeightSpace * totSpace - holeWeight * holes -
           WeightSmoothing * nonSmoothing;
}
