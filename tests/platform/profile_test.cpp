// SPDX-License-Identifier: MIT
#include "platform/core/profile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using platform::GetPrivateProfileString;
using platform::TIniFile;

namespace {

class ProfileTest : public ::testing::Test {
protected:
    QString Write(const QByteArray& content) {
        const QString path = dir.filePath("test.ini");
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(content);
        return path;
    }
    QTemporaryDir dir;
};

TEST_F(ProfileTest, MissingFileSectionOrKeyGivesTheDefault) {
    const TIniFile missing(dir.filePath("none.ini"));
    EXPECT_EQ(missing.ReadString("Config", "Title", "Vellamore"), "Vellamore");

    const TIniFile ini(Write("[Other]\nTitle=Wrong\n[Config]\nQuantity=5\n"));
    EXPECT_EQ(ini.ReadString("Config", "Title", "Vellamore"), "Vellamore");
    EXPECT_EQ(ini.ReadString("Missing", "Quantity", "d"), "d");
    // The default loses its trailing blanks, as the classic reader does.
    EXPECT_EQ(ini.ReadString("Config", "Title", "Dflt  "), "Dflt");
}

TEST_F(ProfileTest, PresentButEmptyValueIsEmptyNotDefault) {
    const TIniFile ini(Write("[Config]\nDataPath=\nLine1=   \n"));
    EXPECT_EQ(ini.ReadString("Config", "DataPath", "/program/"), "");
    EXPECT_EQ(ini.ReadString("Config", "Line1", "x"), "");
}

TEST_F(ProfileTest, MatchingIgnoresCaseAndBlanksAndStripsOnePairOfQuotes) {
    const TIniFile ini(Write("\xEF\xBB\xBF; comment\r\n  [ config ]  \r\n"
                             "  title  =  My Title  \r\n"
                             "Quoted=\"  spaced  \"\r\n"
                             "Single='a'\r\n"
                             "Mixed=\"a'\r\n"
                             ";Line1=commented\r\n"
                             "Line1=first\r\nLine1=second\r\n"
                             "Eq=a=b\r\n"));
    EXPECT_EQ(ini.ReadString("CONFIG", "Title", ""), "My Title");
    EXPECT_EQ(ini.ReadString("Config", "quoted", ""), "  spaced  ");
    EXPECT_EQ(ini.ReadString("Config", "Single", ""), "a");
    EXPECT_EQ(ini.ReadString("Config", "Mixed", ""), "\"a'");
    EXPECT_EQ(ini.ReadString("Config", "Line1", ""), "first");
    EXPECT_EQ(ini.ReadString("Config", "Eq", ""), "a=b");
}

TEST_F(ProfileTest, ValuesAreCutToTheBuffer) {
    const QByteArray longValue(3000, 'x');
    const TIniFile ini(Write("[Config]\nTitle=" + longValue + "\n"));
    EXPECT_EQ(ini.ReadString("Config", "Title", "").size(), 2047);
    EXPECT_EQ(GetPrivateProfileString("Config", "Title", "", 10, ini.FileName()), "xxxxxxxxx");
    EXPECT_EQ(GetPrivateProfileString("Config", "Title", "", 0, ini.FileName()), "");
    // A long default is cut the same way.
    EXPECT_EQ(
        GetPrivateProfileString("Config", "None", QString(5000, 'd'), 2048, ini.FileName()).size(),
        2047);
    // A value of exactly 2047 characters survives whole.
    const TIniFile exact(Write("[Config]\nTitle=" + QByteArray(2047, 'y') + "\n"));
    EXPECT_EQ(exact.ReadString("Config", "Title", ""), QString(2047, 'y'));
}

TEST_F(ProfileTest, NonAsciiTextIsRead) {
    const TIniFile ini(Write("[Config]\nLine1=Caf\xC3\xA9 \xE2\x80\x93 Fr\xC3\xBChling\n"));
    EXPECT_EQ(ini.ReadString("Config", "Line1", ""), QString::fromUtf8("Café – Frühling"));
}

} // namespace
