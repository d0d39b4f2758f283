// SPDX-License-Identifier: MIT
#include "app/util.h"

#include "platform/core/paths.h"

QString FileNameNoExt(const QString& path) {
    const QString name = platform::ExtractFileName(path);
    const QString ext = platform::ExtractFileExt(name);
    return name.left(name.size() - ext.size());
}

QString StripTrailingBackslash(const QString& path) {
    if (path.isEmpty() || !platform::IsPathSeparator(path.back()) || platform::IsPathRoot(path))
        return path;
    // An absolute POSIX path has the single-character root "/" only; elsewhere the
    // three-character limit protects a drive root such as "C:\".
    const bool posixAbsolute = path.front() == u'/';
    if (!posixAbsolute && path.size() <= 3)
        return path;
    return path.left(path.size() - 1);
}

std::int32_t MaxOfArray(const std::int32_t* values, std::uint16_t count) {
    std::int32_t best = values[0];
    for (std::uint32_t i = 1; i <= count; ++i) {
        if (values[i] > best)
            best = values[i];
    }
    return best;
}
