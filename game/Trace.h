#pragma once

// The trace hook: every operation that catches a failure passes its own
// fixed name here. It shows and logs nothing; tests install a recorder.
using TraceHook = void (*)(const char *name);

void Trace(const char *name);
void SetTraceHook(TraceHook hook); // null restores the silent default
