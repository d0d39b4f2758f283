// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/bitmap.h"

#include <array>

namespace imaging {

/// Four picture copies, newest first, shared by every image control of the program.
class UndoRing {
public:
    static constexpr int Slots = 4;
    static UndoRing& Shared();

    /// The picture becomes the newest copy; the oldest falls out.
    void Push(const TBitmap& picture);
    /// The picture takes the newest copy, which leaves the ring; nothing without one.
    void Pop(TBitmap& picture);
    bool UndoAvailable() const { return available_; }
    const TBitmap& Slot(int i) const { return slots_[i]; }

private:
    std::array<TBitmap, Slots> slots_;
    bool available_ = false;
};

} // namespace imaging
