// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>

namespace platform {

/// A block of `bytes` for data written once and kept (a million records' texts), laid on
/// huge pages where the system offers them: filling it then takes one page fault every two
/// megabytes instead of one every four kilobytes. Its pages take memory once written.
std::shared_ptr<char[]> LargeBlock(std::size_t bytes);

} // namespace platform
