// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace platform {

/// Seeds the program's random generator from the clock.
void Randomize();

/// Seeds it with a fixed value (tests).
void RandSeed(std::uint32_t seed);

/// A random integer in [0, range); 0 when range is not positive.
int Random(int range);

} // namespace platform
