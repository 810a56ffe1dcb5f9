#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "saver/Settings.h"

// The Linux hack's command line, in XScreenSaver's style (one dash or two):
// where to draw and what the settings dialog of the Windows saver sets.

enum class THackTarget : uint8_t {
    OwnWindow, // a resizable window of its own (-window, or no target)
    Root,      // XSCREENSAVER_WINDOW, else the root window (-root)
    WindowId,  // a window named by its id: the settings' preview (-window-id)
};

// The own window's place and size, X's "WxH+X+Y": each part may be left
// out; a negative offset counts from the right or bottom edge.
struct TGeometry {
    bool HasSize = false;
    bool HasPlace = false;
    uint32_t Width = 1024;
    uint32_t Height = 768;
    int32_t X = 0;
    int32_t Y = 0;
    bool FromRight = false;
    bool FromBottom = false;
};

struct THackOptions {
    THackTarget Target = THackTarget::OwnWindow;
    uint64_t WindowId = 0;
    TGeometry Geometry;
    std::string Display;  // empty: $DISPLAY
    TSettings Settings;   // the best scores come from the scores file
    bool Help = false;    // print the usage and end
    bool Version = false; // print the version and end
};

extern const char *const HackUsage;

// False with a one-line reason for an unknown option or a bad or missing
// value.
bool ParseHackOptions(const std::vector<std::string> &args, THackOptions &options,
                      std::string &problem);

bool ParseGeometry(const std::string &text, TGeometry &geometry);

// A window id as X prints it: hexadecimal with 0x, or decimal; false for
// anything else, 0 included.
bool ParseWindowId(const std::string &text, uint64_t &id);
