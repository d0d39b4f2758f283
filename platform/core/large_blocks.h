// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <memory>

namespace platform {

/// Makes every block of a megabyte or more a mapping of its own, given back to the system
/// when it is freed. The allocator otherwise raises that bound as large blocks come and go
/// and keeps what is freed below it: reading a million records grows buffers step by step,
/// and each step left behind would stay resident.
void ReturnLargeBlocksWhenFreed();

/// A block of `bytes` for data written once and kept (a million records' texts), laid on
/// huge pages where the system offers them: filling it then takes one page fault every two
/// megabytes instead of one every four kilobytes. Its pages take memory once written.
std::shared_ptr<char[]> LargeBlock(std::size_t bytes);

} // namespace platform
