#include "saver/Settings.h"

void ReadSettings(TSettings &settings, const std::function<int32_t(const char *, int32_t)> &read) {
    const TSettings defaults;
    settings.Time = read("Time", defaults.Time);
    settings.Priority = read("Priority", defaults.Priority);
    settings.Palette = read("Palette", defaults.Palette);
    settings.ShowBkgr = read("ShowBkgr", defaults.ShowBkgr) != 0;
    settings.ShowInfo = read("ShowInfo", defaults.ShowInfo) != 0;
    settings.ManualControl = read("ManualControl", defaults.ManualControl) != 0;
    settings.Best.Score1 = read("Score1", defaults.Best.Score1);
    settings.Best.Score2 = read("Score2", defaults.Best.Score2);
    settings.Best.Score3 = read("Score3", defaults.Best.Score3);
}

TLook LookOf(const TSettings &settings, bool saver) {
    TLook look;
    look.Palette = settings.Palette;
    look.Texture = settings.ShowBkgr;
    look.ShowInfo = settings.ShowInfo;
    look.Saver = saver;
    // Any other stored value shows the game's time.
    look.Clock = settings.Time == ClockCurrentTime ? TClockKind::TimeOfDay
                 : settings.Time == ClockRunTime   ? TClockKind::RunTime
                                                   : TClockKind::GameTime;
    return look;
}

TSessionOptions SessionOptionsOf(const TSettings &settings, int64_t startTime) {
    TSessionOptions options;
    options.Best = settings.Best;
    options.ShowInfo = settings.ShowInfo;
    options.StartTime = startTime;
    return options;
}
