#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "game/Rect.h"
#include "render/Colours.h"

// Where a lattice cell lies on the back buffer and what its three looks
// draw, as plain data: the GDI layer only issues the primitives in order.

struct TPoint {
    int32_t X = 0;
    int32_t Y = 0;
    bool operator==(const TPoint &o) const { return X == o.X && Y == o.Y; }
    bool operator!=(const TPoint &o) const { return !(*this == o); }
};

using THexagon = std::array<TPoint, 6>; // clockwise from the top-left vertex

// The glass as the renderer sees it: its pixel rectangle, its columns and
// rows, and the cell size derived back from them.
struct TCellGrid {
    TRect Glass;
    int32_t Columns = 0;
    int32_t Rows = 0;
    int32_t CellWidth = 0;  // cw
    int32_t CellHeight = 0; // ch
};

TCellGrid MakeCellGrid(const TRect &glass, int32_t columns, int32_t rows);

// The box (px, py, px + cw, py + ch) of cell (column, row).
TRect CellBox(const TCellGrid &grid, int32_t column, int32_t row);

// The six vertices of the hexagon inscribed in a box.
THexagon HexagonIn(const TRect &box);

// The smaller box of a filled cell's inner face, nearer the top-left corner.
TRect InnerBox(const TRect &box);

// One drawing call of a cell.
struct TCellPrimitive {
    enum TKind : uint8_t { Polygon, Line, Pixel };
    TKind Kind = Polygon;
    TColourIndex Fill = CellColour0; // polygons: one of the four cell colours
    int32_t Count = 0; // points used: 4 or 6 for a polygon, 2 for a line, 1 for a pixel
    std::array<TPoint, 6> Points{};
};

// Everything one ShowCell draws. Polygons are filled with their cell colour
// and outlined with a 1-pixel line of the pen colour; pixels are set to the
// pixel colour and, when ClipToOutline is set, clipped to the hexagon Outline.
struct TCellPicture {
    TRect Box;
    THexagon Outline{};
    TColourIndex Pen = OutlineColour;
    TColourIndex PixelColour = CellColour0;
    bool ClipToOutline = false;
    std::vector<TCellPrimitive> Primitives;
};

constexpr int32_t FlashPixelCount = 40;

// Plans cell (column, row) in the given look (0 empty, 1 filled, 2 flash).
// False, with nothing planned, where no cell is drawn: outside the glass,
// mixed parity, a negative cell size, or a box not inside the glass. Any
// other look plans no primitives but still yields the box. Flash pixels
// draw from the game's generator, the row offset before the column offset.
bool PlanCell(const TCellGrid &grid, int32_t column, int32_t row, uint8_t look,
              TCellPicture &picture);
