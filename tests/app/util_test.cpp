// SPDX-License-Identifier: MIT
#include "app/util.h"

#include <gtest/gtest.h>

TEST(Util, FileNameNoExt) {
    EXPECT_EQ(FileNameNoExt("C:\\X\\abc.def.tif"), "abc.def");
    EXPECT_EQ(FileNameNoExt("abc"), "abc");
    EXPECT_EQ(FileNameNoExt("/home/u/pics/STAR01.BMP"), "STAR01");
    EXPECT_EQ(FileNameNoExt("C:pic.pcx"), "pic");
    EXPECT_EQ(FileNameNoExt("/dir.x/name"), "name"); // a dot in the directory is no extension
    EXPECT_EQ(FileNameNoExt("a.b/"), "");
    EXPECT_EQ(FileNameNoExt(".profile"), "");
    EXPECT_EQ(FileNameNoExt(""), "");
    const QString arg = "keep.me";
    FileNameNoExt(arg);
    EXPECT_EQ(arg, "keep.me");
}

TEST(Util, StripTrailingBackslashKeepsRoots) {
    EXPECT_EQ(StripTrailingBackslash("C:\\"), "C:\\");
    EXPECT_EQ(StripTrailingBackslash("C:\\A\\"), "C:\\A");
    EXPECT_EQ(StripTrailingBackslash("C:\\DATA\\"), "C:\\DATA");
    EXPECT_EQ(StripTrailingBackslash("C:\\A\\\\"), "C:\\A\\"); // only one goes
    EXPECT_EQ(StripTrailingBackslash(""), "");
    EXPECT_EQ(StripTrailingBackslash("C:\\A"), "C:\\A");
    EXPECT_EQ(StripTrailingBackslash("ab\\"), "ab\\"); // three characters stay
    EXPECT_EQ(StripTrailingBackslash("/"), "/");
    EXPECT_EQ(StripTrailingBackslash("/a/"), "/a"); // a POSIX root is just "/"
    EXPECT_EQ(StripTrailingBackslash("/usr/lib/vellamore/"), "/usr/lib/vellamore");
    EXPECT_EQ(StripTrailingBackslash("data/"), "data");
}

TEST(Util, MaxOfArrayLooksAtCountPlusOneSignedValues) {
    const std::int32_t single[] = {7};
    EXPECT_EQ(MaxOfArray(single, 0), 7);
    const std::int32_t negatives[] = {-5, -3, -9};
    EXPECT_EQ(MaxOfArray(negatives, 2), -3);
    const std::int32_t mixed[] = {1, 2, 1000, INT32_MIN, INT32_MAX};
    EXPECT_EQ(MaxOfArray(mixed, 1), 2); // the values after count are not looked at
    EXPECT_EQ(MaxOfArray(mixed, 4), INT32_MAX);
    const std::int32_t allMin[] = {INT32_MIN, INT32_MIN};
    EXPECT_EQ(MaxOfArray(allMin, 1), INT32_MIN);
}
