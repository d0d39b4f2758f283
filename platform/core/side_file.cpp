// SPDX-License-Identifier: MIT
#include "platform/core/side_file.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cerrno>
#include <cstdio>
#include <fcntl.h>

namespace platform {

namespace {

// The file a name stands for: a symbolic link is followed to the file it names (through a
// chain of links, at most 40), so replacing the file keeps the link.
QString FileBehind(const QString& name) {
    QString path = QFileInfo(name).absoluteFilePath();
    for (int hops = 0; hops < 40; ++hops) {
        const QFileInfo info(path);
        if (!info.isSymLink())
            break;
        const QString to = info.symLinkTarget();
        if (to.isEmpty())
            break;
        path = QFileInfo(to).absoluteFilePath();
    }
    return path;
}

} // namespace

SideFile::SideFile(const QString& target)
    : target_(FileBehind(target)) {
    QTemporaryFile file(QFileInfo(target_).absolutePath() + QStringLiteral("/.") +
                        QFileInfo(target_).fileName() + QStringLiteral(".XXXXXX"));
    file.setAutoRemove(false);
    if (file.open()) {
        path_ = file.fileName();
        file.close();
    }
}

SideFile::~SideFile() {
    if (!path_.isEmpty())
        QFile::remove(path_);
}

bool SideFile::CopyTarget() {
    if (!QFile::exists(target_))
        return true; // nothing to append to: the writer starts a new file
    QFile::remove(path_);
    return QFile::copy(target_, path_);
}

bool SideFile::Commit() {
    if (QFile::exists(target_))
        QFile::setPermissions(path_, QFile::permissions(target_));
    else
        QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                         QFile::ReadOther);
    if (std::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target_).constData()) !=
        0)
        return false;
    path_.clear();
    return true;
}

SideFile::Outcome SideFile::CommitNew() {
    QFile::setPermissions(path_, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup |
                                     QFile::ReadOther);
    // One step that fails when the name is taken: a file that came meanwhile is kept.
    if (renameat2(AT_FDCWD, QFile::encodeName(path_).constData(), AT_FDCWD,
                  QFile::encodeName(target_).constData(), RENAME_NOREPLACE) == 0) {
        path_.clear();
        return Outcome::Done;
    }
    return errno == EEXIST ? Outcome::Exists : Outcome::Failed;
}

} // namespace platform
