#pragma once
#include <cstdint>

// The hexagonal lattice: a position (column, row) holds a cell only where
// column and row share parity; a row is half a cell high.

constexpr int32_t MaxWidth = 31;  // columns of the largest glass (odd)
constexpr int32_t MaxHeight = 71; // rows of the largest glass (odd)
constexpr int32_t StoreSize = MaxWidth * MaxHeight;

// Stored and reported cell values.
constexpr uint8_t EmptyCell = 0;
constexpr uint8_t FilledCell = 1;
constexpr uint8_t NoCell = 254;
constexpr int32_t OutsideGlass = -1; // GetCell's answer beyond the glass

inline bool SameParity(int32_t column, int32_t row) {
    return ((column ^ row) & 1) == 0;
}

// Column-major index into the store; the caller checks the store's bounds.
inline int32_t StoreIndex(int32_t column, int32_t row) {
    return column * MaxHeight + row;
}

// A cell of a width x height glass kept in a store: OutsideGlass beyond the
// glass or the store (a caller may set a size beyond it), NoCell where the
// parities differ.
inline int32_t StoredCell(const uint8_t *store, int32_t width, int32_t height, int32_t column,
                          int32_t row) {
    if (column < 0 || row < 0 || column >= width || row >= height || column >= MaxWidth ||
        row >= MaxHeight)
        return OutsideGlass;
    if (!SameParity(column, row))
        return NoCell;
    return store[StoreIndex(column, row)];
}

// The top cell of a column is at row 0 (even column) or row 1 (odd column);
// its bottom cell at row Height - 1 (even) or Height - 2 (odd).
inline int32_t TopRow(int32_t column) {
    return column & 1;
}
inline int32_t BottomRow(int32_t column, int32_t height) {
    return height - 1 - (column & 1);
}

// Scratch labels of cell groups while the glass settles, indexed as the
// store: -1 not yet reached, 0 a grounded group, 1, 2, ... each loose group.
struct TGroupMarks {
    int32_t Label[StoreSize];
};
