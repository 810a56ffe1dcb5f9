#include "game/GlassFit.h"

#include "game/Lattice.h"

namespace {
constexpr int32_t LargestCell = 72;
constexpr double HexHeightRatio = 0.8660254037844;

int32_t ClampOdd(int32_t count, int32_t largest) {
    if (count > largest)
        count = largest;
    if (count % 2 == 0)
        --count;
    return count;
}
} // namespace

TGlassFit FitGlass(int32_t areaWidth, int32_t areaHeight) {
    TGlassFit fit;
    for (int32_t s = LargestCell; s >= 1; --s) {
        int32_t hs = static_cast<int32_t>(s * HexHeightRatio);
        if (hs <= 0)
            return TGlassFit{}; // s = 1: the count of rows would divide by zero
        int32_t width = static_cast<int32_t>((4.0 * areaWidth / s - 1.0) / 3.0);
        int32_t height = static_cast<int32_t>(2.0 * areaHeight / hs - 1.0);
        fit = TGlassFit{true, s, hs, ClampOdd(width, MaxWidth), ClampOdd(height, MaxHeight)};
        if (fit.Width >= MinFitColumns && fit.Height >= MinFitRows)
            return fit;
    }
    return TGlassFit{};
}

TRect CentreGlass(const TRect &area, const TGlassFit &fit) {
    int32_t s = fit.CellWidth;
    int32_t gw = s + ((3 * s) / 2 * (fit.Width - 1)) / 2;
    int32_t gh = ((fit.Height + 1) / 2) * fit.CellHeight;
    TRect glass;
    glass.Left = static_cast<int32_t>(area.Left + (area.Width() - gw) * 0.5);
    glass.Right = glass.Left + gw;
    glass.Top = static_cast<int32_t>(area.Top + (area.Height() - gh) * 0.5);
    glass.Bottom = glass.Top + gh;
    return glass;
}
