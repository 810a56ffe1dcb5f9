#pragma once
#include <cstdint>

// A rectangle in client pixels: right and bottom are exclusive. All four 0
// is the empty rectangle; a union with an empty rectangle gives the other.
struct TRect {
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t Right = 0;
    int32_t Bottom = 0;

    bool IsEmpty() const { return Right <= Left || Bottom <= Top; }
    int32_t Width() const { return Right - Left; }
    int32_t Height() const { return Bottom - Top; }
    bool operator==(const TRect &o) const {
        return Left == o.Left && Top == o.Top && Right == o.Right && Bottom == o.Bottom;
    }
    bool operator!=(const TRect &o) const { return !(*this == o); }
};

// The platform's UnionRect rules: an empty operand contributes nothing, and
// the union of two empty rectangles is (0, 0, 0, 0).
inline TRect UniteRects(const TRect &a, const TRect &b) {
    if (a.IsEmpty())
        return b.IsEmpty() ? TRect{} : b;
    if (b.IsEmpty())
        return a;
    return TRect{a.Left < b.Left ? a.Left : b.Left, a.Top < b.Top ? a.Top : b.Top,
                 a.Right > b.Right ? a.Right : b.Right, a.Bottom > b.Bottom ? a.Bottom : b.Bottom};
}
