// SPDX-License-Identifier: MIT
#include "app/config.h"
#include "app/process_values.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class ConfigTest : public ::testing::Test {
protected:
    QString Program() const { return dir.filePath("vlmor"); }
    void WriteIni(const QByteArray& content) {
        QFile file(dir.filePath("vlmor.ini"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
    }
    QTemporaryDir dir;
};

TEST_F(ConfigTest, IniFileIsNamedAfterTheProgram) {
    EXPECT_EQ(IniFileNameFor("/opt/vellamore/vlmor"), "/opt/vellamore/vlmor.ini");
    EXPECT_EQ(IniFileNameFor("X:\\dir\\prog.exe"), "X:\\dir\\prog.ini");
}

TEST_F(ConfigTest, WithoutAnIniFileEveryDefaultApplies) {
    const Config c = ReadConfig(Program());
    EXPECT_EQ(c.TitleText, "Vellamore");
    EXPECT_EQ(c.QuantityText, "");
    EXPECT_EQ(c.Line1Text, "");
    EXPECT_EQ(c.Line2Text, "");
    EXPECT_EQ(c.DataPath, dir.path() + "/"); // the program's directory with its separator
}

TEST_F(ConfigTest, KeysAreReadAndAnEmptyDataPathStaysEmpty) {
    WriteIni("[Config]\nDataPath=\nTitle=Gold Edition\nQuantity=12,000 Pictures\n"
             "Line1=Line one\nLine2=Line two\n");
    const Config c = ReadConfig(Program());
    EXPECT_EQ(c.DataPath, "");
    EXPECT_EQ(c.TitleText, "Gold Edition");
    EXPECT_EQ(c.QuantityText, "12,000 Pictures");
    EXPECT_EQ(c.Line1Text, "Line one");
    EXPECT_EQ(c.Line2Text, "Line two");
}

TEST_F(ConfigTest, AnotherSectionOrAnEmptyTitleDoesNotCount) {
    WriteIni("[Other]\nTitle=Wrong\n[Config]\nTitle=\nLine1=" + QByteArray(2100, 'L') + "\n");
    const Config c = ReadConfig(Program());
    EXPECT_EQ(c.TitleText, ""); // present but empty: the empty string, not the default
    EXPECT_EQ(c.Line1Text.size(), 2047);
    EXPECT_EQ(c.DataPath, dir.path() + "/");
}

TEST_F(ConfigTest, ProcessValuesComeFromTheProgramPath) {
    const QString before = QDir::currentPath();
    ASSERT_TRUE(InitProcessValues(Program()));
    EXPECT_EQ(Process().ProgramPath, Program());
    EXPECT_EQ(Process().ProgramDir, dir.path());
    EXPECT_EQ(Process().ProgramDrive, "/");
    EXPECT_EQ(QDir::currentPath(), QDir(dir.path()).canonicalPath());
    // A directory that cannot be entered ends start-up.
    EXPECT_FALSE(InitProcessValues(dir.filePath("gone/vlmor")));
    QDir::setCurrent(before);
}

} // namespace
