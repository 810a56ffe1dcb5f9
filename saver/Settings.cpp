#include "saver/Settings.h"

TSettings Settings;
TRunMode RunMode = NoMode;
int64_t StartTime = 0;
