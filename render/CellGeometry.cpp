#include "render/CellGeometry.h"

#include <cmath>
#include <initializer_list>
#include <limits>

#include "game/Changes.h"
#include "game/Lattice.h"
#include "game/Random.h"

namespace {

// The inner face's margin and size as fractions of the cell (a tenth, 5/7).
constexpr double InnerMargin = 0.1;
constexpr double InnerSize = 0.7142857142857143;

// Truncation toward zero; a result no int can hold (a degenerate glass)
// counts as no size at all.
int32_t Truncate(double value) {
    if (!std::isfinite(value) || value <= std::numeric_limits<int32_t>::min() ||
        value >= std::numeric_limits<int32_t>::max())
        return 0;
    return static_cast<int32_t>(value);
}

// The cell box in 64 bits, so that the inside test cannot overflow.
struct TWideBox {
    int64_t Left, Top, Right, Bottom;
};

TWideBox WideCellBox(const TCellGrid &grid, int32_t column, int32_t row) {
    int64_t cw = grid.CellWidth, ch = grid.CellHeight;
    int64_t px = (4 * int64_t{grid.Glass.Left} + 3 * int64_t{column} * cw) / 4;
    int64_t py = (2 * int64_t{grid.Glass.Top} + int64_t{row} * ch) / 2;
    return TWideBox{px, py, px + cw, py + ch};
}

bool WideBoxInside(const TWideBox &box, const TRect &glass) {
    return box.Left >= glass.Left && box.Top >= glass.Top && box.Right <= glass.Right &&
           box.Bottom <= glass.Bottom;
}

TCellPrimitive Polygon(TColourIndex fill, std::initializer_list<TPoint> points) {
    TCellPrimitive p;
    p.Kind = TCellPrimitive::Polygon;
    p.Fill = fill;
    for (const TPoint &point : points)
        p.Points[p.Count++] = point;
    return p;
}

TCellPrimitive Line(TPoint from, TPoint to) {
    TCellPrimitive p;
    p.Kind = TCellPrimitive::Line;
    p.Count = 2;
    p.Points[0] = from;
    p.Points[1] = to;
    return p;
}

TCellPrimitive Pixel(TPoint at) {
    TCellPrimitive p;
    p.Kind = TCellPrimitive::Pixel;
    p.Count = 1;
    p.Points[0] = at;
    return p;
}

// Two bevel halves, the inner face over them, and the six bevel edges.
void PlanFilled(TCellPicture &picture) {
    const THexagon &v = picture.Outline;
    THexagon q = HexagonIn(InnerBox(picture.Box));
    picture.Primitives.push_back(Polygon(CellColour2, {v[5], v[0], v[1], v[2]})); // upper bevel
    picture.Primitives.push_back(Polygon(CellColour3, {v[2], v[3], v[4], v[5]})); // lower bevel
    picture.Primitives.push_back(Polygon(CellColour1, {q[0], q[1], q[2], q[3], q[4], q[5]}));
    for (int k = 0; k < 6; ++k)
        picture.Primitives.push_back(Line(v[k], q[k]));
}

void PlanEmpty(TCellPicture &picture) {
    const THexagon &v = picture.Outline;
    picture.Primitives.push_back(Polygon(CellColour0, {v[0], v[1], v[2], v[3], v[4], v[5]}));
}

// Random pixels over what is there, clipped to the hexagon. The offsets are
// taken modulo the cell size, so a cell without width or height has none.
void PlanFlash(TCellPicture &picture) {
    picture.ClipToOutline = true;
    int32_t cw = picture.Box.Width(), ch = picture.Box.Height();
    if (cw < 1 || ch < 1)
        return;
    for (int32_t i = 0; i < FlashPixelCount; ++i) {
        int32_t ry = NextRandom() % ch;
        int32_t rx = NextRandom() % cw;
        picture.Primitives.push_back(Pixel(TPoint{picture.Box.Left + rx, picture.Box.Top + ry}));
    }
}

} // namespace

TCellGrid MakeCellGrid(const TRect &glass, int32_t columns, int32_t rows) {
    TCellGrid grid;
    grid.Glass = glass;
    grid.Columns = columns;
    grid.Rows = rows;
    double gw = double(glass.Right) - glass.Left;
    double gh = double(glass.Bottom) - glass.Top;
    double across = 3.0 * columns + 1.0;
    double down = double(rows) + 1.0;
    grid.CellWidth = across > 0 ? Truncate(4.0 * gw / across) : 0;
    grid.CellHeight = down > 0 ? Truncate(2.0 * gh / down) : 0;
    return grid;
}

TRect CellBox(const TCellGrid &grid, int32_t column, int32_t row) {
    TWideBox box = WideCellBox(grid, column, row);
    return TRect{int32_t(box.Left), int32_t(box.Top), int32_t(box.Right), int32_t(box.Bottom)};
}

THexagon HexagonIn(const TRect &box) {
    int32_t cw = box.Width(), ch = box.Height();
    int32_t quarter = cw / 4, threeQuarters = 3 * cw / 4, half = ch / 2;
    return THexagon{{{box.Left + quarter, box.Top},
                     {box.Left + threeQuarters, box.Top},
                     {box.Left + cw, box.Top + half},
                     {box.Left + threeQuarters, box.Top + ch},
                     {box.Left + quarter, box.Top + ch},
                     {box.Left, box.Top + half}}};
}

TRect InnerBox(const TRect &box) {
    int32_t left = box.Left + Truncate(box.Width() * InnerMargin);
    int32_t top = box.Top + Truncate(box.Height() * InnerMargin);
    return TRect{left, top, left + Truncate(box.Width() * InnerSize),
                 top + Truncate(box.Height() * InnerSize)};
}

bool PlanCell(const TCellGrid &grid, int32_t column, int32_t row, uint8_t look,
              TCellPicture &picture) {
    if (column < 0 || column >= grid.Columns || row < 0 || row >= grid.Rows)
        return false;
    if (!SameParity(column, row))
        return false;
    if (grid.CellWidth < 0 || grid.CellHeight < 0)
        return false;
    TWideBox box = WideCellBox(grid, column, row);
    if (!WideBoxInside(box, grid.Glass))
        return false;

    picture = TCellPicture{};
    picture.Box = CellBox(grid, column, row);
    picture.Outline = HexagonIn(picture.Box);
    switch (look) {
    case LookEmpty:
        PlanEmpty(picture);
        break;
    case LookFilled:
        PlanFilled(picture);
        break;
    case LookFlash:
        PlanFlash(picture);
        break;
    default:
        break; // no look of that number: only the box counts
    }
    return true;
}
