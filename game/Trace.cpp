#include "game/Trace.h"

#include <atomic>

namespace {
std::atomic<TraceHook> Hook{nullptr};
}

void Trace(const char *name) {
    TraceHook hook = Hook.load(std::memory_order_relaxed);
    if (hook)
        hook(name);
}

void SetTraceHook(TraceHook hook) {
    Hook.store(hook, std::memory_order_relaxed);
}
