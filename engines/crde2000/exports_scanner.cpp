// SPDX-License-Identifier: MIT
// The imaging engine's scanner exports, on SANE.
#include "engines/crde2000/exports_support.h"
#include "engines/crde2000/scanner.h"

using namespace crde;

CRDE_EXPORT std::int16_t selectsource(CrdeScanHost* host, std::int16_t) {
    return Guard([&] { return SelectSource(host); });
}

CRDE_EXPORT std::int16_t aquiredibimage(CrdeScanHost* host, std::int16_t depth, std::int16_t dither,
                                        std::int16_t, HGLOBAL* dib, void*, void* user,
                                        CrdeProgress cb, std::int16_t) {
    return Guard([&] { return Acquire(host, depth, dither != 0, dib, user, cb); });
}
