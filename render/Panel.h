#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "game/Rect.h"
#include "render/Colours.h"
#include "render/Layout.h"

// Everything the information panel draws, as plain data: fonts, framed
// boxes, texts with their places and colours. The Win32 layer only issues it.

// What the panel is drawn for: the client area, its layout, and the two
// switches that decide what appears.
struct TPanelView {
    TRect Client;
    TLayout Layout;
    bool SaverMode = true; // texts only in the full-screen saver
    bool ShowInfo = true;  // off: no panel but the glass frame
};

// ---- Fonts ----

enum class TPanelFont : uint8_t { Link, Logo, Label, Best, Value };

// A panel font as any platform can make it: the height of its character
// cells in pixels, narrow letters (about half as wide as high), its weight,
// fixed pitch, and an underline for the web address.
struct TFont {
    TPanelFont Role = TPanelFont::Value;
    int32_t Height = 0;   // character cell height, positive, in pixels
    int32_t Width = 0;    // average character width: height div 2
    int32_t Weight = 400; // 400 regular, 700 bold
    bool Underline = false;
    bool FixedPitch = true;
};

TFont PanelFont(TPanelFont role, double scale);

// ---- Framed boxes ----

// One pen-and-brush colour and the rectangles filled and outlined with it.
struct TPanelFill {
    TColourIndex Colour = BackColour;
    std::array<TRect, 2> Rects;
    int32_t Count = 0;
};

// A box in the background colour with a 2-pixel sunken frame: the box grown
// by 2 is filled, then the dark top and left bands, then the light right and
// bottom bands, each up to 4 pixels outside the box.
std::array<TPanelFill, 3> PanelFills(const TRect &box);

// The part of a framed box that is reported as changed: the box grown by 2.
// The frame bands outside it are not.
TRect PanelDirtyRect(const TRect &box);

// The box framed around the glass area; one pixel larger to the right and
// below so that the frame clears the glass's last column and row.
TRect GlassPanelBox(const TRect &glassArea);

// ---- Texts ----

// Where a text goes; its top is always at Rect.Top.
enum class TTextAlign : uint8_t {
    Left,   // it starts at (Rect.Left, Rect.Top); Rect has no size
    Centre, // centred between Rect.Left and Rect.Right, clipped to Rect
};

struct TPanelText {
    std::string Text;
    TPanelFont Font = TPanelFont::Value;
    TColourIndex Colour = ValueColour;
    TTextAlign Align = TTextAlign::Left;
    TRect Rect;
};

// What one panel operation draws: the boxes it frames, then its texts.
struct TPanelDrawing {
    std::vector<TRect> Panels;
    std::vector<TPanelText> Texts;
};

extern const char *const WebAddress; // the web-address line, 14 characters

// The logo words, the web address and the three labels of a full redraw;
// none outside the saver or with ShowInfo off.
TPanelDrawing HeaderDrawing(const TPanelView &view);

// One number centred in a framed box; the frame alone outside the saver.
TPanelDrawing NumberDrawing(const TPanelView &view, int32_t value, const TRect &box);

// The rectangle a number or the time is drawn into: the box's width, one
// value font high, centred vertically on the box.
TRect ValueTextRect(const TRect &box, double scale);

// The best-score box and its three lines " 1. 30" one LineUnit apart, in the
// order the scores are given (sort them first).
TPanelDrawing BestScoresDrawing(const TPanelView &view, int32_t score1, int32_t score2,
                                int32_t score3);

// The time box with the given text.
TPanelDrawing TimeDrawing(const TPanelView &view, const std::string &text);

// The glass frame, drawn whatever ShowInfo says.
TPanelDrawing GlassPanelDrawing(const TPanelView &view);

// ---- The time box ----

// "%02u:%02u:%02u" of a difference in seconds: hours grow past 24, and a
// negative difference prints through the unsigned format as large numbers.
std::string ElapsedText(int64_t seconds);

// What the time box shows.
enum class TClockKind : uint8_t {
    TimeOfDay, // the local time of day
    RunTime,   // the time since the program started
    GameTime,  // the time since the game began
};

// The time text of a clock kind; calendar seconds throughout. Empty if the
// local time is unknown.
std::string ClockText(TClockKind kind, int64_t now, int64_t startTime, int64_t gameStartTime);
