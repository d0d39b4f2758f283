// SPDX-License-Identifier: MIT
#include "controls/imageview/picture.h"

namespace controls {

bool TPicture::GraphicEmpty() const {
    switch (kind_) {
    case Kind::Bitmap:
        return !bitmap_.HandleAllocated();
    case Kind::Metafile:
        return metafile_.Empty();
    case Kind::None:
        break;
    }
    return true;
}

void TPicture::SetBitmap(imaging::TBitmap bitmap) {
    bitmap_ = std::move(bitmap);
    metafile_.Clear();
    kind_ = Kind::Bitmap;
    Changed();
}

void TPicture::SetMetafile(imaging::Metafile metafile) {
    metafile_ = std::move(metafile);
    bitmap_ = {};
    kind_ = Kind::Metafile;
    Changed();
}

void TPicture::Clear() {
    bitmap_ = {};
    metafile_.Clear();
    kind_ = Kind::None;
    Changed();
}

QSize TPicture::Size() const {
    switch (kind_) {
    case Kind::Bitmap:
        return bitmap_.Handle().size();
    case Kind::Metafile:
        return metafile_.Size();
    case Kind::None:
        break;
    }
    return {};
}

void TPicture::Changed() {
    if (OnChange)
        OnChange();
}

} // namespace controls
