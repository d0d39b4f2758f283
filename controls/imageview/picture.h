// SPDX-License-Identifier: MIT
#pragma once

#include "imaging/bitmap.h"
#include "imaging/metafile/metafile.h"

#include <QSize>
#include <functional>

namespace controls {

/// The image view's picture container: a bitmap, a metafile, or nothing. Every change calls
/// OnChange (the view's PictureChanged).
class TPicture {
public:
    enum class Kind { None, Bitmap, Metafile };

    Kind Holds() const { return kind_; }
    /// Whether it holds a graphic at all (an empty bitmap counts).
    bool HasGraphic() const { return kind_ != Kind::None; }
    bool HasBitmap() const { return kind_ == Kind::Bitmap; }
    bool HasMetafile() const { return kind_ == Kind::Metafile; }
    /// A bitmap with pixels.
    bool HasBitmapHandle() const { return HasBitmap() && bitmap_.HandleAllocated(); }
    /// A graphic without content (an empty bitmap or metafile, or none).
    bool GraphicEmpty() const;

    const imaging::TBitmap& Bitmap() const { return bitmap_; }
    const imaging::Metafile& Metafile() const { return metafile_; }
    void SetBitmap(imaging::TBitmap bitmap);
    void SetMetafile(imaging::Metafile metafile);
    /// Empties the container (Assign(nil)).
    void Clear();

    /// The graphic's size; empty for none.
    QSize Size() const;
    int Width() const { return Size().width(); }
    int Height() const { return Size().height(); }

    std::function<void()> OnChange;

private:
    void Changed();

    Kind kind_ = Kind::None;
    imaging::TBitmap bitmap_;
    imaging::Metafile metafile_;
};

} // namespace controls
