#include "render/x11/XCanvas.h"

#include <X11/Xutil.h>

#include <cstdlib>
#include <cstring>

namespace {
// The faces the panel asks for, by pitch: metric-compatible with those the
// Windows saver gets (fonts-liberation), with fontconfig's generic names
// behind them.
const char *const FixedFace = "Liberation Mono";
const char *const FixedFallback = "monospace";
const char *const PlainFace = "Liberation Sans";
const char *const PlainFallback = "sans-serif";
constexpr double ProbeSize = 1000; // pixels: large enough that rounding does not show

// A colour channel (0 to 255) placed under a visual's mask.
unsigned long Channel(uint8_t value, unsigned long mask) {
    if (mask == 0)
        return 0;
    int shift = 0;
    while (!(mask & 1ul)) {
        mask >>= 1;
        ++shift;
    }
    return ((static_cast<unsigned long>(value) * mask + 127) / 255) << shift;
}

// Set while a pixmap is made: X reports a failure to make one only later,
// as an error.
bool AllocationFailed = false;
int NoteAllocationFailure(Display *, XErrorEvent *error) {
    AllocationFailed = AllocationFailed || error->error_code == BadAlloc;
    return 0;
}

XPoint ToXPoint(const TPoint &p) {
    return XPoint{static_cast<short>(p.X), static_cast<short>(p.Y)};
}

// An outline, closed: its first point again at the end.
int Outline(const TCellPrimitive &p, XPoint *points) {
    for (int32_t i = 0; i < p.Count; ++i)
        points[i] = ToXPoint(p.Points[i]);
    points[p.Count] = points[0];
    return p.Count + 1;
}
} // namespace

TXCanvas::TXCanvas(Display *display, Window window) : Dpy(display), Target(window) {}

bool TXCanvas::Open() {
    Release();
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(Dpy, Target, &attributes) || attributes.width <= 0 ||
        attributes.height <= 0)
        return false;
    Vis = attributes.visual;
    Map = attributes.colormap;
    Depth = attributes.depth;
    ClientRect = TRect{0, 0, attributes.width, attributes.height};
    XSync(Dpy, False);
    AllocationFailed = false;
    auto previous = XSetErrorHandler(NoteAllocationFailure);
    Back = XCreatePixmap(Dpy, Target, attributes.width, attributes.height, Depth);
    XSync(Dpy, False);
    XSetErrorHandler(previous);
    if (AllocationFailed) {
        Back = 0; // never made
        Release();
        return false;
    }
    XGCValues values;
    values.graphics_exposures = False;
    values.cap_style = CapNotLast; // as GDI's lines, which leave out their end point
    Gc = XCreateGC(Dpy, Back, GCGraphicsExposures | GCCapStyle, &values);
    Draw = XftDrawCreate(Dpy, Back, Vis, Map);
    if (!Back || !Gc || !Draw) {
        Release();
        return false;
    }
    return true;
}

void TXCanvas::Release() {
    ReleasePaints();
    if (Draw)
        XftDrawDestroy(Draw);
    if (Gc)
        XFreeGC(Dpy, Gc);
    if (Back)
        XFreePixmap(Dpy, Back);
    Draw = nullptr;
    Gc = nullptr;
    Back = 0;
    ClientRect = TRect{};
}

void TXCanvas::ReleasePaints() {
    for (const TStretched &s : Stretched)
        XFreePixmap(Dpy, s.Picture);
    Stretched.clear();
    for (const TOpenFont &f : Fonts)
        if (f.Font)
            XftFontClose(Dpy, f.Font);
    Fonts.clear();
    for (int i = 0; i < ColourCount; ++i)
        if (TextColourMade[i])
            XftColorFree(Dpy, Vis, Map, &TextColours[i]);
    if (!Allocated.empty())
        XFreeColors(Dpy, Map, Allocated.data(), int(Allocated.size()), 0);
    Allocated.clear();
    for (bool &made : TextColourMade)
        made = false;
    Texture.clear();
}

// True and direct colour visuals place the channels by their masks; any
// other asks the colour map for the nearest colour.
unsigned long TXCanvas::PixelOf(const TColour &c) {
    if (Vis->c_class == TrueColor || Vis->c_class == DirectColor)
        return Channel(c.R, Vis->red_mask) | Channel(c.G, Vis->green_mask) |
               Channel(c.B, Vis->blue_mask);
    XColor colour{};
    colour.red = static_cast<unsigned short>(c.R * 257);
    colour.green = static_cast<unsigned short>(c.G * 257);
    colour.blue = static_cast<unsigned short>(c.B * 257);
    colour.flags = DoRed | DoGreen | DoBlue;
    if (!XAllocColor(Dpy, Map, &colour))
        return BlackPixel(Dpy, DefaultScreen(Dpy));
    Allocated.push_back(colour.pixel); // given back with the binding
    return colour.pixel;
}

void TXCanvas::Prepare(const TColourTable &colours, const TTexturePixels *texture) {
    ReleasePaints();
    for (int i = 0; i < ColourCount; ++i) {
        Pixels[i] = PixelOf(colours[i]);
        XRenderColor render{static_cast<unsigned short>(colours[i].R * 257),
                            static_cast<unsigned short>(colours[i].G * 257),
                            static_cast<unsigned short>(colours[i].B * 257), 0xFFFF};
        TextColourMade[i] = XftColorAllocValue(Dpy, Vis, Map, &render, &TextColours[i]) != 0;
    }
    if (texture)
        Texture.assign(texture->begin(), texture->end());
}

void TXCanvas::PaintCell(const TCellPicture &picture) {
    XPoint points[7];
    if (picture.ClipToOutline) {
        XPoint outline[6];
        for (int k = 0; k < 6; ++k)
            outline[k] = ToXPoint(picture.Outline[k]);
        Region region = XPolygonRegion(outline, 6, EvenOddRule);
        if (!region)
            return;
        XSetRegion(Dpy, Gc, region);
        XDestroyRegion(region);
    }
    for (const TCellPrimitive &p : picture.Primitives) {
        switch (p.Kind) {
        case TCellPrimitive::Polygon: {
            const int count = Outline(p, points);
            XSetForeground(Dpy, Gc, Pixels[p.Fill]);
            XFillPolygon(Dpy, Back, Gc, points, p.Count, Convex, CoordModeOrigin);
            XSetForeground(Dpy, Gc, Pixels[picture.Pen]);
            XDrawLines(Dpy, Back, Gc, points, count, CoordModeOrigin);
            break;
        }
        case TCellPrimitive::Line:
            XSetForeground(Dpy, Gc, Pixels[picture.Pen]);
            XDrawLine(Dpy, Back, Gc, p.Points[0].X, p.Points[0].Y, p.Points[1].X, p.Points[1].Y);
            break;
        case TCellPrimitive::Pixel:
            XSetForeground(Dpy, Gc, Pixels[picture.PixelColour]);
            XDrawPoint(Dpy, Back, Gc, p.Points[0].X, p.Points[0].Y);
            break;
        }
    }
    if (picture.ClipToOutline)
        XSetClipMask(Dpy, Gc, 0);
}

void TXCanvas::FillRectangles(TColourIndex colour, const TRect *rects, int32_t count) {
    XSetForeground(Dpy, Gc, Pixels[colour]);
    for (int32_t i = 0; i < count; ++i)
        if (!rects[i].IsEmpty())
            XFillRectangle(Dpy, Back, Gc, rects[i].Left, rects[i].Top, rects[i].Width(),
                           rects[i].Height());
}

// The panel's letters come out with their cells as tall as the font asks
// and, like GDI's, squeezed to the width it asks.
XftFont *TXCanvas::FontFor(const TFont &font) {
    for (const TOpenFont &open : Fonts)
        if (open.Height == font.Height && open.Width == font.Width && open.Weight == font.Weight &&
            open.FixedPitch == font.FixedPitch)
            return open.Font;
    if (font.Height <= 0)
        return nullptr;
    const char *faces[2] = {font.FixedPitch ? FixedFace : PlainFace,
                            font.FixedPitch ? FixedFallback : PlainFallback};
    auto open = [&](double pixelSize, double squeeze) {
        FcPattern *pattern = FcPatternCreate();
        for (const char *face : faces)
            FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8 *>(face));
        FcPatternAddDouble(pattern, FC_PIXEL_SIZE, pixelSize);
        FcPatternAddInteger(pattern, FC_WEIGHT,
                            font.Weight >= 600 ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
        if (font.FixedPitch)
            FcPatternAddInteger(pattern, FC_SPACING, FC_MONO);
        FcMatrix matrix;
        FcMatrixInit(&matrix);
        matrix.xx = squeeze;
        FcPatternAddMatrix(pattern, FC_MATRIX, &matrix);
        FcResult result;
        FcPattern *match = XftFontMatch(Dpy, DefaultScreen(Dpy), pattern, &result);
        FcPatternDestroy(pattern);
        XftFont *opened = match ? XftFontOpenPattern(Dpy, match) : nullptr;
        if (match && !opened)
            FcPatternDestroy(match); // an opened font owns its pattern
        return opened;
    };
    // A first opening, large, measures the face's proportions without
    // rounding; the second has the cell height and character width asked.
    XftFont *probe = open(ProbeSize, 1.0);
    if (!probe) {
        Fonts.push_back(TOpenFont{font.Height, font.Width, font.Weight, font.FixedPitch, nullptr});
        return nullptr; // and not asked for again until the next binding
    }
    const double cell = double(probe->ascent + probe->descent) / ProbeSize;
    const double advance = double(probe->max_advance_width) / ProbeSize;
    XftFontClose(Dpy, probe);
    const double size = cell > 0 ? font.Height / cell : font.Height;
    const double squeeze = advance > 0 && font.Width > 0 ? font.Width / (advance * size) : 1.0;
    XftFont *made = open(size, squeeze);
    Fonts.push_back(TOpenFont{font.Height, font.Width, font.Weight, font.FixedPitch, made});
    return made;
}

void TXCanvas::WriteText(const TPanelText &text, const TFont &font) {
    XftFont *face = FontFor(font);
    if (!face || text.Text.empty())
        return;
    const auto *utf8 = reinterpret_cast<const FcChar8 *>(text.Text.data());
    const int length = static_cast<int>(text.Text.size());
    XGlyphInfo extents;
    XftTextExtentsUtf8(Dpy, face, utf8, length, &extents);
    int x = text.Rect.Left;
    const int baseline = text.Rect.Top + face->ascent;
    if (text.Align == TTextAlign::Centre) {
        x += (text.Rect.Width() - extents.xOff) / 2;
        XRectangle clip{static_cast<short>(text.Rect.Left), static_cast<short>(text.Rect.Top),
                        static_cast<unsigned short>(text.Rect.Width()),
                        static_cast<unsigned short>(text.Rect.Height())};
        XftDrawSetClipRectangles(Draw, 0, 0, &clip, 1);
    }
    XftDrawStringUtf8(Draw, &TextColours[text.Colour], face, x, baseline, utf8, length);
    if (font.Underline) {
        const int thickness = font.Height / 16 > 1 ? font.Height / 16 : 1;
        XftDrawRect(Draw, &TextColours[text.Colour], x, baseline + font.Height / 12 + 1,
                    extents.xOff, thickness);
    }
    if (text.Align == TTextAlign::Centre)
        XftDrawSetClip(Draw, nullptr);
}

// The texture scaled to a size, nearest pixel, made once for each size;
// none on a visual without fixed colour channels (the plain colour then).
Pixmap TXCanvas::Stretch(int32_t width, int32_t height) {
    for (const TStretched &s : Stretched)
        if (s.Width == width && s.Height == height)
            return s.Picture;
    if (Vis->c_class != TrueColor && Vis->c_class != DirectColor)
        return 0;
    XImage *image = XCreateImage(Dpy, Vis, Depth, ZPixmap, 0, nullptr, width, height, 32, 0);
    if (!image)
        return 0;
    image->data = static_cast<char *>(std::malloc(size_t(image->bytes_per_line) * height));
    if (!image->data) {
        XDestroyImage(image);
        return 0;
    }
    std::vector<unsigned long> row(TextureWidth);
    int32_t sourceRow = -1;
    for (int32_t y = 0; y < height; ++y) {
        const int32_t sy = int32_t(int64_t(y) * TextureHeight / height);
        if (sy != sourceRow) {
            for (int32_t sx = 0; sx < TextureWidth; ++sx) {
                const uint32_t word = Texture[size_t(sy) * TextureWidth + sx];
                row[sx] = PixelOf(TColour{uint8_t(word >> 16), uint8_t(word >> 8), uint8_t(word)});
            }
            sourceRow = sy;
        }
        for (int32_t x = 0; x < width; ++x)
            XPutPixel(image, x, y, row[size_t(int64_t(x) * TextureWidth / width)]);
    }
    Pixmap picture = XCreatePixmap(Dpy, Target, width, height, Depth);
    XPutImage(Dpy, picture, Gc, image, 0, 0, 0, 0, width, height);
    XDestroyImage(image); // frees the data too
    Stretched.push_back(TStretched{width, height, picture});
    return picture;
}

bool TXCanvas::StretchTexture(const TRect &onto) {
    if (Texture.empty() || onto.IsEmpty())
        return false;
    Pixmap picture = Stretch(onto.Width(), onto.Height());
    if (!picture)
        return false;
    XCopyArea(Dpy, picture, Back, Gc, 0, 0, onto.Width(), onto.Height(), onto.Left, onto.Top);
    return true;
}

bool TXCanvas::CopyToScreen(const TRect &area) {
    if (!Back)
        return false;
    XCopyArea(Dpy, Back, Target, Gc, area.Left, area.Top, area.Width(), area.Height(), area.Left,
              area.Top);
    return true;
}
