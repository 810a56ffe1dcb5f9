#pragma once
#include <cstdint>
#include <vector>

#include "render/Canvas.h"

// The canvas over an HTML canvas's 2D context: the page's canvas element
// ("canvas") at its backing store's size, and a canvas of the same size off
// the page as the back buffer, copied to it area by area. Colours, the
// texture and the fonts' measures are made in the page once per binding.
class TWebCanvas final : public TCanvas {
public:
    // Both canvases of width x height pixels; false when the page has no
    // canvas or no 2D context can be had.
    bool Open(int32_t width, int32_t height);
    const TRect &Client() const { return ClientRect; }

    void Prepare(const TColourTable &colours, const TTexturePixels *texture) override;
    void PaintCell(const TCellPicture &picture) override;
    void FillRectangles(TColourIndex colour, const TRect *rects, int32_t count) override;
    void WriteText(const TPanelText &text, const TFont &font) override;
    bool StretchTexture(const TRect &onto) override;
    bool CopyToScreen(const TRect &area) override;

private:
    TRect ClientRect;
    std::vector<int32_t> Scratch; // a cell's primitives, or rectangles, as the page reads them
};
