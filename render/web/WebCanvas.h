#pragma once
#include <cstdint>
#include <vector>

#include "render/Canvas.h"

// The canvas over an HTML canvas's 2D context: the page's canvas element
// ("canvas") at its backing store's size. It is its own back buffer: the
// browser shows a canvas only when the task that draws into it ends, so
// nothing half-drawn is ever seen, and a copy from a second canvas would
// cost a copy of that whole canvas at every step. Colours, the texture and
// the fonts' measures are made in the page once per binding.
class TWebCanvas final : public TCanvas {
public:
    // The canvas at width x height pixels; false when the page has no
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
    // A cell's look drawn once in the page, by its primitives from the box's corner.
    struct TSprite {
        TColourIndex Pen;
        std::vector<int32_t> Primitives;
    };
    static constexpr size_t SpriteLimit = 16;

    void Encode(const TCellPicture &picture, int32_t left, int32_t top);

    TRect ClientRect;
    std::vector<int32_t> Scratch; // a cell's primitives, or rectangles, as the page reads them
    std::vector<TSprite> Sprites;
};
