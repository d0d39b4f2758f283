// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/palette.h"

#include <QImage>

namespace imaging {

/// A drawable bitmap: its image (the "handle"; none when null) and an optional palette.
/// Palette pictures are held as 1-bit or 8-bit indexed images with their colour table.
class TBitmap {
public:
    bool HandleAllocated() const { return !handle_.isNull(); }
    const QImage& Handle() const { return handle_; }
    void SetHandle(QImage image) { handle_ = std::move(image); }
    const HPALETTE& Palette() const { return palette_; }
    void SetPalette(HPALETTE palette) { palette_ = std::move(palette); }
    /// A monochrome bitmap asks readers for one bit per pixel.
    bool Monochrome() const { return monochrome_; }
    void SetMonochrome(bool value) { monochrome_ = value; }
    int Width() const { return handle_.width(); }
    int Height() const { return handle_.height(); }

private:
    QImage handle_;
    HPALETTE palette_;
    bool monochrome_ = false;
};

} // namespace imaging
