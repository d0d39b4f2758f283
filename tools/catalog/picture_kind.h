// SPDX-License-Identifier: MIT
#pragma once

#include <QByteArray>
#include <QString>

namespace catalog {

/// Whether a file's bytes are something the catalogue's image view shows, judged by content
/// the way the view detects a blob (not by the file's extension): a picture the imaging
/// engine reads, a metafile, a credit message, a drawing, rich text, or nothing at all (a
/// record without a picture). Empty when accepted, else what is wrong.
QString PictureProblem(const QByteArray& bytes);

} // namespace catalog
