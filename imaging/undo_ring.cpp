// SPDX-License-Identifier: MIT
#include "imaging/undo_ring.h"

namespace imaging {

UndoRing& UndoRing::Shared() {
    static UndoRing ring;
    return ring;
}

void UndoRing::Push(const TBitmap& picture) {
    for (int i = Slots - 1; i > 0; --i)
        slots_[i] = slots_[i - 1];
    slots_[0] = picture;
    available_ = true;
}

void UndoRing::Pop(TBitmap& picture) {
    if (!available_)
        return;
    picture = slots_[0];
    for (int i = 0; i < Slots - 1; ++i)
        slots_[i] = slots_[i + 1];
    slots_[Slots - 1] = TBitmap();
    available_ = slots_[0].HandleAllocated();
}

} // namespace imaging
