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

// The parameters of one font, in the order the platform's font call takes.
// Narrow letters (width = height div 2), fixed pitch, modern family.
struct TFontSize {
    int32_t Height = 0; // cell height, positive, in pixels
    int32_t Width = 0;
    int32_t Escapement = 0;
    int32_t Orientation = 0;
    int32_t Weight = 400;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
    uint8_t CharSet = 0;         // ANSI
    uint8_t OutPrecision = 0;    // default
    uint8_t ClipPrecision = 0;   // default
    uint8_t Quality = 0;         // default
    uint8_t PitchAndFamily = 49; // fixed pitch | modern
    const char *Face = "Arial";
};

TFontSize PanelFontSize(TPanelFont font, double scale);

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

enum class TTextPlace : uint8_t {
    TopOfBand,    // centred horizontally, at the top of Rect (DT_CENTER)
    CentredInBox, // DT_CENTER | DT_VCENTER into Rect, which is one font high
    TopLeftAt,    // top-left corner at (Rect.Left, Rect.Top); Rect has no size
};

struct TPanelText {
    std::string Text;
    TPanelFont Font = TPanelFont::Value;
    TColourIndex Colour = ValueColour;
    TTextPlace Place = TTextPlace::TopLeftAt;
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
    CurrentTime, // the local time of day
    RunTime,     // the time since the program started
    GameTime,    // the time since the game began
};

// The time text of a clock kind; calendar seconds throughout. Empty if the
// local time is unknown.
std::string ClockText(TClockKind kind, int64_t now, int64_t startTime, int64_t gameStartTime);
