// SPDX-License-Identifier: MIT
#pragma once

#include <QString>

namespace platform {

/// A file written beside its target and moved over it once it is whole, so a failing writer
/// leaves an existing file as it was; removed when it is not committed. It has a name of its
/// own (two writers into one folder never share one). A replaced file keeps its permissions,
/// and a symbolic link stays a link: the file it names is replaced.
class SideFile {
public:
    explicit SideFile(const QString& target);
    ~SideFile();
    SideFile(const SideFile&) = delete;
    SideFile& operator=(const SideFile&) = delete;

    /// Empty when no file can be made in the target's folder.
    const QString& Path() const { return path_; }
    /// Starts from the target's bytes, for a writer that appends.
    bool CopyTarget();

    enum class Outcome { Done, Exists, Failed };
    /// The written file takes the target's name, replacing it in one step.
    bool Commit();
    /// The same, unless the target exists by then: it is left as it is (Exists).
    Outcome CommitNew();

private:
    QString target_;
    QString path_;
};

} // namespace platform
