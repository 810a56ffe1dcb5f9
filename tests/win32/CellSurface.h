#pragma once
// A memory device context over a 24-bit top-down DIB section whose pixels
// the cell painter tests read and write directly, and a game object bound
// to two of them with the glass of a 1024 x 768 client area.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "game/Stakko.h"
#include "render/Colours.h"
#include "render/win32/GdiPainter.h"

namespace test {

class TDibSurface {
public:
    static constexpr int32_t Width = 1024;
    static constexpr int32_t Height = 768;
    static constexpr int32_t Stride = (Width * 3 + 3) & ~3;

    TDibSurface() {
        BITMAPINFO info = {};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = Width;
        info.bmiHeader.biHeight = -Height; // top-down: row 0 first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 24;
        info.bmiHeader.biCompression = BI_RGB;
        void *bits = nullptr;
        Dc = CreateCompatibleDC(nullptr);
        Bitmap = CreateDIBSection(Dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        Bits = static_cast<uint8_t *>(bits);
        Previous = SelectObject(Dc, Bitmap);
    }
    ~TDibSurface() {
        SelectObject(Dc, Previous);
        DeleteObject(Bitmap);
        DeleteDC(Dc);
    }
    TDibSurface(const TDibSurface &) = delete;
    TDibSurface &operator=(const TDibSurface &) = delete;

    bool Valid() const { return Dc && Bitmap && Bits; }

    // Reads after GDI has finished its batch.
    TColour At(int32_t x, int32_t y) const {
        GdiFlush();
        const uint8_t *p = Bits + y * Stride + x * 3;
        return TColour{p[2], p[1], p[0]};
    }

    void Fill(TColour c) {
        GdiFlush();
        for (int32_t y = 0; y < Height; ++y)
            for (int32_t x = 0; x < Width; ++x) {
                uint8_t *p = Bits + y * Stride + x * 3;
                p[0] = c.B;
                p[1] = c.G;
                p[2] = c.R;
            }
    }

    std::vector<uint8_t> Snapshot() const {
        GdiFlush();
        return std::vector<uint8_t>(Bits, Bits + Stride * Height);
    }

    HDC Dc = nullptr;

private:
    HBITMAP Bitmap = nullptr;
    HGDIOBJ Previous = nullptr;
    uint8_t *Bits = nullptr;
};

// A colour none of the schemes uses, to see what a call left untouched.
constexpr TColour Untouched{1, 2, 3};

const TRect ExampleGlass{316, 52, 707, 715};

// Binds the game object to a back buffer and a stand-in window surface and
// to the GDI painter, with fresh brushes of the Brown scheme.
inline void BindGame(TStakko &game, TDibSurface &back, TDibSurface &screen) {
    ChooseColours(0);
    game.Width = 11;
    game.Height = 33;
    game.NewGame();
    game.GlassRect = ExampleGlass;
    game.BackDC = back.Dc;
    game.ScreenDC = screen.Dc;
    game.Painter = &GdiPainter();
    game.CreateBrushes();
    game.DirtyRect = TRect{};
    game.Drawing = true;
}

// Deletes the brushes and leaves the game object without a display.
inline void UnbindGame(TStakko &game) {
    if (game.Painter)
        game.Painter->Release(game);
    game.Painter = nullptr;
    game.BackDC = nullptr;
    game.ScreenDC = nullptr;
}

} // namespace test
