// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <functional>

namespace platform {

/// A source of millisecond ticks that wraps at 2^32, like the classic system tick counter.
using TickSource = std::function<std::uint32_t()>;

/// Milliseconds since an arbitrary start, truncated to 32 bits (wraps after about 49.7 days).
std::uint32_t GetTickCount();

/// Replaces the tick source (tests); an empty function restores the system clock.
void SetTickSource(TickSource source);

/// The system clock's tick count, whatever source is installed.
std::uint32_t SystemTickCount();

} // namespace platform
