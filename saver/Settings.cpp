#include "saver/Settings.h"

TSettings Settings;

void OfferScore3(int32_t score) {
    if (score > Settings.Score3)
        Settings.Score3 = score;
}
TRunMode RunMode = NoMode;
int64_t StartTime = 0;
