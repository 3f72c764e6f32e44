// Shared libraries are built with hidden symbols, so that only what a library's public headers
// declare can be reached from outside it: internals stay free to change and cannot clash with a
// neighbour's. Public headers put their declarations between these two markers, after their own
// includes, which makes them (with their typeinfo and vtables) visible again.
#pragma once

#define DV_EXPORTS_BEGIN _Pragma("GCC visibility push(default)")
#define DV_EXPORTS_END _Pragma("GCC visibility pop")

// A C entry point that a loader looks up by name (GetProcAddress, dlsym) from a module whose
// declarations live in no public header.
#define DV_ENTRY_POINT extern "C" __attribute__((visibility("default")))
