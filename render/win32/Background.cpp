#include "render/Colours.h"
#include "render/Texture.h"
#include "render/win32/Form.h"
#include "render/win32/GdiObjects.h"
#include "saver/Settings.h"

namespace {
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

// Ramp[HeightMap(x, y)] into every pixel of the bitmap in one transfer; the
// device converts the colours as it would for single-pixel writes.
void PaintTexture(HDC screen, HBITMAP texture) {
    static TTexturePixels pixels; // 500 KB: not on the stack
    RenderTexturePixels(pixels);
    BITMAPINFO info = TextureBitmapInfo();
    SetDIBits(screen, texture, 0, TextureHeight, pixels.data(), &info, DIB_RGB_COLORS);
}
} // namespace

void TForm::MakeBackground() {
    if (!Settings.ShowBkgr)
        return;
    if (BackDC && !Texture)
        Texture = CreateCompatibleBitmap(ScreenDC, TextureWidth, TextureHeight);
    BuildTexture(Settings.Palette);
    if (Texture)
        PaintTexture(ScreenDC, Texture);
}

void TForm::FillBackground() {
    if (!BackDC)
        return;
    if (!StretchTexture())
        FillPlain();
}

// The whole texture over the whole back buffer, with the context's default
// stretch mode. False when there is no texture or no context to copy from.
bool TForm::StretchTexture() {
    if (!Texture)
        return false;
    HDC source = CreateCompatibleDC(ScreenDC);
    if (!source)
        return false;
    HGDIOBJ previous = SelectObject(source, Texture);
    StretchBlt(BackDC, 0, 0, ClientWidth, ClientHeight, source, 0, 0, TextureWidth, TextureHeight,
               SRCCOPY);
    AddDirtyRect(0, 0, ClientWidth, ClientHeight);
    SelectObject(source, previous);
    DeleteDC(source);
    return true;
}

void TForm::FillPlain() {
    COLORREF back = ColourRef(Colours[BackColour]);
    PanelPen = CreatePen(PS_SOLID, 1, back);
    PanelBrush = CreateSolidBrush(back);
    HGDIOBJ previousPen = SelectObject(BackDC, PanelPen);
    HGDIOBJ previousBrush = SelectObject(BackDC, PanelBrush);
    Rectangle(BackDC, 0, 0, ClientWidth, ClientHeight);
    AddDirtyRect(0, 0, ClientWidth, ClientHeight);
    SelectObject(BackDC, previousBrush);
    SelectObject(BackDC, previousPen);
    DeleteObject(PanelBrush);
    DeleteObject(PanelPen);
    PanelBrush = nullptr;
    PanelPen = nullptr;
}
