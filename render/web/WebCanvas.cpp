#include "render/web/WebCanvas.h"

#include <emscripten.h>

// The page's side. Lines and outlines are stroked through pixel centres,
// so that a 1-pixel line covers one row or column as GDI's does.
// clang-format off
EM_JS(int, JsOpen, (int width, int height), {
    var s = Module.stakkoCanvas = Module.stakkoCanvas || {};
    s.screen = document.getElementById('canvas');
    if (!s.screen) return 0;
    s.screen.width = width;
    s.screen.height = height;
    s.bctx = s.screen.getContext('2d', {alpha: false});
    return s.bctx ? 1 : 0;
});

EM_JS(void, JsPrepare, (const uint8_t *rgb, int count, const uint32_t *texture, int width,
                        int height), {
    var s = Module.stakkoCanvas;
    s.colours = [];
    for (var i = 0; i < count; ++i)
        s.colours.push('rgb(' + HEAPU8[rgb + 3 * i] + ',' + HEAPU8[rgb + 3 * i + 1] + ',' +
                       HEAPU8[rgb + 3 * i + 2] + ')');
    s.fonts = {};
    s.sprites = [];
    s.texture = null;
    if (!texture) return;
    var t = document.createElement('canvas');
    t.width = width;
    t.height = height;
    var c = t.getContext('2d');
    var image = c.createImageData(width, height);
    var words = HEAPU32.subarray(texture >> 2, (texture >> 2) + width * height);
    for (var p = 0; p < words.length; ++p) {
        image.data[4 * p] = (words[p] >> 16) & 255;
        image.data[4 * p + 1] = (words[p] >> 8) & 255;
        image.data[4 * p + 2] = words[p] & 255;
        image.data[4 * p + 3] = 255;
    }
    c.putImageData(image, 0, 0);
    s.texture = t;
});

// A cell's primitives, each: kind (0 polygon, 1 line, 2 pixel), fill, point
// count, the points; drawn into the back buffer at (x, y), or into a new
// sprite of width x height when one is asked for; clip: the outline's six
// points, or 0.
EM_JS(void, JsCell, (const int32_t *data, int length, int pen, int pixel, const int32_t *clip,
                     int sprite, int width, int height), {
    var s = Module.stakkoCanvas, c = s.bctx, d = HEAP32.subarray(data >> 2, (data >> 2) + length);
    if (sprite >= 0) {
        var image = document.createElement('canvas');
        image.width = width;
        image.height = height;
        s.sprites[sprite] = image;
        c = image.getContext('2d');
    }
    c.save();
    if (clip) {
        var o = HEAP32.subarray(clip >> 2, (clip >> 2) + 12);
        c.beginPath();
        c.moveTo(o[0], o[1]);
        for (var k = 2; k < 12; k += 2) c.lineTo(o[k], o[k + 1]);
        c.closePath();
        c.clip();
    }
    c.lineWidth = 1;
    c.strokeStyle = s.colours[pen];
    for (var i = 0; i < length; i += 3 + 2 * d[i + 2]) {
        var kind = d[i], n = d[i + 2], p = i + 3;
        if (kind == 2) {
            c.fillStyle = s.colours[pixel];
            c.fillRect(d[p], d[p + 1], 1, 1);
            continue;
        }
        c.beginPath();
        c.moveTo(d[p] + 0.5, d[p + 1] + 0.5);
        for (var j = 1; j < n; ++j) c.lineTo(d[p + 2 * j] + 0.5, d[p + 2 * j + 1] + 0.5);
        if (kind == 0) {
            c.closePath();
            c.fillStyle = s.colours[d[i + 1]];
            c.fill();
        }
        c.stroke();
    }
    c.restore();
});

EM_JS(void, JsSprite, (int sprite, int x, int y), {
    var s = Module.stakkoCanvas;
    s.bctx.drawImage(s.sprites[sprite], x, y);
});

EM_JS(void, JsFill, (const int32_t *rects, int count, int colour), {
    var s = Module.stakkoCanvas, r = HEAP32.subarray(rects >> 2, (rects >> 2) + 4 * count);
    s.bctx.fillStyle = s.colours[colour];
    for (var i = 0; i < 4 * count; i += 4) s.bctx.fillRect(r[i], r[i + 1], r[i + 2] - r[i], r[i + 3] - r[i + 1]);
});

// A font whose cells are `height` pixels high and whose characters are
// `width` wide on average, measured once at a large size; the letters are
// squeezed to that width as GDI's are.
EM_JS(void, JsText, (const char *text, int left, int top, int right, int bottom, int centre,
                     int height, int width, int weight, int underline, int fixed, int colour), {
    var s = Module.stakkoCanvas, c = s.bctx, key = [height, width, weight, fixed].join();
    var family = fixed ? '"Liberation Mono", "DejaVu Sans Mono", monospace'
                       : '"Liberation Sans", Arial, sans-serif';
    var bold = weight >= 600 ? 'bold ' : "";
    var f = s.fonts[key];
    if (!f) {
        c.font = bold + '1000px ' + family;
        var m = c.measureText('0');
        var ascent = m.fontBoundingBoxAscent || 800, descent = m.fontBoundingBoxDescent || 200;
        var size = height * 1000 / (ascent + descent);
        f = s.fonts[key] = {css: bold + size + 'px ' + family, ascent: ascent * size / 1000,
                            squeeze: width > 0 ? width / (m.width * size / 1000) : 1};
    }
    var words = UTF8ToString(text);
    c.save();
    c.font = f.css;
    c.fillStyle = s.colours[colour];
    var w = c.measureText(words).width * f.squeeze, x = left;
    if (centre) {
        x = left + Math.floor((right - left - w) / 2);
        c.beginPath();
        c.rect(left, top, right - left, bottom - top);
        c.clip();
    }
    var base = top + Math.round(f.ascent);
    if (underline) c.fillRect(x, base + Math.max(1, Math.floor(height / 12)), w, Math.max(1, Math.floor(height / 16)));
    c.translate(x, base);
    c.scale(f.squeeze, 1);
    c.fillText(words, 0, 0);
    c.restore();
});

EM_JS(int, JsStretch, (int x, int y, int width, int height), {
    var s = Module.stakkoCanvas;
    if (!s.texture) return 0;
    s.bctx.imageSmoothingEnabled = false;
    s.bctx.drawImage(s.texture, 0, 0, s.texture.width, s.texture.height, x, y, width, height);
    return 1;
});

// clang-format on

bool TWebCanvas::Open(int32_t width, int32_t height) {
    ClientRect = TRect{0, 0, width, height};
    return width > 0 && height > 0 && JsOpen(width, height) != 0;
}

void TWebCanvas::Prepare(const TColourTable &colours, const TTexturePixels *texture) {
    uint8_t rgb[3 * ColourCount];
    for (int i = 0; i < ColourCount; ++i) {
        rgb[3 * i] = colours[i].R;
        rgb[3 * i + 1] = colours[i].G;
        rgb[3 * i + 2] = colours[i].B;
    }
    Sprites.clear();
    JsPrepare(rgb, ColourCount, texture ? texture->data() : nullptr, TextureWidth, TextureHeight);
}

// The primitives as the page reads them, counted from (left, top).
void TWebCanvas::Encode(const TCellPicture &picture, int32_t left, int32_t top) {
    Scratch.clear();
    for (const TCellPrimitive &p : picture.Primitives) {
        Scratch.insert(Scratch.end(), {int32_t(p.Kind), int32_t(p.Fill), p.Count});
        for (int32_t i = 0; i < p.Count; ++i)
            Scratch.insert(Scratch.end(), {p.Points[i].X - left, p.Points[i].Y - top});
    }
}

// Every empty and every filled cell of a glass looks the same from its box's
// corner: each is drawn once into a sprite (a pixel larger than the box, as
// the outline's right and bottom reach that far), then copied. A flash's
// random pixels are drawn as they come.
void TWebCanvas::PaintCell(const TCellPicture &picture) {
    const TRect &box = picture.Box;
    if (picture.ClipToOutline) {
        Encode(picture, 0, 0);
        int32_t outline[12];
        for (int k = 0; k < 6; ++k) {
            outline[2 * k] = picture.Outline[k].X;
            outline[2 * k + 1] = picture.Outline[k].Y;
        }
        JsCell(Scratch.data(), int(Scratch.size()), picture.Pen, picture.PixelColour, outline, -1,
               0, 0);
        return;
    }
    Encode(picture, box.Left, box.Top);
    for (size_t i = 0; i < Sprites.size(); ++i)
        if (Sprites[i].Pen == picture.Pen && Sprites[i].Primitives == Scratch) {
            JsSprite(int(i), box.Left, box.Top);
            return;
        }
    if (Sprites.size() >= SpriteLimit) {
        Encode(picture, 0, 0);
        JsCell(Scratch.data(), int(Scratch.size()), picture.Pen, picture.PixelColour, nullptr, -1,
               0, 0);
        return;
    }
    const int sprite = int(Sprites.size());
    Sprites.push_back(TSprite{picture.Pen, Scratch});
    JsCell(Scratch.data(), int(Scratch.size()), picture.Pen, picture.PixelColour, nullptr, sprite,
           box.Width() + 1, box.Height() + 1);
    JsSprite(sprite, box.Left, box.Top);
}

void TWebCanvas::FillRectangles(TColourIndex colour, const TRect *rects, int32_t count) {
    Scratch.clear();
    for (int32_t i = 0; i < count; ++i)
        Scratch.insert(Scratch.end(),
                       {rects[i].Left, rects[i].Top, rects[i].Right, rects[i].Bottom});
    JsFill(Scratch.data(), count, colour);
}

void TWebCanvas::WriteText(const TPanelText &text, const TFont &font) {
    const TRect &r = text.Rect;
    JsText(text.Text.c_str(), r.Left, r.Top, r.Right, r.Bottom, text.Align == TTextAlign::Centre,
           font.Height, font.Width, font.Weight, font.Underline, font.FixedPitch, text.Colour);
}

bool TWebCanvas::StretchTexture(const TRect &onto) {
    return !onto.IsEmpty() && JsStretch(onto.Left, onto.Top, onto.Width(), onto.Height()) != 0;
}

// The page shows the canvas as it is when the current task ends: what was
// drawn is already where it is to be seen.
bool TWebCanvas::CopyToScreen(const TRect &) {
    return true;
}
