// SPDX-License-Identifier: MIT
#include "platform/core/random.h"

#include <chrono>
#include <random>

namespace platform {

namespace {
std::mt19937& Generator() {
    static std::mt19937 generator(5489u);
    return generator;
}
} // namespace

void Randomize() {
    const auto now = std::chrono::system_clock::now().time_since_epoch().count();
    Generator().seed(static_cast<std::uint32_t>(now ^ (now >> 32)));
}

void RandSeed(std::uint32_t seed) {
    Generator().seed(seed);
}

int Random(int range) {
    if (range <= 0)
        return 0;
    return std::uniform_int_distribution<int>(0, range - 1)(Generator());
}

} // namespace platform
