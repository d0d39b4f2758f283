// SPDX-License-Identifier: MIT
#include "imaging/export/export_naming.h"

#include <QFileInfo>

namespace imaging {

QString ExportNaming::Stem(const QString& recordFileName, int recordNumber) {
    QString name = recordFileName.trimmed();
    for (QChar& c : name)
        if (c == u'/' || c == u'\\' || c.unicode() < 0x20 || c.unicode() == 0x7F)
            c = u'_';
    QString stem = QFileInfo(name).completeBaseName();
    if (stem.isEmpty()) // ".BMP" has no base name: the whole name is kept
        stem = name;
    if (stem.isEmpty() || stem == QStringLiteral(".") || stem == QStringLiteral(".."))
        return QStringLiteral("record-%1").arg(recordNumber);
    return stem;
}

QString ExportNaming::Take(const QString& stem, const QString& extension) {
    const QString suffix = extension.isEmpty() ? QString() : u'.' + extension.toLower();
    QString name = stem + suffix;
    for (int n = 2; taken_.contains(name.toLower()); ++n)
        name = stem + u'-' + QString::number(n) + suffix;
    taken_.insert(name.toLower());
    return name;
}

} // namespace imaging
