// SPDX-License-Identifier: MIT
#include "imaging/undo_ring.h"

namespace imaging {

UndoRing& UndoRing::Shared() {
    static UndoRing ring;
    return ring;
}

void UndoRing::Push(const TBitmap& picture, const void* owner) {
    for (int i = Slots - 1; i > 0; --i)
        slots_[i] = slots_[i - 1];
    slots_[0] = Copy{picture, owner, pushes_++};
    available_ = true;
}

void UndoRing::Pop(TBitmap& picture) {
    if (!available_)
        return;
    picture = slots_[0].picture;
    for (int i = 0; i < Slots - 1; ++i)
        slots_[i] = slots_[i + 1];
    slots_[Slots - 1] = Copy{};
    available_ = slots_[0].picture.HandleAllocated();
}

bool UndoRing::NewestPushedBy(const void* owner, std::uint64_t since) const {
    return available_ && slots_[0].owner == owner && slots_[0].number >= since;
}

} // namespace imaging
