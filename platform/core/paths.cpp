// SPDX-License-Identifier: MIT
#include "platform/core/paths.h"

#include <climits>
#include <cstdlib>
#include <unistd.h>
#include <vector>

namespace platform {

namespace {
// Index of the last separator or drive colon, or -1.
qsizetype LastDelimiter(const QString& path) {
    for (qsizetype i = path.size() - 1; i >= 0; --i) {
        if (IsPathSeparator(path[i]) || path[i] == u':')
            return i;
    }
    return -1;
}
} // namespace

bool IsPathSeparator(QChar c) {
    return c == u'/' || c == u'\\';
}

bool IsPathRoot(const QString& path) {
    if (path.size() == 1)
        return IsPathSeparator(path[0]);
    return path.size() == 3 && path[0].isLetter() && path[1] == u':' && IsPathSeparator(path[2]);
}

QString ExtractFilePath(const QString& path) {
    return path.left(LastDelimiter(path) + 1);
}

QString ExtractFileName(const QString& path) {
    return path.mid(LastDelimiter(path) + 1);
}

QString ExtractFileExt(const QString& path) {
    const QString name = ExtractFileName(path);
    const qsizetype dot = name.lastIndexOf(u'.');
    return dot < 0 ? QString() : name.mid(dot);
}

QString ChangeFileExt(const QString& path, const QString& ext) {
    const QString oldExt = ExtractFileExt(path);
    return path.left(path.size() - oldExt.size()) + ext;
}

QString IncludeTrailingPathDelimiter(const QString& path) {
    if (path.isEmpty() || IsPathSeparator(path.back()))
        return path;
    return path + u'/';
}

QString JoinPath(const QString& dir, const QString& name) {
    if (dir.isEmpty())
        return name;
    QString head = IncludeTrailingPathDelimiter(dir);
    qsizetype skip = 0;
    while (skip < name.size() && IsPathSeparator(name[skip]))
        ++skip;
    return head + name.mid(skip);
}

QString GetCurrentDir() {
    std::vector<char> buffer(PATH_MAX + 1);
    if (!getcwd(buffer.data(), buffer.size()))
        return {};
    return QString::fromLocal8Bit(buffer.data());
}

bool SetCurrentDir(const QString& dir) {
    if (dir.isEmpty())
        return false;
    return chdir(dir.toLocal8Bit().constData()) == 0;
}

QString ExecutablePath() {
    char* real = realpath("/proc/self/exe", nullptr);
    if (!real)
        return {};
    QString result = QString::fromLocal8Bit(real);
    std::free(real);
    return result;
}

} // namespace platform
