#pragma once
#include <windows.h>

#include "render/Canvas.h"

// The canvas over GDI: the window's device context, the back buffer as a
// memory device context with its bitmap, the texture bitmap and the four
// cell brushes, made from what the renderer hands over when it is bound.
class TGdiCanvas final : public TCanvas {
public:
    TGdiCanvas() = default;
    ~TGdiCanvas() { Release(); }
    TGdiCanvas(const TGdiCanvas &) = delete;
    TGdiCanvas &operator=(const TGdiCanvas &) = delete;

    // The window's device context and a back buffer of its client area's
    // size; false, with nothing held, when either cannot be had.
    bool Open(HWND window);
    // Everything it holds goes, each context's saved state put back first.
    void Release();

    const TRect &Client() const { return ClientRect; }
    HWND Window() const { return Target; }
    HDC ScreenDC() const { return Screen; }
    HDC BackDC() const { return Back; }
    HBITMAP TextureBitmap() const { return Texture; }

    // The four cell brushes and a texture bitmap compatible with the window,
    // painted in one transfer; then both contexts' states are saved.
    void Prepare(const TColourTable &colours, const TTexturePixels *texture) override;
    void PaintCell(const TCellPicture &picture) override;
    void FillRectangles(TColourIndex colour, const TRect *rects, int32_t count) override;
    void WriteText(const TPanelText &text, const TFont &font) override;
    bool StretchTexture(const TRect &onto) override;
    bool CopyToScreen(const TRect &area) override;

private:
    void MakeBrushes();
    void MakeTexture(const TTexturePixels &pixels);
    void IssuePrimitives(const TCellPicture &picture);

    HWND Target = nullptr;
    TRect ClientRect;
    HDC Screen = nullptr;
    HDC Back = nullptr;
    HBITMAP BackBitmap = nullptr;
    HBITMAP Texture = nullptr;
    HBRUSH CellBrushes[4] = {};
    TColourTable Colours = InitialColours;
    int SavedScreenState = 0;
    int SavedBackState = 0;
};

// Whether a back buffer of this size can be made for the screen now; the
// bitmap is let go at once.
bool CanMakeBackBuffer(int32_t width, int32_t height);
