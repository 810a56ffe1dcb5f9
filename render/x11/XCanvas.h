#pragma once
#include <X11/Xft/Xft.h>
#include <X11/Xlib.h>

#include <vector>

#include "render/Canvas.h"

// The canvas over Xlib and Xft: a pixmap of the window's size as the back
// buffer, copied to the window area by area. Colours, the texture stretched
// to each size it is asked for, and the fonts are made once per binding.
class TXCanvas final : public TCanvas {
public:
    TXCanvas(Display *display, Window window);
    ~TXCanvas() { Release(); }
    TXCanvas(const TXCanvas &) = delete;
    TXCanvas &operator=(const TXCanvas &) = delete;

    // A back buffer of the window's size now; false, with nothing held,
    // when the window's attributes cannot be read or no pixmap can be made.
    bool Open();
    void Release();
    const TRect &Client() const { return ClientRect; }

    void Prepare(const TColourTable &colours, const TTexturePixels *texture) override;
    void PaintCell(const TCellPicture &picture) override;
    void FillRectangles(TColourIndex colour, const TRect *rects, int32_t count) override;
    void WriteText(const TPanelText &text, const TFont &font) override;
    bool StretchTexture(const TRect &onto) override;
    bool CopyToScreen(const TRect &area) override;

private:
    struct TStretched {
        int32_t Width, Height;
        Pixmap Picture;
    };
    struct TOpenFont {
        int32_t Height, Width, Weight;
        bool FixedPitch;
        XftFont *Font;
    };

    unsigned long PixelOf(const TColour &colour);
    void ReleasePaints();
    Pixmap Stretch(int32_t width, int32_t height);
    XftFont *FontFor(const TFont &font);

    Display *Dpy;
    Window Target;
    Visual *Vis = nullptr;
    Colormap Map = 0;
    int Depth = 0;
    TRect ClientRect;
    Pixmap Back = 0;
    GC Gc = nullptr;
    XftDraw *Draw = nullptr;
    unsigned long Pixels[ColourCount] = {};
    XftColor TextColours[ColourCount] = {};
    bool TextColourMade[ColourCount] = {};
    std::vector<unsigned long> Allocated; // colour cells of a visual without fixed channels
    std::vector<uint32_t> Texture;
    std::vector<TStretched> Stretched;
    std::vector<TOpenFont> Fonts;
};
