// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

/// Reads one value of a private profile (INI) file the way the classic reader does:
/// sections and keys match ignoring case, blanks around keys and values are dropped,
/// one pair of matching quotes around a value is removed, and the result is cut to
/// bufferSize - 1 characters. A key present with an empty value gives the empty string;
/// only a missing file, section or key gives the default (without its trailing blanks).
QString GetPrivateProfileString(const QString& section, const QString& key,
                                const QString& defaultValue, int bufferSize,
                                const QString& fileName);

/// Sets one value in a profile file, creating the file, the section or the key as needed;
/// other lines are kept as they stand. A bare file name lives in WindowsDirectory().
/// Returns false when the file cannot be written.
bool WritePrivateProfileString(const QString& section, const QString& key, const QString& value,
                               const QString& fileName);

/// Where a bare profile file name is kept: the Windows folder of the classic platform.
QString ProfileFilePath(const QString& fileName);

/// A profile file reader bound to one file name; reads through a 2048-byte buffer,
/// so a value holds at most 2047 characters.
class TIniFile {
public:
    static constexpr int BufferSize = 2048;

    explicit TIniFile(QString fileName);
    const QString& FileName() const { return fileName_; }
    QString ReadString(const QString& section, const QString& ident,
                       const QString& defaultValue) const;

private:
    QString fileName_;
};

} // namespace platform
