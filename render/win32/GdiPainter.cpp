#include "render/win32/GdiPainter.h"

#include <windows.h>

#include "game/Stakko.h"
#include "render/CellPainter.h"
#include "render/Colours.h"
#include "render/win32/GdiObjects.h"

namespace {

HDC AsDC(NativeHandle handle) {
    return static_cast<HDC>(handle);
}

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

// Each brush is selected for its own polygon only.
void IssuePolygon(HDC dc, const TStakko &stakko, const TCellPrimitive &p) {
    POINT points[6];
    ToPoints(p, points);
    TSelection brush(dc, static_cast<HGDIOBJ>(stakko.Brushes[p.Brush]));
    Polygon(dc, points, p.Count);
}

void IssuePrimitives(HDC dc, const TStakko &stakko, const TCellPicture &picture) {
    COLORREF pixelColour = ColourRef(picture.PixelColour);
    for (const TCellPrimitive &p : picture.Primitives) {
        switch (p.Kind) {
        case TCellPrimitive::Polygon:
            IssuePolygon(dc, stakko, p);
            break;
        case TCellPrimitive::Line: {
            POINT points[2];
            ToPoints(p, points);
            Polyline(dc, points, 2);
            break;
        }
        case TCellPrimitive::Pixel:
            SetPixel(dc, p.Points[0].X, p.Points[0].Y, pixelColour);
            break;
        }
    }
}

// The flash pixels land only inside the hexagon; without its region the
// flash of this cell is skipped.
void IssueClipped(HDC dc, const TStakko &stakko, const TCellPicture &picture) {
    POINT outline[6];
    for (int k = 0; k < 6; ++k)
        outline[k] = POINT{picture.Outline[k].X, picture.Outline[k].Y};
    TOwnedObject region(CreatePolygonRgn(outline, 6, ALTERNATE));
    if (!region.Get())
        return;
    TClip clip(dc, static_cast<HRGN>(region.Get()));
    IssuePrimitives(dc, stakko, picture);
}

class TGdiPainter final : public TCellPainter {
public:
    void CreateBrushes(TStakko &stakko) override {
        for (int i = 0; i < 4; ++i) {
            if (stakko.Brushes[i])
                DeleteObject(static_cast<HGDIOBJ>(stakko.Brushes[i]));
            stakko.Brushes[i] = CreateSolidBrush(ColourRef(Colours[CellColour0 + i]));
        }
    }

    void Release(TStakko &stakko) override {
        if (stakko.SavedScreenState && stakko.ScreenDC)
            RestoreDC(AsDC(stakko.ScreenDC), stakko.SavedScreenState);
        if (stakko.SavedBackState && stakko.BackDC)
            RestoreDC(AsDC(stakko.BackDC), stakko.SavedBackState);
        stakko.SavedScreenState = 0;
        stakko.SavedBackState = 0;
        for (NativeHandle &brush : stakko.Brushes) {
            if (brush)
                DeleteObject(static_cast<HGDIOBJ>(brush));
            brush = nullptr;
        }
    }

    // The batch is flushed after a copy so that each frame of a flash shows
    // while the game thread waits out the frame.
    bool CopyToScreen(TStakko &stakko, const TRect &area) override {
        if (area.IsEmpty())
            return true;
        BOOL copied = BitBlt(AsDC(stakko.ScreenDC), area.Left, area.Top, area.Width(),
                             area.Height(), AsDC(stakko.BackDC), area.Left, area.Top, SRCCOPY);
        if (!copied)
            return false;
        GdiFlush();
        return true;
    }

protected:
    // The pen and the three DC settings are the same for every look; the
    // settings stay in place afterwards.
    void Issue(TStakko &stakko, const TCellPicture &picture) override {
        HDC dc = AsDC(stakko.BackDC);
        COLORREF outline = ColourRef(picture.PenColour);
        TOwnedObject pen(CreatePen(PS_SOLID, 1, outline));
        TSelection selectedPen(dc, pen.Get());
        SetBkColor(dc, outline);
        SetBkMode(dc, TRANSPARENT);
        SetROP2(dc, R2_COPYPEN);
        if (picture.ClipToOutline)
            IssueClipped(dc, stakko, picture);
        else
            IssuePrimitives(dc, stakko, picture);
    }
};

} // namespace

// Never destroyed: the game object is a static that outlives any other, and
// its destruction at exit still releases through this painter.
TGlassPainter &GdiPainter() {
    static TGdiPainter *painter = new TGdiPainter();
    return *painter;
}
