// SPDX-License-Identifier: MIT
// The side file: committed, it replaces its target in one step (a link stays a link); committed
// as new, a file that came meanwhile is left as it was; not committed, it leaves nothing.
#include "platform/core/side_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray Read(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void Write(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

TEST(SideFile, ReplacesInOneStepOrLeavesANewcomerAndNeverLeavesItselfBehind) {
    QTemporaryDir dir;
    const QString target = dir.filePath("ROSE.png");
    const QDir folder(dir.path());
    {
        platform::SideFile side(target);
        ASSERT_FALSE(side.Path().isEmpty());
        EXPECT_NE(side.Path(), platform::SideFile(target).Path()) << "each its own name";
        Write(side.Path(), "first");
        EXPECT_EQ(side.CommitNew(), platform::SideFile::Outcome::Done);
    }
    EXPECT_EQ(Read(target), "first");
    {
        platform::SideFile side(target);
        Write(side.Path(), "second");
        EXPECT_EQ(side.CommitNew(), platform::SideFile::Outcome::Exists);
    }
    EXPECT_EQ(Read(target), "first") << "a file that is there is kept";
    {
        platform::SideFile side(target);
        Write(side.Path(), "third");
        EXPECT_TRUE(side.Commit());
    }
    EXPECT_EQ(Read(target), "third");
    { platform::SideFile abandoned(target); } // a failed writer's side file goes
    EXPECT_EQ(folder.entryList(QDir::Files | QDir::Hidden), QStringList{"ROSE.png"});

    // Through a link: the file it names is replaced, the link stays.
    const QString link = dir.filePath("link.png");
    ASSERT_TRUE(QFile::link(target, link));
    {
        platform::SideFile side(link);
        Write(side.Path(), "fourth");
        EXPECT_TRUE(side.Commit());
    }
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Read(target), "fourth");
}

} // namespace
