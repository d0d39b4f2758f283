// SPDX-License-Identifier: MIT
#pragma once

#include <QImage>
#include <QSize>
#include <QString>

namespace controls {

/// What the open dialog shows of a file: its picture decoded as the image view decodes it (the
/// page of a TIFF, counted from 0; a metafile drawn), fitted into the box; null when the file
/// holds no picture the view shows. Also the page count (1 for anything but a TIFF).
struct FilePreview {
    QImage picture;
    int pages = 1;
};
FilePreview PreviewFile(const QString& file, int page, QSize box);

} // namespace controls
