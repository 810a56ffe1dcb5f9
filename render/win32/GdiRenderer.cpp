#include "render/win32/GdiRenderer.h"

#include <vector>

#include "render/win32/GdiObjects.h"

namespace {
constexpr UINT NoBackBufferExit = 1;

// Selects a clip region for one scope, then selects none.
class TClip {
public:
    TClip(HDC dc, HRGN region) : Dc(dc) { SelectClipRgn(dc, region); }
    ~TClip() { SelectClipRgn(Dc, nullptr); }
    TClip(const TClip &) = delete;
    TClip &operator=(const TClip &) = delete;

private:
    HDC Dc;
};

void ToPoints(const TCellPrimitive &p, POINT *points) {
    for (int32_t i = 0; i < p.Count; ++i)
        points[i] = POINT{p.Points[i].X, p.Points[i].Y};
}

HFONT MakeFont(const TFontSize &f) {
    return CreateFontA(f.Height, f.Width, f.Escapement, f.Orientation, f.Weight, f.Italic,
                       f.Underline, f.StrikeOut, f.CharSet, f.OutPrecision, f.ClipPrecision,
                       f.Quality, f.PitchAndFamily, f.Face);
}

// A top-down 32-bit layout for the texture's pixel words.
BITMAPINFO TextureBitmapInfo() {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = TextureWidth;
    info.bmiHeader.biHeight = -TextureHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}
} // namespace

bool CanMakeBackBuffer(int32_t width, int32_t height) {
    HDC screen = GetDC(nullptr);
    if (!screen)
        return false;
    HBITMAP probe = CreateCompatibleBitmap(screen, width, height);
    if (probe)
        DeleteObject(probe);
    ReleaseDC(nullptr, screen);
    return probe != nullptr;
}

TRect TGdiCanvas::Open(HWND window) {
    Release();
    Target = window;
    RECT client{};
    if (!GetClientRect(window, &client))
        client = RECT{};
    Screen = GetDC(window);
    if (Screen) {
        BackBitmap =
            CreateCompatibleBitmap(Screen, client.right - client.left, client.bottom - client.top);
        Back = CreateCompatibleDC(Screen);
    }
    if (!Screen || !BackBitmap || !Back)
        ExitProcess(NoBackBufferExit);
    SelectObject(Back, BackBitmap);
    return TRect{client.left, client.top, client.right, client.bottom};
}

void TGdiCanvas::MakeBrushes(const TColourTable &colours) {
    for (int i = 0; i < 4; ++i) {
        if (CellBrushes[i])
            DeleteObject(CellBrushes[i]);
        CellBrushes[i] = CreateSolidBrush(ColourRef(colours[CellColour0 + i]));
    }
}

// Every pixel in one transfer; the device converts the colours as it would
// for single-pixel writes.
void TGdiCanvas::MakeTexture(const TTexture &texture) {
    if (Back && !Texture)
        Texture = CreateCompatibleBitmap(Screen, TextureWidth, TextureHeight);
    if (!Texture)
        return;
    std::vector<TTexturePixels> pixels(1); // 500 KB: not on the stack
    texture.RenderPixels(pixels[0]);
    BITMAPINFO info = TextureBitmapInfo();
    SetDIBits(Screen, Texture, 0, TextureHeight, pixels[0].data(), &info, DIB_RGB_COLORS);
}

void TGdiCanvas::SaveStates() {
    SavedScreenState = SaveDC(Screen);
    SavedBackState = SaveDC(Back);
}

void TGdiCanvas::Release() {
    if (SavedScreenState && Screen)
        RestoreDC(Screen, SavedScreenState);
    if (SavedBackState && Back)
        RestoreDC(Back, SavedBackState);
    SavedScreenState = SavedBackState = 0;
    if (Back)
        DeleteDC(Back);
    if (BackBitmap)
        DeleteObject(BackBitmap);
    if (Screen)
        ReleaseDC(Target, Screen);
    if (Texture)
        DeleteObject(Texture);
    for (HBRUSH &brush : CellBrushes) {
        if (brush)
            DeleteObject(brush);
        brush = nullptr;
    }
    Back = nullptr;
    BackBitmap = nullptr;
    Screen = nullptr;
    Texture = nullptr;
    Target = nullptr;
}

// The pen and the three context settings are the same for every look; the
// settings stay in place afterwards.
void TGdiCanvas::PaintCell(const TCellPicture &picture) {
    COLORREF outline = ColourRef(picture.PenColour);
    TOwnedObject pen(CreatePen(PS_SOLID, 1, outline));
    TSelection selectedPen(Back, pen.Get());
    SetBkColor(Back, outline);
    SetBkMode(Back, TRANSPARENT);
    SetROP2(Back, R2_COPYPEN);
    if (!picture.ClipToOutline) {
        IssuePrimitives(picture);
        return;
    }
    // The flash pixels land only inside the hexagon; without its region the
    // flash of this cell is skipped.
    POINT outlinePoints[6];
    for (int k = 0; k < 6; ++k)
        outlinePoints[k] = POINT{picture.Outline[k].X, picture.Outline[k].Y};
    TOwnedObject region(CreatePolygonRgn(outlinePoints, 6, ALTERNATE));
    if (!region.Get())
        return;
    TClip clip(Back, static_cast<HRGN>(region.Get()));
    IssuePrimitives(picture);
}

void TGdiCanvas::IssuePrimitives(const TCellPicture &picture) {
    COLORREF pixelColour = ColourRef(picture.PixelColour);
    for (const TCellPrimitive &p : picture.Primitives) {
        POINT points[6];
        ToPoints(p, points);
        switch (p.Kind) {
        case TCellPrimitive::Polygon: {
            // Each brush is selected for its own polygon only.
            TSelection brush(Back, CellBrushes[p.Fill - CellColour0]);
            Polygon(Back, points, p.Count);
            break;
        }
        case TCellPrimitive::Line:
            Polyline(Back, points, 2);
            break;
        case TCellPrimitive::Pixel:
            SetPixel(Back, points[0].x, points[0].y, pixelColour);
            break;
        }
    }
}

void TGdiCanvas::FillRectangles(TColour colour, int32_t penWidth, const TRect *rects,
                                int32_t count) {
    COLORREF c = ColourRef(colour);
    TScopedObject pen(Back, CreatePen(PS_SOLID, penWidth, c));
    TScopedObject brush(Back, CreateSolidBrush(c));
    for (int32_t i = 0; i < count; ++i)
        Rectangle(Back, rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom);
}

void TGdiCanvas::WriteText(const TPanelText &text, const TFontSize &font, TColour colour,
                           TColour background) {
    TScopedObject selected(Back, MakeFont(font));
    if (!selected.Made())
        return;
    SetTextColor(Back, ColourRef(colour));
    SetBkColor(Back, ColourRef(background));
    SetBkMode(Back, TRANSPARENT);
    const int length = static_cast<int>(text.Text.size());
    RECT r{text.Rect.Left, text.Rect.Top, text.Rect.Right, text.Rect.Bottom};
    switch (text.Place) {
    case TTextPlace::TopLeftAt:
        TextOutA(Back, r.left, r.top, text.Text.c_str(), length);
        break;
    case TTextPlace::TopOfBand:
        DrawTextA(Back, text.Text.c_str(), length, &r, DT_CENTER);
        break;
    case TTextPlace::CentredInBox:
        DrawTextA(Back, text.Text.c_str(), length, &r, DT_CENTER | DT_VCENTER);
        break;
    }
}

// With the context's default stretch mode.
bool TGdiCanvas::StretchTexture(const TRect &onto) {
    if (!Texture)
        return false;
    HDC source = CreateCompatibleDC(Screen);
    if (!source)
        return false;
    HGDIOBJ previous = SelectObject(source, Texture);
    StretchBlt(Back, onto.Left, onto.Top, onto.Width(), onto.Height(), source, 0, 0, TextureWidth,
               TextureHeight, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    return true;
}

// The batch is flushed after a copy so that each frame of a flash shows
// while the thread waits out the frame.
bool TGdiCanvas::CopyToScreen(const TRect &area) {
    if (!BitBlt(Screen, area.Left, area.Top, area.Width(), area.Height(), Back, area.Left, area.Top,
                SRCCOPY))
        return false;
    GdiFlush();
    return true;
}

void TGdiRenderer::SetWindow(HWND window, const TRect &game) {
    Picture.Unbind();
    Canvas.Release();
    if (!window)
        return;
    TRect client = Canvas.Open(window);
    Picture.Bind(Canvas, client, game);
    Canvas.MakeBrushes(Picture.Colours());
    if (Picture.Look().Texture)
        Canvas.MakeTexture(Picture.Texture());
    Canvas.SaveStates();
}
