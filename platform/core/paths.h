// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

/// "/" and "\" both separate path components.
bool IsPathSeparator(QChar c);

/// True for "/", and for a drive root such as "C:\" or "C:/": paths that are never shortened.
bool IsPathRoot(const QString& path);

/// Everything up to and including the last separator or drive colon ("" when there is none).
QString ExtractFilePath(const QString& path);

/// What follows the last separator or drive colon.
QString ExtractFileName(const QString& path);

/// The extension of the file name, from its last "." (with the dot); "" when it has none.
QString ExtractFileExt(const QString& path);

/// The path with the extension of its file name replaced by ext (which carries its dot).
QString ChangeFileExt(const QString& path, const QString& ext);

/// The path with a "/" at the end unless it already ends in a separator; "" stays "".
QString IncludeTrailingPathDelimiter(const QString& path);

/// dir and name joined with exactly one separator between them.
QString JoinPath(const QString& dir, const QString& name);

/// The process's current directory.
QString GetCurrentDir();

/// Makes dir the process's current directory; false when the system refuses.
bool SetCurrentDir(const QString& dir);

/// The real path of the running executable (links resolved), or "" when it cannot be read.
QString ExecutablePath();

} // namespace platform
