#include "game/Ticks.h"

#include <atomic>
#include <chrono>
#include <thread>

namespace {
std::atomic<TickSource> Source{nullptr};

uint32_t SteppedNow = 0;
uint32_t SteppedTicks() {
    return SteppedNow;
}
} // namespace

uint32_t MonotonicTicks() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

uint32_t CurrentTicks() {
    TickSource source = Source.load(std::memory_order_relaxed);
    return source ? source() : MonotonicTicks();
}

void SetTickSource(TickSource source) {
    Source.store(source, std::memory_order_relaxed);
}

TSteppedClock::TSteppedClock(uint32_t start) : Now(SteppedNow) {
    SteppedNow = start;
    SetTickSource(&SteppedTicks);
}

TSteppedClock::~TSteppedClock() {
    SetTickSource(nullptr);
}

void SleepMilliseconds(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}
