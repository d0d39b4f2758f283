// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace isp {

/// Turns a picture of 24-bit pixels by a quarter (1: anticlockwise on screen, y growing
/// downwards; 3: clockwise) into `to`, whose row y starts at to + y * toStride.
/// `to` is top-down. `rows[y]` is the source's row y from the top; nothing past a row's
/// 3 * width bytes is read.
void QuarterTurn24(const std::uint8_t* const* rows, std::int64_t width, std::int64_t height,
                   int quarters, std::uint8_t* to, std::int64_t toStride);

} // namespace isp
