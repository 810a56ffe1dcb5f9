#pragma once
#include <cstdint>

#include "game/Rect.h"
#include "render/CellGeometry.h"
#include "render/Colours.h"
#include "render/Panel.h"

// What a platform gives the renderer to draw with: a back buffer the size
// of the window, with the texture and the four cell brushes made when it
// was bound, and the window to copy it to. The renderer decides what is
// drawn, where, in which order, and what is copied; a canvas only issues it.
class TCanvas {
public:
    // One cell into the back buffer: its polygons filled with their cell
    // colour and outlined with a 1-pixel pen of the picture's pen colour,
    // its lines drawn with that pen, its pixels set (clipped to the outline
    // when the picture asks; without the clip region they are left out).
    virtual void PaintCell(const TCellPicture &picture) = 0;
    // Rectangles filled and outlined in one colour, with a pen of penWidth
    // (0 and 1 both draw one pixel wide).
    virtual void FillRectangles(TColour colour, int32_t penWidth, const TRect *rects,
                                int32_t count) = 0;
    // A text in a font, transparent over what is there.
    virtual void WriteText(const TPanelText &text, const TFontSize &font, TColour colour,
                           TColour background) = 0;
    // The whole texture stretched onto the rectangle; false when there is
    // no texture or it cannot be copied.
    virtual bool StretchTexture(const TRect &onto) = 0;
    // The back buffer's area copied to the window at the same place; false
    // when the copy fails.
    virtual bool CopyToScreen(const TRect &area) = 0;

protected:
    ~TCanvas() = default;
};

// The time of a line's flash frames: the tick count, and a wait that a
// front end ends early when the saver is to stop.
class TPacer {
public:
    virtual uint32_t Ticks() = 0;
    virtual void Wait(uint32_t ms) = 0;

protected:
    ~TPacer() = default;
};
