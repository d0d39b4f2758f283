// SPDX-License-Identifier: MIT
#pragma once

namespace platform {

/// Makes every block of a megabyte or more a mapping of its own, given back to the system
/// when it is freed. The allocator otherwise raises that bound as large blocks come and go
/// and keeps what is freed below it: reading a million records grows buffers step by step,
/// and each step left behind would stay resident.
void ReturnLargeBlocksWhenFreed();

} // namespace platform
