#pragma once
#include <cstdint>

#include "game/Rect.h"
#include "render/CellGeometry.h"
#include "render/Colours.h"
#include "render/Panel.h"
#include "render/Texture.h"

// What a platform gives the renderer to draw with: a back buffer the size
// of the window, and the window to copy it to. When the renderer is bound it
// hands over the picture's colours and the background's pixels; from then
// on it decides what is drawn, where, in which order and what is copied,
// and the canvas only issues it. Colours come as indices into that table.
class TCanvas {
public:
    // Once per binding, before anything is drawn: the colour table (the
    // cells' four fills are CellColour0 to CellColour3) and the texture's
    // pixels, or null for a plain background. Both may be copied; neither
    // is kept by the caller.
    virtual void Prepare(const TColourTable &colours, const TTexturePixels *texture) = 0;
    // One cell into the back buffer: its polygons filled with their colour
    // and outlined with a 1-pixel line of the pen colour, its lines drawn in
    // that colour, its pixels set; with ClipToOutline only the pixels inside
    // the outline (none where that clip cannot be made).
    virtual void PaintCell(const TCellPicture &picture) = 0;
    // Every pixel of each rectangle (right and bottom exclusive) in one colour.
    virtual void FillRectangles(TColourIndex colour, const TRect *rects, int32_t count) = 0;
    // A text in its font and colour, over what is there.
    virtual void WriteText(const TPanelText &text, const TFont &font) = 0;
    // The whole texture stretched onto the rectangle; false when there is
    // no texture or it cannot be copied.
    virtual bool StretchTexture(const TRect &onto) = 0;
    // The back buffer's area copied to the window at the same place; false
    // when the copy fails.
    virtual bool CopyToScreen(const TRect &area) = 0;

protected:
    ~TCanvas() = default;
};
