#pragma once
#include <cstdint>

// The process-wide settings record, with the three best scores. Read by
// every subsystem without a lock; Score3 is compared and replaced only under
// GameLock. Loading and saving it belongs to the saver's front end.

// Values of Time (the dialog's radio button ids).
constexpr int32_t ClockCurrentTime = 102;
constexpr int32_t ClockRunTime = 103;
constexpr int32_t ClockGameTime = 104;

// Values of Priority.
constexpr int32_t PriorityLow = 106;
constexpr int32_t PriorityNormal = 107;
constexpr int32_t PriorityHigh = 108;

struct TSettings {
    int32_t Time = ClockCurrentTime; // ClockMode
    int32_t Priority = PriorityNormal;
    int32_t Palette = 1;
    bool ShowBkgr = true;
    bool ShowInfo = true;
    bool ManualControl = true;
    int32_t Score1 = 0;
    int32_t Score2 = 0;
    int32_t Score3 = 0;
};

extern TSettings Settings;

// A game's score enters the best scores only by replacing a smaller Score3.
// Callers hold GameLock.
void OfferScore3(int32_t score);

// How the program was started; 0 until the command line has been read.
enum TRunMode : uint8_t {
    NoMode = 0,
    Configure = 1,
    Preview = 2,
    ChangePassword = 3,
    Saver = 4,
};

extern TRunMode RunMode;

// Calendar time, in whole seconds, at which the program started.
extern int64_t StartTime;
