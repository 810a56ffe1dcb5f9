#include "render/win32/GdiCanvas.h"

#include "render/win32/GdiObjects.h"

namespace {
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

// The panel's fonts as GDI knows them: "Arial" asked with fixed pitch and
// the modern family, which maps to a fixed-pitch face.
HFONT MakeFont(const TFont &f) {
    const BYTE pitchAndFamily = f.FixedPitch ? FIXED_PITCH | FF_MODERN : DEFAULT_PITCH | FF_SWISS;
    return CreateFontA(f.Height, f.Width, 0, 0, f.Weight, FALSE, f.Underline, FALSE, ANSI_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, pitchAndFamily,
                       "Arial");
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

bool TGdiCanvas::Open(HWND window) {
    Release();
    Target = window;
    RECT client{};
    if (!GetClientRect(window, &client))
        client = RECT{};
    ClientRect = TRect{client.left, client.top, client.right, client.bottom};
    Screen = GetDC(window);
    if (Screen) {
        BackBitmap = CreateCompatibleBitmap(Screen, ClientRect.Width(), ClientRect.Height());
        Back = CreateCompatibleDC(Screen);
    }
    if (!Screen || !BackBitmap || !Back) {
        Release();
        return false;
    }
    SelectObject(Back, BackBitmap);
    return true;
}

void TGdiCanvas::Prepare(const TColourTable &colours, const TTexturePixels *texture) {
    Colours = colours;
    MakeBrushes();
    if (texture)
        MakeTexture(*texture);
    if (!SavedScreenState && !SavedBackState) {
        SavedScreenState = SaveDC(Screen);
        SavedBackState = SaveDC(Back);
    }
}

void TGdiCanvas::MakeBrushes() {
    for (int i = 0; i < 4; ++i) {
        if (CellBrushes[i])
            DeleteObject(CellBrushes[i]);
        CellBrushes[i] = CreateSolidBrush(ColourRef(Colours[CellColour0 + i]));
    }
}

// Every pixel in one transfer; the device converts the colours as it would
// for single-pixel writes.
void TGdiCanvas::MakeTexture(const TTexturePixels &pixels) {
    if (Back && !Texture)
        Texture = CreateCompatibleBitmap(Screen, TextureWidth, TextureHeight);
    if (!Texture)
        return;
    BITMAPINFO info = TextureBitmapInfo();
    SetDIBits(Screen, Texture, 0, TextureHeight, pixels.data(), &info, DIB_RGB_COLORS);
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
    ClientRect = TRect{};
}

// The pen and the three context settings are the same for every look; the
// settings stay in place afterwards.
void TGdiCanvas::PaintCell(const TCellPicture &picture) {
    COLORREF outline = ColourRef(Colours[picture.Pen]);
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
    COLORREF pixelColour = ColourRef(Colours[picture.PixelColour]);
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

// A pen and a brush of the colour: the rectangles come out exactly their
// size, outline included.
void TGdiCanvas::FillRectangles(TColourIndex colour, const TRect *rects, int32_t count) {
    COLORREF c = ColourRef(Colours[colour]);
    TScopedObject pen(Back, CreatePen(PS_SOLID, 1, c));
    TScopedObject brush(Back, CreateSolidBrush(c));
    for (int32_t i = 0; i < count; ++i)
        Rectangle(Back, rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom);
}

// DrawText centres and clips without DT_SINGLELINE; the text's top stays at
// the rectangle's top.
void TGdiCanvas::WriteText(const TPanelText &text, const TFont &font) {
    TScopedObject selected(Back, MakeFont(font));
    if (!selected.Made())
        return;
    SetTextColor(Back, ColourRef(Colours[text.Colour]));
    SetBkMode(Back, TRANSPARENT);
    const int length = static_cast<int>(text.Text.size());
    RECT r{text.Rect.Left, text.Rect.Top, text.Rect.Right, text.Rect.Bottom};
    switch (text.Align) {
    case TTextAlign::Left:
        TextOutA(Back, r.left, r.top, text.Text.c_str(), length);
        break;
    case TTextAlign::Centre:
        DrawTextA(Back, text.Text.c_str(), length, &r, DT_CENTER);
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
