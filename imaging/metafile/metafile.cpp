// SPDX-License-Identifier: MIT
#include "imaging/metafile/metafile.h"

#include "imaging/metafile/metafile_player.h"

namespace imaging {

bool Metafile::Load(const QByteArray& bytes, int pixelsPerInch) {
    Clear();
    const MetafileKind kind = DetectMetafile(bytes);
    if (kind == MetafileKind::None)
        return false;
    bytes_ = bytes;
    kind_ = kind;
    size_ = MetafileSize(bytes, pixelsPerInch);
    return true;
}

void Metafile::Clear() {
    bytes_.clear();
    kind_ = MetafileKind::None;
    size_ = {};
}

bool Metafile::Play(QPainter& painter, const QRectF& target, QString* error) const {
    QString problem;
    bool ok = false;
    switch (kind_) {
    case MetafileKind::Placeable:
        ok = PlayWindowsMetafile(bytes_, painter, target, &problem);
        break;
    case MetafileKind::Enhanced:
        ok = PlayEnhancedMetafile(bytes_, painter, target, &problem);
        break;
    case MetafileKind::None:
        problem = QStringLiteral("No metafile");
        break;
    }
    if (error)
        *error = problem;
    return ok;
}

} // namespace imaging
