// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/bitmap.h"

#include <array>
#include <cstdint>

namespace imaging {

/// Four picture copies, newest first, shared by every image control of the program. Each copy
/// remembers who pushed it and when (a running count of pushes), so that a view can tell its
/// own copies of the record it edits from copies of pictures shown before.
class UndoRing {
public:
    static constexpr int Slots = 4;
    static UndoRing& Shared();

    /// The picture becomes the newest copy; the oldest falls out. `owner` names the pusher.
    void Push(const TBitmap& picture, const void* owner = nullptr);
    /// The picture takes the newest copy, which leaves the ring; nothing without one.
    void Pop(TBitmap& picture);
    bool UndoAvailable() const { return available_; }
    const TBitmap& Slot(int i) const { return slots_[i].picture; }

    /// How many pushes the ring has taken so far; the next push is numbered this.
    std::uint64_t Pushes() const { return pushes_; }
    /// Whether the newest copy was pushed by `owner` as push number `since` or later.
    bool NewestPushedBy(const void* owner, std::uint64_t since) const;

private:
    struct Copy {
        TBitmap picture;
        const void* owner = nullptr;
        std::uint64_t number = 0;
    };
    std::array<Copy, Slots> slots_;
    bool available_ = false;
    std::uint64_t pushes_ = 0;
};

} // namespace imaging
