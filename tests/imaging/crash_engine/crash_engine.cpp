// SPDX-License-Identifier: MIT
// A stand-in for the imaging engine whose readers report that something inside them crashed
// (the engine's result for a caught exception), so the binding's crash message is seen.
#include "engines/crde2000/crde2000.h"

#include <cstdint>

#define CRASH_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
constexpr std::int16_t kCaughtCrash = -19;
}

CRASH_EXPORT std::int16_t rdbmpstreamdib(const void*, std::int32_t, std::int16_t, std::int16_t,
                                         HGLOBAL* dib, void*, void*, CrdeProgress, std::int16_t) {
    if (dib)
        *dib = nullptr;
    return kCaughtCrash;
}

// Tells how far it got before it "crashed", through the progress it reports.
CRASH_EXPORT std::int16_t rdpngstreamdib(const void*, std::int32_t, std::int16_t, std::int16_t,
                                         HGLOBAL* dib, void*, void* user, CrdeProgress cb,
                                         std::int16_t) {
    if (dib)
        *dib = nullptr;
    if (cb)
        cb(40, user);
    throw 1; // nothing of the real engine throws out; the binding's guard must hold anyway
}

CRASH_EXPORT const char* errortext(std::int16_t code) {
    return code == kCaughtCrash ? "Internal error in the imaging engine" : "";
}
