#include "saver/Settings.h"

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
