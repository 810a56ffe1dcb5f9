#pragma once
#include <cstdint>

// The millisecond tick counter of the platform (32 bits, wraps after about
// 49.7 days; intervals are always unsigned differences). Tests and the
// simulator install their own source; the Windows front end installs
// GetTickCount. The default is a monotonic clock.
using TickSource = uint32_t (*)();

uint32_t CurrentTicks();
void SetTickSource(TickSource source); // null restores the default
uint32_t MonotonicTicks();

// A tick counter that moves only when its owner advances Now, installed as
// the source for the owner's lifetime (simulated play). One at a time.
class TSteppedClock {
public:
    explicit TSteppedClock(uint32_t start);
    ~TSteppedClock(); // restores the default source
    TSteppedClock(const TSteppedClock &) = delete;
    TSteppedClock &operator=(const TSteppedClock &) = delete;
    uint32_t &Now;
};

// Sleeps for ms milliseconds without keeping a processor busy.
void SleepMilliseconds(uint32_t ms);
