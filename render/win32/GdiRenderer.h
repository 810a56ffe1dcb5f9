#pragma once
#include <windows.h>

#include "render/Canvas.h"
#include "render/Renderer.h"

// The renderer over GDI. The canvas holds what GDI needs: the window's
// device context, the back buffer as a memory device context with its
// bitmap, the texture bitmap and the four cell brushes.
class TGdiCanvas final : public TCanvas {
public:
    TGdiCanvas() = default;
    ~TGdiCanvas() { Release(); }
    TGdiCanvas(const TGdiCanvas &) = delete;
    TGdiCanvas &operator=(const TGdiCanvas &) = delete;

    // The window's client rectangle, and a back buffer of its size. The one
    // failure that ends the program (status 1): no window context or buffer.
    TRect Open(HWND window);
    // The four cell brushes of the colour table.
    void MakeBrushes(const TColourTable &colours);
    // A texture bitmap compatible with the window, painted in one transfer.
    void MakeTexture(const TTexture &texture);
    // Saves both contexts' states, as they are put back by Release.
    void SaveStates();
    // Everything it holds goes, each context's saved state put back first.
    void Release();

    HWND Window() const { return Target; }
    HDC ScreenDC() const { return Screen; }
    HDC BackDC() const { return Back; }
    HBITMAP TextureBitmap() const { return Texture; }

    void PaintCell(const TCellPicture &picture) override;
    void FillRectangles(TColour colour, int32_t penWidth, const TRect *rects,
                        int32_t count) override;
    void WriteText(const TPanelText &text, const TFontSize &font, TColour colour,
                   TColour background) override;
    bool StretchTexture(const TRect &onto) override;
    bool CopyToScreen(const TRect &area) override;

private:
    void IssuePrimitives(const TCellPicture &picture);

    HWND Target = nullptr;
    HDC Screen = nullptr;
    HDC Back = nullptr;
    HBITMAP BackBitmap = nullptr;
    HBITMAP Texture = nullptr;
    HBRUSH CellBrushes[4] = {};
    int SavedScreenState = 0;
    int SavedBackState = 0;
};

// Whether a back buffer of this size can be made for the screen now; the
// bitmap is let go at once.
bool CanMakeBackBuffer(int32_t width, int32_t height);

// A renderer bound to a window through its GDI canvas. The caller holds
// the game lock while it binds or draws.
class TGdiRenderer {
public:
    explicit TGdiRenderer(const TLook &look) : Picture(look) {}
    ~TGdiRenderer() { SetWindow(nullptr); }

    // Binds to the window, the game laid out in the part `game` of its
    // client (empty: the whole client); with null only lets go of what it
    // holds.
    void SetWindow(HWND window, const TRect &game = TRect{});

    TRenderer Picture;
    TGdiCanvas Canvas;
};
