// SPDX-License-Identifier: MIT
#include "platform/core/paths.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace platform;

TEST(Paths, SplitsOnBothSeparatorsAndTheDriveColon) {
    EXPECT_EQ(ExtractFilePath("C:\\X\\abc.tif"), "C:\\X\\");
    EXPECT_EQ(ExtractFilePath("/usr/lib/vlmor"), "/usr/lib/");
    EXPECT_EQ(ExtractFilePath("a/b\\c"), "a/b\\");
    EXPECT_EQ(ExtractFilePath("C:abc"), "C:");
    EXPECT_EQ(ExtractFilePath("abc"), "");
    EXPECT_EQ(ExtractFileName("C:\\X\\abc.def.tif"), "abc.def.tif");
    EXPECT_EQ(ExtractFileName("/dir/"), "");
    EXPECT_EQ(ExtractFileExt("/a.b/c"), "");
    EXPECT_EQ(ExtractFileExt("/a/c.tar.gz"), ".gz");
    EXPECT_EQ(ExtractFileExt("/a/.hidden"), ".hidden");
}

TEST(Paths, ChangeFileExtTouchesOnlyTheFileName) {
    EXPECT_EQ(ChangeFileExt("/opt/v.1/vlmor", ".ini"), "/opt/v.1/vlmor.ini");
    EXPECT_EQ(ChangeFileExt("C:\\dir\\prog.exe", ".ini"), "C:\\dir\\prog.ini");
    EXPECT_EQ(ChangeFileExt("a.b.c", ""), "a.b");
}

TEST(Paths, RootsAndJoining) {
    EXPECT_TRUE(IsPathRoot("/"));
    EXPECT_TRUE(IsPathRoot("C:\\"));
    EXPECT_TRUE(IsPathRoot("d:/"));
    EXPECT_FALSE(IsPathRoot("/a"));
    EXPECT_FALSE(IsPathRoot("ab\\"));
    EXPECT_FALSE(IsPathRoot(""));
    EXPECT_EQ(IncludeTrailingPathDelimiter("/a"), "/a/");
    EXPECT_EQ(IncludeTrailingPathDelimiter("C:\\a\\"), "C:\\a\\");
    EXPECT_EQ(IncludeTrailingPathDelimiter(""), "");
    EXPECT_EQ(JoinPath("/a/", "/b"), "/a/b");
    EXPECT_EQ(JoinPath("/a", "b"), "/a/b");
    EXPECT_EQ(JoinPath("", "b"), "b");
}

TEST(Paths, CurrentDirectoryCanBeSetAndRead) {
    const QString before = GetCurrentDir();
    QTemporaryDir dir;
    ASSERT_TRUE(SetCurrentDir(dir.path()));
    EXPECT_EQ(QFileInfo(GetCurrentDir()).canonicalFilePath(),
              QFileInfo(dir.path()).canonicalFilePath());
    EXPECT_FALSE(SetCurrentDir(dir.filePath("does-not-exist")));
    EXPECT_FALSE(SetCurrentDir(""));
    ASSERT_TRUE(SetCurrentDir(before));
}

TEST(Paths, ExecutablePathIsTheRealPathOfThisProcess) {
    EXPECT_EQ(ExecutablePath(),
              QFileInfo(QCoreApplication::applicationFilePath()).canonicalFilePath());
}
