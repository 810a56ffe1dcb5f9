#pragma once
#include <cstdint>
#include <functional>

#include "driver/PlaySession.h"
#include "game/BestScores.h"
#include "render/Renderer.h"

// The settings record with the three best scores, as the profile stores
// them. A value: read once at start, handed to what needs it.

// Stored values of Time.
constexpr int32_t ClockCurrentTime = 102;
constexpr int32_t ClockRunTime = 103;
constexpr int32_t ClockGameTime = 104;

// Stored values of Priority.
constexpr int32_t PriorityLow = 106;
constexpr int32_t PriorityNormal = 107;
constexpr int32_t PriorityHigh = 108;

struct TSettings {
    int32_t Time = ClockCurrentTime;
    int32_t Priority = PriorityNormal;
    int32_t Palette = 1;
    bool ShowBkgr = true;
    bool ShowInfo = true;
    bool ManualControl = true;
    TBestScores Best;
};

// Reads the settings key by key into `settings`, in the profile's order
// (Time, Priority, Palette, ShowBkgr, ShowInfo, ManualControl, Score1 to
// Score3), each as read(key, its default); a flag is on when its number is
// not 0. What was read stays should a read fail on the way.
void ReadSettings(TSettings &settings, const std::function<int32_t(const char *, int32_t)> &read);

// The picture's look for a run: the full-screen saver's, or the preview's.
TLook LookOf(const TSettings &settings, bool saver);

// The play session's options; startTime is the program's start in
// calendar seconds.
TSessionOptions SessionOptionsOf(const TSettings &settings, int64_t startTime);
