// SPDX-License-Identifier: MIT
#pragma once

#include "engines/crde2000/crde2000.h"

#include <cstdint>

namespace crde {

/// Lists SANE's devices and lets the host choose one; the choice goes into host->device.
/// 1 chosen, 0 cancelled, kErrNoScanner when SANE finds none.
std::int16_t SelectSource(CrdeScanHost* host);

/// Scans from the host's device (the first one SANE finds when none is remembered or it is
/// gone) after the host's settings dialog, and makes a DIB at `depth` (0: the scan's own),
/// dithered when asked. 1 with the DIB, 0 when the user cancelled, below 0 a failure.
std::int16_t Acquire(CrdeScanHost* host, int depth, bool dither, HGLOBAL* dib, void* user,
                     CrdeProgress cb);

} // namespace crde
