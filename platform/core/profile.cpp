// SPDX-License-Identifier: MIT
#include "platform/core/profile.h"

#include "platform/core/paths.h"
#include "platform/core/system_folders.h"

#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QStringList>
#include <optional>

namespace platform {

namespace {

// Larger profile files are not read; the classic reader gives up on them as well.
constexpr qint64 MaxProfileBytes = 16 * 1024 * 1024;

QString TrimTrailingBlanks(QString text) {
    qsizetype end = text.size();
    while (end > 0 && (text[end - 1] == u' ' || text[end - 1] == u'\t'))
        --end;
    text.truncate(end);
    return text;
}

QString StripQuotes(const QString& value) {
    if (value.size() >= 2) {
        const QChar first = value.front();
        if ((first == u'"' || first == u'\'') && value.back() == first)
            return value.mid(1, value.size() - 2);
    }
    return value;
}

std::optional<QString> FindValue(const QString& text, const QString& section, const QString& key) {
    bool inSection = false;
    const QStringList lines = text.split(u'\n');
    for (const QString& raw : lines) {
        const QString line = raw.trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            inSection = name.compare(section, Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!inSection || line.startsWith(u';'))
            continue;
        const qsizetype eq = line.indexOf(u'=');
        if (eq < 0)
            continue;
        if (line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0)
            return StripQuotes(line.mid(eq + 1).trimmed());
    }
    return std::nullopt;
}

} // namespace

QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, int bufferSize,
                                const QString& fileName) {
    if (bufferSize <= 0)
        return {};
    QString result = TrimTrailingBlanks(defaultValue);
    QFile file(fileName);
    if (file.open(QIODevice::ReadOnly) && file.size() <= MaxProfileBytes) {
        QByteArray bytes = file.readAll();
        if (bytes.startsWith("\xEF\xBB\xBF"))
            bytes.remove(0, 3);
        if (auto found = FindValue(QString::fromUtf8(bytes), section, key))
            result = *found;
    }
    if (result.size() > bufferSize - 1)
        result.truncate(bufferSize - 1);
    return result;
}

QString ProfileFilePath(const QString& fileName) {
    for (QChar c : fileName)
        if (IsPathSeparator(c))
            return fileName;
    return JoinPath(WindowsDirectory(), fileName);
}

bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& fileName) {
    const QString path = ProfileFilePath(fileName);
    QStringList lines;
    QFile in(path);
    if (in.open(QIODevice::ReadOnly) && in.size() <= MaxProfileBytes)
        lines = QString::fromUtf8(in.readAll()).split(u'\n');
    in.close();
    while (!lines.isEmpty() && lines.back().trimmed().isEmpty())
        lines.removeLast();
    qsizetype sectionAt = -1, insertAt = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString line = lines[i].trimmed();
        if (line.startsWith(u'[')) {
            const qsizetype close = line.indexOf(u']');
            const QString name = (close < 0 ? line.mid(1) : line.mid(1, close - 1)).trimmed();
            if (sectionAt >= 0 && insertAt < 0)
                insertAt = i;
            if (name.compare(section, Qt::CaseInsensitive) == 0)
                sectionAt = i;
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (sectionAt >= 0 && insertAt < 0 && eq >= 0 &&
            line.left(eq).trimmed().compare(key, Qt::CaseInsensitive) == 0) {
            lines[i] = key + u'=' + value;
            insertAt = -2; // replaced
            break;
        }
    }
    if (sectionAt < 0) {
        lines << (u'[' + section + u']') << (key + u'=' + value);
    } else if (insertAt != -2) {
        lines.insert(insertAt < 0 ? lines.size() : insertAt, key + u'=' + value);
    }
    QDir().mkpath(ExtractFilePath(path));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly))
        return false;
    out.write((lines.join(u'\n') + u'\n').toUtf8());
    return out.commit();
}

TIniFile::TIniFile(QString fileName)
    : fileName_(std::move(fileName)) {}

QString TIniFile::ReadString(const QString& section, const QString& ident,
                             const QString& defaultValue) const {
    return GetPrivateProfileString(section, ident, defaultValue, BufferSize, fileName_);
}

} // namespace platform
