// SPDX-License-Identifier: MIT
#include "platform/core/tick_counter.h"

#include <time.h>

namespace platform {

namespace {
TickSource& InstalledSource() {
    static TickSource source;
    return source;
}
} // namespace

std::uint32_t SystemTickCount() {
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    const auto ms = static_cast<std::uint64_t>(ts.tv_sec) * 1000u +
                    static_cast<std::uint64_t>(ts.tv_nsec) / 1000000u;
    return static_cast<std::uint32_t>(ms);
}

std::uint32_t GetTickCount() {
    const TickSource& source = InstalledSource();
    return source ? source() : SystemTickCount();
}

void SetTickSource(TickSource source) {
    InstalledSource() = std::move(source);
}

} // namespace platform
