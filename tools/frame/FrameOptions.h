#pragma once
#include <cstdint>
#include <string>
#include <vector>

// The frame tool's command line:
//   stakko-frame WIDTH HEIGHT OUT.bmp [--palette N] [--preview] [--noinfo] [--plain] [--demo]
//                [--seed TICKS]
struct TFrameOptions {
    int32_t Width = 0;
    int32_t Height = 0;
    std::string Output;
    int32_t Palette = 1;
    bool Preview = false; // the small preview's look: frames without texts
    bool NoInfo = false;  // ShowInfo off
    bool Plain = false;   // ShowBkgr off
    bool Demo = false;    // play a few hundred figures first
    // The tick count the game starts from, which makes the texture and the
    // demonstration's figures; without it, the platform's.
    bool Seeded = false;
    uint32_t Seed = 0;
};

// The picture is drawn in a bitmap of the screen's depth: 64 MB at this side
// and 32 bits.
constexpr int32_t MaxFrameSide = 4096;

extern const char *const FrameUsage;

// False if the arguments (after the program name) are malformed; problem
// then says why where the usage line alone would not tell.
bool ParseFrameOptions(const std::vector<std::string> &args, TFrameOptions &options,
                       std::string &problem);
